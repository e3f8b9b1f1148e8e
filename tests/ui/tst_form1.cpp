// The main window: start-up with and without setup.ini, the Calculate command
// typed and entered as a user would, the four trade fields while the user
// edits them, the exit sequence, the minimise rule, the notification icon and the about box.

#include "fake_platform.h"

#include "calc/money.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "ui/form1.h"
#include "ui/frm_about.h"
#include "ui/stock_panel.h"
#include "ui/text_colours.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

const QString RateFields = QStringLiteral("buy_BrokerageRatio buy_MinBrokerageRatio TransferMoney MinTransferMoney StampDuty MinStampDuty");

struct FakeProgramStarter final : ProgramStarter
{
    QStringList started;
    QString startable; // the one program that starts
    bool start(const QString &name, const QStringList &) override { return started.append(name), name == startable; }
};

} // namespace

class Form1Test : public QObject, WindowFixture
{
    Q_OBJECT

    // The texts of the fields named, found by their object names.
    QStringList texts(const QString &names) const
    {
        QStringList found;
        for (const QString &name : names.split(u' '))
            found.append(form->findChild<QLineEdit *>(name)->text());
        return found;
    }
    // Each field clicked and typed into, Tab between them and Enter at the end.
    void typeTrade(const QString &buyPrice, const QString &quantity, const QString &sellPrice)
    {
        for (const auto &[field, text] :
             {std::pair{ui().buy_Price, buyPrice}, {ui().buy_Number, quantity}, {ui().sell_Price, sellPrice}}) {
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClicks(field, text);
            QTest::keyClick(field, field == ui().sell_Price ? Qt::Key_Return : Qt::Key_Tab);
        }
    }

private slots:
    void init() { reset(); }

    // The fresh window, the keyboard, assistive names and the about box on it; then the saved settings,
    // where the window goes and what minimising does.
    void startsWithDefaultsOrTheSavedSettingsPlacedAndMinimised()
    {
        start();
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvane Ver1.5 - 散户炒股必备软件"));
        QVERIFY(form->minimumSize() == form->maximumSize() && !(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(texts(RateFields + " buy_OtherMoney sell_OtherMoney buy_Price buy_Number sell_Price sell_Number "
                                    "sell_Yield buy_TotalMoney buy_BreakEven sell_ReceivedMoney sell_ProfitAndLoss"),
                 (QStringList{"3.00", "5.00", "0.01", "0.00", "0.50", "0.00", "0.00", "0.00", "￥0.00", "0", "￥0.00",
                              "0", "0.00", "￥0.00", "￥0.00", "￥0.00", "￥0.00"}));
        QVERIFY(ui().Check1->isChecked() && ui().Check2->isChecked() && ui().Check3->isChecked() &&
                ui().TransferByAmount->isChecked() && ui().StockList->isHidden() && ui().btn_Sum->isDefault());
        // The icon carries the caption and the pop-up menu, which is not on the bar.
        QVERIFY(tray->present && tray->menu == ui().mnuControl && tray->tip == form->windowTitle());
        QVERIFY(!form->menuBar()->actions().contains(ui().mnuControl->menuAction()) &&
                !QFile::exists(path("setup.ini")));

        // Tab goes the program's order; 刷新 and the switches come after the fee rates.
        QStringList order;
        QWidget *w = ui().StockCode;
        for (int i = 0; i < 40 && !order.contains(w->objectName()); ++i) {
            if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && form->isAncestorOf(w))
                order.append(w->objectName());
            w = w->nextInFocusChain();
        }
        QCOMPARE(order.mid(0, 18).join(u' '),
                 QStringLiteral("StockCode btn_Sum buy_Price buy_Number sell_Price sell_Number buy_BrokerageRatio "
                                "buy_MinBrokerageRatio TransferMoney MinTransferMoney StampDuty MinStampDuty "
                                "buy_OtherMoney sell_OtherMoney Check1 Check2 Check3 TransferByAmount"));

        // Every menu entry has a letter, the texts shown stay as they were.
        QCOMPARE(ui().AboutMe->text(), QStringLiteral("关于“&Quorvane”"));
        ui().FileMenu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(ui().FileMenu));
        QTest::keyClick(ui().FileMenu, Qt::Key_R);
        QVERIFY(!ui().FileMenu->isVisible() && boxes->shown.size() == 1); // 使用现行费率 tells what it changed

        // Assistive technology reads each field, list and box by a name of its own that says what it is.
        auto name = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
        QStringList names;
        for (QWidget *field : form->findChildren<QWidget *>()) {
            if (qobject_cast<QLineEdit *>(field) || qobject_cast<QListWidget *>(field))
                names.append(name(field));
        }
        QVERIFY2(!names.contains(QString()) && names.removeDuplicates() == 0, qPrintable(names.join(u' ')));
        QCOMPARE((QStringList{name(ui().sell_TotalMoney), name(ui().MinStampDuty), name(ui().StockList),
                              name(ui().Label52)}),
                 (QStringList{"卖出交易金额", "印花税最低", "股票列表", "股票名称："}));
        ui().Label52->setText(QStringLiteral("浦发银行")); // the panel's values read as themselves
        QCOMPARE(name(ui().Label52), QStringLiteral("浦发银行"));

        // The about box, one at a time.
        ui().AboutMe->trigger();
        ui().AboutMe->trigger(); // brings the open one to the front
        FrmAbout *about = form->findChild<FrmAbout *>();
        QVERIFY(form->findChildren<FrmAbout *>().size() == 1 && about->isVisible() && !about->isModal());
        QVERIFY(about->lblTitle->text() == QStringLiteral("Quorvane  版本 1.5.389") &&
                about->Text3->text().endsWith(path("setup.ini")));
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(!form->findChild<FrmAbout *>());

        // The first system-information tool that starts, else the message.
        auto starter = std::make_shared<FakeProgramStarter>();
        FrmAbout alone(Platform{boxes, urls, starter, nullptr, tray, clipboard}, ProgramFolders());
        alone.cmdSysInfo->click();
        QCOMPARE(starter->started, QStringList({"kinfocenter", "gnome-control-center", "xfce4-about", "hardinfo2", "hardinfo"}));
        QCOMPARE(boxes->shown.mid(1), (QList<ShownBox>{{ShownBox::Plain, "Quorvane", "此时系统信息不可用"}}));
        starter->startable = QStringLiteral("gnome-control-center");
        alone.cmdSysInfo->click();
        QVERIFY(starter->started.size() == 5 + 2 && boxes->shown.size() == 2); // stops at the first that starts

        // Saved rates and settings, as the next start finds them.
        reset();
        WriteGbk(path("setup.ini"), QStringLiteral("[setup]\r\nbuy_BrokerageRatio=2.5\r\nbuy_MinBrokerageRatio=abc\r\n"
                                                   "sell_OtherMoney=  \r\nCheck1=0\r\nCheck2=1\r\n[monitoring]\r\n"
                                                   "IsActive=-1\r\nIsSumSamePrice=0\r\n"));
        WriteGbk(path("StockList.txt"), QStringLiteral("600000 浦发银行 PFYH\r\n000001 平安银行 PAYH\r\n"));
        start(false);
        // The entry fields are the window's own, never restored.
        QCOMPARE(texts("buy_BrokerageRatio buy_MinBrokerageRatio sell_OtherMoney buy_Price"),
                 (QStringList{"2.5", "abc", "0.00", "￥0.00"}));
        // Check3 and TransferByAmount: a file without the key.
        QVERIFY(!ui().Check1->isChecked() && ui().Check2->isChecked() && ui().Check3->isChecked() &&
                ui().TransferByAmount->isChecked());
        QVERIFY(ui().ActiveTimer->isActive() && ui().ActiveTimer->interval() == 1000);
        QCOMPARE(form->stockListTable.search({}), (QStringList{"600000 浦发银行", "000001 平安银行"}));

        // Centred where it fits; where it does not, from the area's edge (the title bar stays on screen).
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(0, 0, 1366, 728)), QPoint(303, 94));
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(0, 30, 911, 482)), QPoint(75, 30));
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(100, 20, 683, 364)), QPoint(100, 20));
        // Minimised, hidden with HideTaskbar 1 and a tray; 0: on the taskbar; 1 without a tray: never hidden.
        for (const auto &[flag, hasTray, hidden] :
             {std::tuple{"1", true, true}, {"0", true, false}, {"1", false, false}}) {
            reset();
            WriteGbk(path("setup.ini"), QStringLiteral("[monitoring]\r\nHideTaskbar=%1\r\n").arg(QLatin1String(flag)));
            tray->hasTray = hasTray;
            start();
            form->showMinimized();
            QCoreApplication::processEvents();
            QVERIFY(form->isHidden() == hidden && form->isMinimized());
            // A left press on the icon (or the menu's "显示主界面") brings it back in normal state.
            if (hasTray)
                tray->pressLeft();
            else
                ui().popShow->trigger();
            QVERIFY(form->isVisible() && !form->isMinimized());
        }
    }

    // The figures are the Calculate command's own test; here the wiring, and one figure of each trade.
    void workedExampleTypedAndEntered()
    {
        start();
        const QStringList rates{"3.00", "5.00", "1.00", "1.00", "1.00", "1.00"}; // stated, whatever a fresh install has
        for (qsizetype i = 0; i < rates.size(); ++i)
            form->findChild<QLineEdit *>(RateFields.split(u' ')[i])->setText(rates[i]);
        ui().Check1->setChecked(false); // Shanghai off, Shenzhen on: "使用现行费率" names Shanghai
        ui().Check3->setChecked(false);
        ui().TransferByAmount->setChecked(false);
        ui().Label52->setText(QStringLiteral("浦发银行"));
        ui().Label53->setText(QStringLiteral("深圳交易所"));
        ui().Label54->setText(QStringLiteral("000001"));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QCOMPARE(texts("buy_Price buy_Number sell_Number sell_ProfitAndLoss sell_Yield"),
                 (QStringList{"￥10.00", "1,000", "1,000", "￥924.00", "9.21"}));
        QCOMPARE(ui().Frame3->title(), QStringLiteral("卖出计算（持回价格：￥10.92）"));

        // An entry of the texts as shown: the panel's, and 11 as typed; a second calculation adds a second.
        const QString log = QString(QStringDecoder("GBK").decode(ReadBytes(path("Log.txt"))));
        QVERIFY(log.split(QStringLiteral("\r\n")).value(3).startsWith(
            QStringLiteral("  000001        浦发银行") + QString(14, u' ') + "11" + QString(11, u' ') + "1,000"));
        QTest::keyClick(ui().sell_Price, Qt::Key_Enter);
        QCOMPARE(ReadBytes(path("Log.txt")).size(), 2 * 790);

        // A sell price of 0 refreshes the buy side only, and logs nothing.
        QVERIFY(QFile::remove(path("Log.txt")));
        typeTrade(QStringLiteral("20"), QStringLiteral("500"), QStringLiteral("0"));
        QCOMPARE(texts("buy_TotalMoney buy_Cost sell_ProfitAndLoss"), (QStringList{"￥10,000.00", "￥20.06", "￥924.00"}));
        QVERIFY(!QFile::exists(path("Log.txt")));

        // Exactly zero in the normal text colour.
        ui().sell_Yield->setText(QStringLiteral("0.00"));
        QCOMPARE(ui().sell_Yield->palette().color(QPalette::Text),
                 QApplication::palette(ui().sell_Yield).color(QPalette::Text));

        // Today's rates from the menu, with a commission of 0.25‰: the trade of 2026.
        QVERIFY(ui().TransferByAmount->toolTip().startsWith(QStringLiteral("未勾选")));
        ui().buy_BrokerageRatio->setText(QStringLiteral("0.25"));
        ui().StampDuty->setText(QStringLiteral("0.5")); // already today's, written shorter
        ui().CurrentRatesMenu->trigger();
        QCOMPARE(texts(RateFields), (QStringList{"0.25", "5.00", "0.01", "0.00", "0.5", "0.00"}));
        QVERIFY(ui().TransferByAmount->isChecked() && ui().Check1->isChecked() && ui().Check3->isChecked() &&
                ui().TransferByAmount->toolTip().startsWith(QStringLiteral("已勾选")));
        const QString told = boxes->shown.value(0).text; // what changed, and nothing about Shenzhen
        QCOMPARE(told.count(u'\n'), 7);
        QVERIFY(told.contains(QStringLiteral("沪市收取过户费")) && told.contains(QStringLiteral("京市收取过户费")));
        QVERIFY(!told.contains(QStringLiteral("深市")) && !told.contains(QStringLiteral("印花税：")));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QCOMPARE(ui().sell_ProfitAndLoss->text(), QStringLiteral("￥984.29"));

        // Exit saves the fee fields as they stand, and nothing else.
        ui().StampDuty->setText(QStringLiteral("letters"));
        QVERIFY(form->close());
        ClassIniFile ini;
        const FeeSettings saved = LoadFeeSettings(ini, path("setup.ini"));
        QCOMPARE((QStringList{saved.buy_BrokerageRatio, saved.StampDuty}), (QStringList{"0.25", "letters"}));
        QVERIFY(saved.Check1 == 1 && saved.Check2 == 1 && saved.TransferByAmount == 1);
        QVERIFY(!ReadBytes(path("setup.ini")).contains("[monitoring]"));
    }

    // The light scheme keeps the design's colours; under dark schemes every
    // text, coloured ones included, reads at 4.5:1 or better.
    void everyColouredTextReadsInLightAndDarkSchemes()
    {
        QCOMPARE(qRound(ContrastRatio(QColor(255, 0, 0), Qt::white) * 100), 400);
        const QPalette light = QApplication::palette();
        auto dark = [](QColor window, QColor base) {
            return QPalette(Qt::white, window, window.lighter(150), window.darker(150), window.darker(120), Qt::white,
                            Qt::white, base, window);
        };
        start();
        const auto colourTexts = [this](bool rise) {
            ui().sell_ProfitAndLoss->setText(rise ? QStringLiteral("￥12.00") : QStringLiteral("-￥12.00"));
            ui().sell_Yield->setText(rise ? QStringLiteral("1.20") : QStringLiteral("-1.20"));
            PanelWrite write{PanelWrite::Kind::Colour, QStringLiteral("Label55"), {},
                             rise ? QuoteColour::Rise : QuoteColour::Fall};
            ApplyPanelWrites(*form, {write});
            ui().StockList->addItem(QStringLiteral("600000 浦发银行"));
        };
        const auto text = [](const QWidget *w) {
            return w->palette().color(qobject_cast<const QLabel *>(w) ? QPalette::WindowText : QPalette::Text);
        };
        const auto background = [](const QWidget *w) {
            return w->palette().color(qobject_cast<const QLabel *>(w) ? QPalette::Window : QPalette::Base);
        };
        // Light: today's colours exactly.
        colourTexts(true);
        QCOMPARE((QList<QColor>{text(ui().sell_ProfitAndLoss), text(ui().Label55), text(ui().ladderLabel(64)),
                                text(ui().ladderLabel(69)), background(ui().buy_Price), background(ui().StampDuty)}),
                 (QList<QColor>{QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 0, 0), QColor(0, 128, 0),
                                QColor(255, 192, 128), QColor(255, 255, 128)}));
        colourTexts(false);
        QVERIFY(text(ui().sell_Yield) == QColor(0, 128, 0) && text(ui().Label55) == QColor(0, 192, 0));

        // Switched to dark schemes while running, then started under one.
        for (const QPalette &scheme : {dark(QColor(53, 53, 53), QColor(42, 42, 42)), dark(QColor(20, 20, 20), Qt::black),
                                       dark(QColor(49, 54, 59), QColor(35, 38, 41))}) {
            QApplication::setPalette(scheme);
            QCoreApplication::processEvents();
            for (int pass = 0; pass < 4; ++pass) {
                if (pass == 2)
                    start();
                colourTexts(pass % 2 == 0);
                for (QWidget *w : form->findChildren<QWidget *>()) {
                    if (!qobject_cast<QLabel *>(w) && !qobject_cast<QLineEdit *>(w) && !qobject_cast<QListWidget *>(w))
                        continue;
                    QVERIFY2(ContrastRatio(text(w), background(w)) >= 4.5,
                             qPrintable(w->objectName() + u' ' + text(w).name() + u' ' + background(w).name()));
                }
            }
        }
        QApplication::setPalette(light);
    }

    // The trade fields while edited: a click prepares, leaving tidies or warns once, and nine characters
    // may be typed or pasted (what fits of a paste is taken); the tidied 123,456,789 may only be shortened.
    // A rejected calculation puts the focus back; the exit asks; write failures are told once per file.
    void tradeFieldsWhileEditedRejectionsAndTheExit()
    {
        start();
        QTest::keyClick(ui().buy_Price, Qt::Key_Return); // as the window starts: no quantity
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Information, "提示", "抱歉，买入数量为0，请重新输入"}}));
        QCOMPARE(form->focusWidget(), ui().buy_Number);
        QVERIFY(ui().buy_TotalMoney->text() == QStringLiteral("￥0.00") && !QFile::exists(path("Log.txt")));

        // A click makes Calculate the default; in the buy quantity only once its text changes,
        // which the sell quantity mirrors keystroke by keystroke.
        form->setDefaultButton(ui().Command1);
        QTest::mouseClick(ui().buy_Number, Qt::LeftButton);
        QCOMPARE(form->defaultButton(), ui().Command1);
        QStringList seen;
        connect(ui().sell_Number, &QLineEdit::textChanged, this, [&](const QString &t) { seen.append(t); });
        QTest::keyClicks(ui().buy_Number, QStringLiteral("200"));
        QCOMPARE(seen, (QStringList{"2", "20", "200"}));
        QVERIFY(ui().btn_Sum->isDefault() && !ui().Command1->isDefault());
        for (QLineEdit *field : {ui().buy_Price, ui().sell_Price, ui().sell_Number}) {
            form->setDefaultButton(ui().Command1);
            QTest::mouseClick(field, Qt::LeftButton);
            QCOMPARE(form->defaultButton(), ui().btn_Sum);
        }
        // Not a number: the sell quantity stays; the sell quantity never goes back.
        ui().buy_Number->setText(QStringLiteral("2x"));
        ui().sell_Number->setText(QStringLiteral("100"));
        QCOMPARE(texts("buy_Number sell_Number"), (QStringList{"2x", "100"}));
        ui().buy_Number->setText(QStringLiteral("2")); // Tab from the buy price passes through it

        // It shows the bare number, selected.
        ui().buy_Price->setText(QStringLiteral("￥12.30"));
        QTest::mouseClick(ui().buy_Price, Qt::LeftButton);
        QCOMPARE(ui().buy_Price->selectedText(), QStringLiteral("12.30"));
        ui().sell_Price->setText(QStringLiteral(" ￥1,234.50 ")); // thousands lose their separators while edited
        QTest::mouseClick(ui().sell_Price, Qt::LeftButton);
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("1234.50"));
        // With some text selected, a click changes nothing.
        ui().sell_Number->setText(QStringLiteral("1,500"));
        ui().sell_Number->setSelection(0, 1);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), ui().sell_Number->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ui().sell_Number, &release);
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("1,500"));

        // Leaving tidies into the display form, or warns once and keeps a non-number, the focus
        // going where the user sent it; passing through with Tab changes nothing.
        const QList<std::tuple<QLineEdit *, QString, QString>> rows = {
            {ui().buy_Price, "12.30", "￥12.30"}, {ui().sell_Price, "1234.5", "￥1,234.50"},
            {ui().buy_Number, "1500.6", "1,501"}, {ui().sell_Number, "2.5", "3"},
            {ui().buy_Price, "￥1,000.00", "￥1,000.00"}, {ui().sell_Price, "", ""}, {ui().sell_Price, "abc", "abc"},
            {ui().sell_Price, "3‰", "3‰"}};
        for (const auto &[field, typed, shown] : rows) {
            boxes->shown.clear();
            field->setFocus();
            field->setText(typed);
            QTest::keyClick(field, Qt::Key_Tab);
            QCoreApplication::processEvents(); // the warning comes once the focus has moved
            QCOMPARE(field->text(), shown);
            QVERIFY2(boxes->shown.size() == (shown == typed && !IsNumberText(typed) ? 1 : 0), qPrintable(typed));
            QVERIFY(form->focusWidget() != field);
        }
        QCOMPARE(boxes->shown.value(0), (ShownBox{ShownBox::Information, "提示", "抱歉，请输入正确的数字"}));

        // The window losing the activation is no departure from the field; left for a
        // button, then on to another: one message.
        boxes->shown.clear();
        ui().buy_Price->setFocus();
        ui().buy_Price->setText(QStringLiteral("abc"));
        activateOther();
        activate();
        QCoreApplication::processEvents();
        QVERIFY(boxes->shown.isEmpty());
        ui().btn_Sum->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        ui().Command1->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(boxes->shown.size(), 1);

        // Typed or pasted, what fits is taken.
        QGuiApplication::clipboard()->setText(QStringLiteral("12345678901"));
        ui().buy_Price->setFocus();
        ui().buy_Price->selectAll();
        ui().buy_Price->paste();
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("1234567890"));
        ui().buy_Number->setFocus();
        ui().buy_Number->setText(QStringLiteral("1234567"));
        ui().buy_Number->setCursorPosition(3);
        QGuiApplication::clipboard()->setText(QStringLiteral("abcd"));
        ui().buy_Number->paste();
        QVERIFY(ui().buy_Number->text() == QStringLiteral("123ab4567") && ui().buy_Number->cursorPosition() == 5);

        ui().buy_Number->selectAll();
        QTest::keyClicks(ui().buy_Number, QStringLiteral("1234567890"));
        QTest::keyClick(ui().buy_Number, Qt::Key_Tab);
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,789"));
        ui().buy_Number->setFocus();
        QTest::keyClicks(ui().buy_Number, QStringLiteral("99"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,789"));
        QTest::keyClick(ui().buy_Number, Qt::Key_Backspace);
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,78"));

        // Enter in a field whose calculation is rejected: the message box takes the activation, and the
        // rejection's field may get the focus before or after the window is active again. Either way
        // the field the user left is checked and tidied once.
        const std::tuple<const char *, bool, const char *, const char *, int> rejections[] = {
            // buy_Price, back before the focus moves, sell_Price typed, its text then, boxes
            {"￥0.00", false, "12.5", "￥12.50", 1}, {"￥0.00", true, "12.5", "￥12.50", 1},
            {"x", false, "y", "y", 2}, {"x", true, "y", "y", 2}};
        for (const auto &[buyPrice, backFirst, typed, shown, boxCount] : rejections) {
            QTest::mouseClick(ui().sell_Price, Qt::LeftButton);
            QCoreApplication::processEvents(); // the warning about the field left before
            ui().buy_Price->setText(QString::fromUtf8(buyPrice)); // "x": the rejection blames it
            ui().buy_Number->setText(QStringLiteral("0"));
            boxes->shown.clear();
            boxes->whileShown = [this, backFirst = backFirst] {
                activateOther();
                if (backFirst)
                    activate();
            };
            QTest::keyClicks(ui().sell_Price, QString::fromLatin1(typed));
            QTest::keyClick(ui().sell_Price, Qt::Key_Return);
            activate();
            QCoreApplication::processEvents();
            QCOMPARE(ui().sell_Price->text(), QString::fromUtf8(shown));
            QCOMPARE(boxes->shown.size(), boxCount);
            QVERIFY(form->focusWidget() != ui().sell_Price);
        }

        // Write failures are told once per file. Cancel, from the close box and from both menu commands,
        // changes nothing: a save would tell its failure there.
        QSignalSpy ended(form.get(), &Form1::exitConfirmed);
        boxes->shown.clear();
        QVERIFY(QDir().mkdir(path("Log.txt")) && QDir().mkdir(path("setup.ini")));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QTest::keyClick(ui().sell_Price, Qt::Key_Enter); // the second entry is lost too, without a second box
        boxes->nextAnswers = QList<MessageBoxes::Answer>(3, MessageBoxes::Answer::Cancel);
        QVERIFY(!form->close());
        ui().ExitMenu->trigger();
        ui().popExit->trigger();
        QVERIFY(form->isVisible() && tray->present && ended.isEmpty());
        QVERIFY(form->close() && ended.size() == 1 && !tray->present);
        const ShownBox asked{ShownBox::Question, "退出提示", "真的要退出“Quorvane”吗？"};
        auto failed = [](const QString &file) {
            return ShownBox{ShownBox::Critical, "错误", "无法写入文件“" + file
                                                         + "”：已有同名的文件夹。\n本次运行中不再提示此文件的写入错误。"};
        };
        QCOMPARE(boxes->shown,
                 (QList<ShownBox>{failed(path("Log.txt")), asked, asked, asked, asked, failed(path("setup.ini"))}));
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
