// The settings dialog: what it shows from setup.ini, the checks of the
// interval and the codes when they are left (also when the focus moves while
// the dialog is inactive), and what OK, Cancel and the close box change.

#include "fake_platform.h"

#include "settings/settings_store.h"
#include "ui/form2.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quorvane;
using namespace quorvane::testing;

class Form2Test : public QObject, WindowFixture
{
    Q_OBJECT

    std::unique_ptr<Form2> dialog;

    // The dialog shown (not modal, so the test drives it) and active.
    Form2 &open()
    {
        dialog = std::make_unique<Form2>(*form);
        activate(dialog.get());
        return *dialog;
    }
    // The user types into field and leaves it with Tab; the message (if any) follows.
    void typeAndLeave(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    QList<ShownBox> takeBoxes() { return std::exchange(boxes->shown, {}); }

private slots:
    void init() { reset(); }
    void cleanup()
    {
        dialog.reset();
        form.reset();
    }

    void rulesOfTheIntervalAndTheCodes()
    {
        const QString range = QStringLiteral("时间范围必须在5秒-6000秒之间"), code = QStringLiteral("请输入6位股票代码");
        for (const auto &[text, message] : {std::pair<const char *, QString>{"4", range}, {"5", {}}, {"4.5", range},
                                            {"5.5", {}}, {"6000", {}}, {"6001", range}, {"abc", "请输入数字"},
                                            {"", "请输入数字"}, {"-5", range}})
            QCOMPARE(ActiveTimeMessage(QString::fromLatin1(text)), message);
        for (const auto &[text, message] : {std::pair<const char *, QString>{"", {}}, {"600000", {}}, {"60000", code},
                                            {"60000a", code}, {"6000000", code}})
            QCOMPARE(StockCodeMessage(QString::fromLatin1(text)), message);
    }

    void storedValuesOutsideTheirRangeLoadAsDefaults()
    {
        WriteGbk(path("setup.ini"), QStringLiteral("[monitoring]\r\nIsActive=1\r\nHideTaskbar=2\r\nIsClipboard=2\r\n"
                                                   "showPicture=7\r\nDefaultSite=百度\r\nstock1=600000\r\n"
                                                   "stock1_Down=9.5\r\nstock2=6000001\r\nstock3=60000a\r\n"
                                                   "ActiveTime=12345\r\nstock2_Down=abc\r\nstock2_Up=10.6\r\n"
                                                   "stock3_Pct=5\r\nstock1_Up=x\r\n"));
        start();
        QVERIFY(form->ui().ActiveTimer->isActive()); // 1 is on for the main window
        Form2 &d = open();
        QVERIFY(d.IsActive2->isChecked() && !d.IsActive1->isChecked()); // but only -1 selects 启动监控 here
        QVERIFY(d.HideTaskbar->isChecked() && d.IsClipboardCB->isChecked() && !d.showPictureCB->isChecked()); // 2: grey
        QCOMPARE(d.ComboSite->currentText(), QStringLiteral("新浪财经"));
        // Never a cut-down text, which OK would save as another value.
        QCOMPARE((QStringList{d.stock1->text(), d.stock2->text(), d.stock3->text(), d.ActiveTime->text(),
                              d.txtstock1_Down->text(), d.txtstock2_Down->text(), d.txtstock2_Up->text(),
                              d.txtstock1_Up->text(), d.txtstock3_Pct->text(), d.txtstock1_Pct->text()}),
                 (QStringList{"600000", "", "", "30", "9.5", "0.00", "10.6", "0.00", "5", "0"}));
        QCOMPARE(d.txtstock3_Pct->accessibleName(), QStringLiteral("股票3涨跌幅"));

        // OK without changes switches the monitor off.
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QVERIFY(!d.isVisible() && !form->ui().ActiveTimer->isActive());
        QVERIFY(ReadBytes(path("setup.ini")).contains("\r\nIsActive=0\r\n"));
    }

    void okWritesTheFileAndTheStoreAndStartsTheMonitor()
    {
        start();
        form->ActiveCount = 3; // kept across the switch
        Form2 &d = open();
        d.stock1->setText(QStringLiteral("600000"));
        d.txtstock1_Down->setText(QStringLiteral("10.5"));
        d.txtstock2_Down->setText(QStringLiteral("  ")); // blanks are an empty price
        d.txtstock1_Up->setText(QStringLiteral("10.6"));
        d.txtstock2_Pct->setText(QStringLiteral("5"));
        d.txtstock3_Pct->clear();
        d.ActiveTime->setText(QStringLiteral("5.5"));
        d.IsActive1->setChecked(true);
        d.HideTaskbar->setChecked(true);
        d.IsClipboardCB->setChecked(false);
        d.ComboSite->setCurrentIndex(4);
        QTest::mouseClick(d.Command1, Qt::LeftButton);

        QVERIFY(ui().ActiveTimer->isActive() && form->ActiveCount == 3);
        const SettingsStore &s = form->store;
        QCOMPARE((QStringList{s.stock1, s.ActiveTime, s.IsActive, s.HideTaskbar, s.IsClipboard, s.DefaultSite}),
                 QStringLiteral("600000 5.5 -1 1 0 东方财富").split(u' '));
        QVERIFY(s.stock1_Down == MoneyFromText(QStringLiteral("10.5")) && s.stock2_Down == Money());
        // The prices as typed (an empty one reads back as the default), in the order written.
        QCOMPARE(ReadBytes(path("setup.ini")),
                 QStringEncoder("GBK").encode(QStringLiteral(
                     "[monitoring]\r\nstock1=600000\r\nstock2=\r\nstock3=\r\nstock1_Down=10.5\r\nstock2_Down=\r\n"
                     "stock3_Down=0.00\r\nstock1_Up=10.6\r\nstock2_Up=0.00\r\nstock3_Up=0.00\r\nstock1_Pct=0\r\n"
                     "stock2_Pct=5\r\nstock3_Pct=\r\nIsActive=-1\r\nshowPicture=0\r\nIsSumSamePrice=1\r\nActiveTime=5.5\r\n"
                     "HideTaskbar=1\r\nDefaultSite=东方财富\r\nIsClipboard=0\r\n")));
        Form2 &again = open(); // shows what was saved
        QVERIFY(again.IsActive1->isChecked() && again.txtstock2_Down->text() == QStringLiteral("0.00"));
    }

    void cancelAndTheCloseBoxChangeNothing()
    {
        WriteGbk(path("setup.ini"), QStringLiteral("; mine\n[monitoring]\nstock1 = 600000\nIsActive=-1\n[setup]\nStampDuty=2\n"));
        const QByteArray before = ReadBytes(path("setup.ini"));
        start();
        // From the menu, modal, with the default of a missing key.
        bool seen = false;
        QTimer::singleShot(0, form.get(), [&] {
            if (auto *shown = qobject_cast<Form2 *>(QApplication::activeModalWidget())) {
                seen = shown->windowTitle() == QStringLiteral("设置") && shown->ActiveTime->text() == QStringLiteral("30");
                QTest::mouseClick(shown->Command2, Qt::LeftButton);
            }
        });
        form->ui().MonitoringMenu->trigger();
        QVERIFY(seen);
        QCOMPARE(ReadBytes(path("setup.ini")), before);
        for (bool closeBox : {false, true}) {
            Form2 &d = open();
            d.stock1->setText(QStringLiteral("000001"));
            d.IsActive2->setChecked(true);
            if (closeBox)
                d.close();
            else
                QTest::mouseClick(d.Command2, Qt::LeftButton);
            QCOMPARE(ReadBytes(path("setup.ini")), before);
            QVERIFY(!d.isVisible() && form->store.stock1 == u"600000" && ui().ActiveTimer->isActive());
        }
    }

    void leavingAFieldIsCheckedHoweverTheFocusMoves()
    {
        start();
        Form2 &d = open();
        auto message = [](const QString &text) { return QList<ShownBox>{{ShownBox::Plain, "Quorvane", text}}; };
        typeAndLeave(d.ActiveTime, QStringLiteral("4"));
        QCOMPARE(takeBoxes(), message(QStringLiteral("时间范围必须在5秒-6000秒之间")));
        QVERIFY(d.focusWidget() == d.ActiveTime && d.ActiveTime->text() == u"4");
        typeAndLeave(d.ActiveTime, QStringLiteral("5.5"));
        QVERIFY(takeBoxes().isEmpty() && d.focusWidget() != d.ActiveTime);

        // Cancel abandons the edit without a message.
        d.stock1->setFocus();
        QTest::keyClicks(d.stock1, QStringLiteral("12"));
        d.Command2->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(takeBoxes().isEmpty());
        d.stock1->clear();

        // Another window takes the activation; the user then clicks the
        // interval, which moves the focus before the dialog is active again.
        d.stock2->setFocus();
        QTest::keyClicks(d.stock2, QStringLiteral("123"));
        activateOther();
        d.ActiveTime->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(takeBoxes().isEmpty());
        activate(&d);
        QCoreApplication::processEvents();
        QCOMPARE(takeBoxes(), message(QStringLiteral("请输入6位股票代码")));
        QCOMPARE(d.focusWidget(), d.stock2);

        // An interval still being edited, and limits that are no number.
        for (const char *badField : {"ActiveTime", "txtstock3_Down", "txtstock1_Up", "txtstock2_Pct"}) {
            Form2 &again = open();
            auto *bad = again.findChild<QLineEdit *>(QLatin1String(badField));
            const bool interval = bad == again.ActiveTime;
            if (interval)
                bad->setFocus(); // left with the click
            bad->setText(interval ? QStringLiteral("4") : QStringLiteral("abc"));
            QTest::mouseClick(again.Command1, Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(takeBoxes().value(0).text, interval ? QStringLiteral("时间范围必须在5秒-6000秒之间") : "请输入数字");
            QVERIFY(again.isVisible() && again.focusWidget() == bad && !QFile::exists(path("setup.ini")));
        }
    }
};

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"
