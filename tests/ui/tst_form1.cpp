// The main window: start-up with and without setup.ini, the Calculate command
// typed and entered as a user would, the exit sequence, the minimise rule and
// the notification icon.

#include "fake_platform.h"

#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "ui/form1.h"
#include "ui/stock_panel.h"
#include "ui/text_colours.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
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

QColor TextColour(const QLineEdit *field) { return field->palette().color(QPalette::Text); }

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
    void cleanup() { form.reset(); }

    void startsWithDefaultsWithoutSetupIni()
    {
        start();
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvane Ver1.5 - 散户炒股必备软件"));
        QVERIFY(form->minimumSize() == form->maximumSize() && !(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(texts("buy_BrokerageRatio buy_MinBrokerageRatio TransferMoney MinTransferMoney StampDuty MinStampDuty "
                       "buy_OtherMoney sell_OtherMoney buy_Price buy_Number sell_Price sell_Number sell_Yield "
                       "buy_TotalMoney buy_BreakEven sell_ReceivedMoney sell_ProfitAndLoss"),
                 (QStringList{"3.00", "5.00", "0.01", "0.00", "0.50", "0.00", "0.00", "0.00", "￥0.00", "0", "￥0.00",
                              "0", "0.00", "￥0.00", "￥0.00", "￥0.00", "￥0.00"}));
        QVERIFY(ui().Check1->isChecked() && ui().Check2->isChecked() && ui().Check3->isChecked() &&
                ui().TransferByAmount->isChecked() && ui().StockList->isHidden() && ui().btn_Sum->isDefault());
        // The icon carries the caption and the pop-up menu, which is not on the bar.
        QVERIFY(tray->present && tray->menu == ui().mnuControl);
        QCOMPARE(tray->tip, form->windowTitle());
        QVERIFY(!form->menuBar()->actions().contains(ui().mnuControl->menuAction()));
        QVERIFY(!QFile::exists(path("setup.ini")));
    }

    void startsWithTheSavedRatesAndSettings()
    {
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
    }

    // The figures are the Calculate command's own test; here the wiring, and one figure of each trade.
    void workedExampleTypedAndEntered()
    {
        start();
        const QStringList rates{"3.00", "5.00", "1.00", "1.00", "1.00", "1.00"}; // stated, whatever a fresh install has
        for (qsizetype i = 0; i < rates.size(); ++i)
            form->findChild<QLineEdit *>(RateFields.split(u' ')[i])->setText(rates[i]);
        ui().Check1->setChecked(false); // Shanghai off, then Shenzhen on: "使用现行费率" names Shanghai
        ui().Check2->setChecked(true);
        ui().Check3->setChecked(false);
        ui().TransferByAmount->setChecked(false);
        ui().Label52->setText(QStringLiteral("浦发银行"));
        ui().Label53->setText(QStringLiteral("深圳交易所"));
        ui().Label54->setText(QStringLiteral("000001"));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QVERIFY(boxes->shown.isEmpty());
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
        QCOMPARE(TextColour(ui().sell_Yield), QApplication::palette(ui().sell_Yield).color(QPalette::Text));

        // Today's rates from the menu, with a commission of 0.25‰: the trade of 2026.
        QVERIFY(ui().TransferByAmount->toolTip().startsWith(QStringLiteral("未勾选")));
        ui().buy_BrokerageRatio->setText(QStringLiteral("0.25"));
        ui().StampDuty->setText(QStringLiteral("0.5")); // already today's, written shorter
        ui().CurrentRatesMenu->trigger();
        QCOMPARE(texts(RateFields), (QStringList{"0.25", "5.00", "0.01", "0.00", "0.5", "0.00"}));
        QVERIFY(ui().TransferByAmount->isChecked() && ui().Check1->isChecked() && ui().Check3->isChecked());
        QVERIFY(ui().TransferByAmount->toolTip().startsWith(QStringLiteral("已勾选")));
        const QString told = boxes->shown.value(0).text; // what changed, and nothing about Shenzhen
        QCOMPARE(told.count(u'\n'), 7);
        QVERIFY(told.contains(QStringLiteral("沪市收取过户费")) && told.contains(QStringLiteral("京市收取过户费")));
        QVERIFY(!told.contains(QStringLiteral("深市")) && !told.contains(QStringLiteral("印花税：")));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QCOMPARE(ui().sell_ProfitAndLoss->text(), QStringLiteral("￥984.29"));
        QVERIFY(form->close());
        ClassIniFile ini;
        QCOMPARE(LoadFeeSettings(ini, path("setup.ini")).TransferByAmount, 1);
    }

    void rejectionPutsTheFocusBackWriteFailuresTellOnce()
    {
        start();
        QTest::keyClick(ui().buy_Price, Qt::Key_Return); // as the window starts: no quantity
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Information, "提示", "抱歉，买入数量为0，请重新输入"}}));
        QCOMPARE(form->focusWidget(), ui().buy_Number);
        QVERIFY(ui().buy_TotalMoney->text() == QStringLiteral("￥0.00") && !QFile::exists(path("Log.txt")));

        // Write failures are told once per file.
        boxes->shown.clear();
        QVERIFY(QDir().mkdir(path("Log.txt")) && QDir().mkdir(path("setup.ini")));
        typeTrade(QStringLiteral("10"), QStringLiteral("1000"), QStringLiteral("11"));
        QTest::keyClick(ui().sell_Price, Qt::Key_Enter); // the second entry is lost too, without a second box
        QVERIFY(form->close());
        auto failed = [](const QString &file) {
            return ShownBox{ShownBox::Critical, "错误", "无法写入文件“" + file
                                                         + "”：已有同名的文件夹。\n本次运行中不再提示此文件的写入错误。"};
        };
        QCOMPARE(boxes->shown, (QList<ShownBox>{failed(path("Log.txt")),
                                                {ShownBox::Question, "退出提示", "真的要退出“Quorvane”吗？"},
                                                failed(path("setup.ini"))}));
    }

    void exitAsksAndOkSavesTheRates()
    {
        start();
        QSignalSpy ended(form.get(), &Form1::exitConfirmed);
        ui().buy_BrokerageRatio->setText(QStringLiteral("2.00"));
        ui().StampDuty->setText(QStringLiteral("letters"));
        ui().Check2->setChecked(true);

        // Cancel, from the close box and from both menu commands, changes nothing.
        boxes->nextAnswers = QList<MessageBoxes::Answer>(3, MessageBoxes::Answer::Cancel);
        QVERIFY(!form->close());
        ui().ExitMenu->trigger();
        ui().popExit->trigger();
        QCOMPARE(boxes->shown, QList<ShownBox>(3, {ShownBox::Question, "退出提示", "真的要退出“Quorvane”吗？"}));
        QVERIFY(form->isVisible() && tray->present && !QFile::exists(path("setup.ini")) && ended.isEmpty());

        QVERIFY(form->close());
        QVERIFY(ended.size() == 1 && !tray->present);
        ClassIniFile ini;
        const FeeSettings saved = LoadFeeSettings(ini, path("setup.ini"));
        QCOMPARE((QStringList{saved.buy_BrokerageRatio, saved.StampDuty}), (QStringList{"2.00", "letters"}));
        QVERIFY(saved.Check1 == 1 && saved.Check2 == 1);
        // Only the fee section is written at exit.
        ini.setINIFileName(path("setup.ini"));
        QCOMPARE(ini.GetIniKey(QStringLiteral("monitoring"), QStringLiteral("IsActive"), QStringLiteral("none")),
                 QStringLiteral("none"));
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

    void keyboardAndAssistiveNames()
    {
        start();
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
        QVERIFY(!ui().FileMenu->isVisible());
        QCOMPARE(boxes->shown.size(), 1); // 使用现行费率 tells what it changed

        // Assistive technology reads each field, list and box by a name of its own that says what it is.
        auto name = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
        QSet<QString> names;
        for (QWidget *field : form->findChildren<QWidget *>()) {
            if (qobject_cast<QLineEdit *>(field) || qobject_cast<QListWidget *>(field)) {
                QVERIFY2(!name(field).isEmpty() && !names.contains(name(field)), qPrintable(field->objectName()));
                names.insert(name(field));
            }
        }
        QCOMPARE((QStringList{name(ui().sell_TotalMoney), name(ui().MinStampDuty), name(ui().StockList),
                              name(ui().Label52)}),
                 (QStringList{"卖出交易金额", "印花税最低", "股票列表", "股票名称："}));
        ui().Label52->setText(QStringLiteral("浦发银行")); // the panel's values read as themselves
        QCOMPARE(name(ui().Label52), QStringLiteral("浦发银行"));
    }

    void placedOnTheAvailableArea()
    {
        // Centred where it fits; where it does not, from the area's edge (the title bar stays on screen).
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(0, 0, 1366, 728)), QPoint(303, 94));
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(0, 30, 911, 482)), QPoint(75, 30));
        QCOMPARE(PlaceOnArea(QSize(760, 540), QRect(100, 20, 683, 364)), QPoint(100, 20));
    }

    void minimiseRule()
    {
        // HideTaskbar 1 with a tray: hidden; 0: on the taskbar; 1 without a tray: never hidden.
        for (const auto &[flag, hasTray, hidden] :
             {std::tuple{"1", true, true}, {"0", true, false}, {"1", false, false}}) {
            reset();
            WriteGbk(path("setup.ini"), QStringLiteral("[monitoring]\r\nHideTaskbar=%1\r\n").arg(QLatin1String(flag)));
            tray->hasTray = hasTray;
            start();
            form->showMinimized();
            QCoreApplication::processEvents();
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
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
