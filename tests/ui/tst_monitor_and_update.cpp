// The monitor end to end against a stand-in quote service: ticks, balloons on
// a recorded tray, the alarm, the panel's refresh, the network message once.
// Its settings dialog: what it shows from setup.ini, the checks of the
// interval and the codes when they are left (also when the focus moves while
// the dialog is inactive), and what OK, Cancel and the close box change.
// The update check from the menu and at start-up against a server on 127.0.0.1.

#include "quote_stand_in.h"

#include "settings/settings_store.h"
#include "ui/form2.h"
#include "ui/price_monitor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quorvane;
using namespace quorvane::testing;

const ShownBox Current{ShownBox::Information, "提示", "您当前的版本是最新版本，不需要升级"};
const ShownBox Failed{ShownBox::Information, "提示", "检查更新失败，无法取得最新版本信息"};
const ShownBox NoServer{ShownBox::Information, "提示", "没有设置升级服务器（setup.ini 的 [network] 节 UpdateHost）"};
const ShownBox Offer{ShownBox::Question, "Quorvane 升级提示", "发现新版本，是否查看？"};
const ShownBox NoBrowser{ShownBox::Critical, "错误", "调用浏览器错误！"};

class MonitorAndUpdateTest : public QObject, WindowFixture
{
    Q_OBJECT

    QuoteStandIn service; // also the update server
    QPointer<Form2> dialog;

    // The dialog shown (not modal, so the test drives it) and active; the last one goes.
    Form2 &open()
    {
        delete dialog;
        dialog = new Form2(*form);
        activate(dialog);
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

    // n ticks as the timer would deliver them, each step's replies awaited.
    void tick(int n)
    {
        for (int i = 0; i < n; ++i) {
            form->priceMonitor().ActiveTimer_Timer();
            QVERIFY(QTest::qWaitFor([this] { return !form->priceMonitor().isStepping(); }));
        }
    }
    QList<std::pair<QString, QString>> takeBalloons() { return std::exchange(tray->balloons, {}); }

    // A fresh window's setup.ini: the server's host (may be empty), the last opening minutesAgo back.
    void configure(const QString &host, qint64 minutesAgo, const QByteArray &page)
    {
        reset();
        const QDateTime last = QDateTime::currentDateTime().addSecs(-60 * minutesAgo);
        WriteGbk(path("setup.ini"), QStringLiteral("[setup]\r\nUpdateDateTime=%1\r\n[network]\r\nUpdateHost=%2\r\n")
                                        .arg(FormatUpdateDateTime(last), host));
        service.setReply(QStringLiteral("/StockVersion.html"), page); // an empty page: none (404)
    }
    QByteArray setupIni() const { return ReadBytes(path("setup.ini")); }

private slots:
    void init()
    {
        reset();
        service.setStalled(false);
        service.takeRequests();
    }

    void balloonsAlarmPanelAndAStalledService()
    {
        service.configure(path("setup.ini"), QStringLiteral("IsActive=-1\r\nActiveTime=5\r\nstock1=600000\r\n"
                                                            "stock2=12345\r\nstock3=000001\r\nstock1_Down=10.00\r\n"
                                                            "stock1_Up=10.20\r\nstock1_Pct=2\r\n"));
        service.setQuote("600000", "浦发银行", "10.00", "10.20");
        service.setQuote("000001", "平安银行", "11.20", "11.20");
        start(false);
        ui().ActiveTimer->stop(); // the test delivers the ticks
        form->PanelCode = QStringLiteral("000001");
        ui().sell_Price->setText(QStringLiteral("￥1.00"));

        // The sixth tick: stock 1 at its upper limits, then the panel's code.
        tick(6);
        QCOMPARE(service.takeRequests(), (QStringList{"/list=sh600000", "/list=sz000001"}));
        QCOMPARE(takeBalloons(), (QList<std::pair<QString, QString>>{
                                     {"浦发银行", "当前价格：￥10.20↑  最高：￥10.20 最低：￥10.00\n"
                                                  "提醒：已涨到最高价 ￥10.20\n提醒：涨跌幅 2.00%，已达 2%"}}));
        QCOMPARE((QStringList{ui().Label52->text(), ui().Label54->text(), ui().sell_Price->text()}),
                 (QStringList{"平安银行", "000001", "￥1.00"}));

        // Stock 2 is skipped for stock 3.
        tick(6);
        QVERIFY(service.takeRequests().first() == u"/list=sz000001" && takeBalloons().value(0).first == u"平安银行");

        // Stock 1 falls to its threshold: balloon and alarm; unchanged next time: neither.
        service.setQuote("600000", "浦发银行", "10.00", "9.98");
        tick(6);
        QCOMPARE(takeBalloons().value(0).second, QStringLiteral("当前价格：￥9.98↓  最高：￥9.98 最低：￥10.00\n"
                                                                "提醒：已跌到最低价 ￥10.00"));
        QCOMPARE(tray->alarms, (QList<bool>{true, false, true}));
        QVERIFY(sound->played.value(0).endsWith("/ALARM8.WAV") && QFile::exists(sound->played.first()));
        tick(12);
        QVERIFY(takeBalloons().isEmpty() && sound->played.size() == 2 && boxes->shown.isEmpty());

        // A panel reply that cannot be read leaves the panel whole.
        service.setQuote("000002", "万科Ａ,open,abc,xyz,high,low,more");
        form->PanelCode = QStringLiteral("000002");
        tick(6);
        QCOMPARE((QStringList{ui().Label52->text(), ui().Label54->text()}), (QStringList{"平安银行", "000001"}));

        // No service: the network message once.
        form->PanelCode.clear();
        form->network.QuoteHost = form->network.QuoteHost2 = QStringLiteral("127.0.0.1:1"); // nothing listens there
        tick(12);
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::PlainModeless, "Quorvane", "联网出错，无法取到股票信息，请检查网络是否正常连接！"}}));
        QVERIFY(takeBalloons().isEmpty());

        // A stalled service holds neither the window nor the exit: ticks make no second step beside
        // the one out, a code entered meanwhile keeps its own panel and the step's balloon still comes.
        form->network.QuoteHost = form->network.QuoteHost2 = service.host();
        service.takeRequests();
        service.setQuote("600000", "浦发银行", "10.00", "10.10");
        form->PanelCode = QStringLiteral("600000");
        service.setStalled(true);
        tick(5);
        form->priceMonitor().ActiveTimer_Timer(); // returns with the step out
        QStringList asked;
        QTRY_COMPARE(asked += service.takeRequests(), QStringList{"/list=sh600000"});
        for (int i = 0; i < 6; ++i)
            form->priceMonitor().ActiveTimer_Timer();
        form->PanelCode = QStringLiteral("000001");
        service.setStalled(false);
        QTRY_VERIFY(!form->priceMonitor().isStepping());
        QTest::qWait(100);
        QCOMPARE(service.takeRequests(), QStringList{"/list=sh600000"}); // the step's own second lookup
        QCOMPARE(takeBalloons().size(), 1);
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));

        // Quitting with a step out abandons it at once.
        service.setStalled(true);
        tick(5);
        form->priceMonitor().ActiveTimer_Timer();
        QTRY_VERIFY(!(asked += service.takeRequests()).isEmpty());
        const QDeadlineTimer quitting(4000);
        form->close();
        form.reset();
        QVERIFY2(!quitting.hasExpired(), "long before the request's own 8 s limit");
    }

    void updateCheckFromTheMenuAndAtStartUp()
    {
        const QString dead = QuoteStandIn().host(); // a port nobody listens on any more
        const QString live = service.host();
        const std::tuple<QByteArray, QString, ShownBox> cases[] = {
            {"1.5", live, Current}, {"<html><body>Service Unavailable</body></html>", live, Failed}, {"", live, Failed},
            {"1.6", dead, Failed}, {"1.6", QString(), NoServer}, {"1.6", live, Offer} /* answered Cancel */};
        for (const auto &[page, host, shown] : cases) {
            configure(host, 0, page);
            const QByteArray before = setupIni();
            boxes->nextAnswers = {MessageBoxes::Answer::Cancel};
            start();
            ui().CheckUpdate->trigger();
            QCOMPARE(boxes->shown, QList<ShownBox>{shown});
            QVERIFY(urls->opened.isEmpty() && setupIni() == before);
            QCOMPARE(service.takeRequests().size(), host == live ? 1 : 0);
        }

        // At start-up, within seven days the server is not asked (the exact boundary is the rule's own test).
        configure(live, 10079, "1.6");
        start(false);
        QVERIFY(service.takeRequests().isEmpty());
        configure(live, 20000, "1.5"); // past them, only a newer version speaks
        start(false);
        QTRY_VERIFY(!form->updateCheckPending());
        QVERIFY(service.takeRequests().size() == 1 && boxes->shown.isEmpty());

        // The window does not wait for the answer; the offer comes with it. The
        // time is written only once the browser has started, and into the file alone.
        for (bool browserStarts : {false, true}) {
            configure(live, 10081, "1.6");
            const QByteArray before = setupIni();
            urls->succeeds = browserStarts;
            const QDateTime asked = QDateTime::currentDateTime().addSecs(-1);
            start(false);
            QVERIFY(boxes->shown.isEmpty());
            QTRY_VERIFY(!form->updateCheckPending());
            QCOMPARE(urls->opened, QList<QUrl>{QUrl(QStringLiteral("http://%1/ark/index12.asp").arg(live))});
            QCOMPARE(boxes->shown, (browserStarts ? QList<ShownBox>{Offer} : QList<ShownBox>{Offer, NoBrowser}));
            QVERIFY(form->store.UpdateDateTime < asked.addDays(-7) && (browserStarts || setupIni() == before));
        }
        // The next start reads the time written.
        start(false);
        QVERIFY(qAbs(form->store.UpdateDateTime.secsTo(QDateTime::currentDateTime())) < 5);
    }

    void storedValuesShowAndOnlyOkSavesThem()
    {
        WriteGbk(path("setup.ini"), QStringLiteral("[monitoring]\r\nIsActive=1\r\nHideTaskbar=2\r\nIsClipboard=2\r\n"
                                                   "showPicture=7\r\nDefaultSite=百度\r\nstock1=600000\r\n"
                                                   "stock1_Down=9.5\r\nstock2=6000001\r\nstock3=60000a\r\n"
                                                   "ActiveTime=12345\r\nstock2_Down=abc\r\nstock2_Up=10.6\r\n"
                                                   "stock3_Pct=5\r\nstock1_Up=x\r\n"));
        const QByteArray before = setupIni();
        start();
        // From the menu, modal; Cancel and the close box change nothing.
        for (bool closeBox : {false, true}) {
            bool seen = false;
            QTimer::singleShot(0, form.get(), [&] {
                if (auto *d = qobject_cast<Form2 *>(QApplication::activeModalWidget())) {
                    seen = d->windowTitle() == u"设置";
                    d->stock1->setText(QStringLiteral("000001"));
                    d->IsActive1->setChecked(true);
                    if (closeBox)
                        d->close();
                    else
                        QTest::mouseClick(d->Command2, Qt::LeftButton);
                }
            });
            form->ui().MonitoringMenu->trigger();
            QVERIFY(seen && setupIni() == before);
            QVERIFY(form->store.stock1 == u"600000" && ui().ActiveTimer->isActive()); // 1 is on for the main window
        }

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
        QVERIFY(!d.isVisible() && !ui().ActiveTimer->isActive() && setupIni().contains("\r\nIsActive=0\r\n"));
    }

    void fieldsAreCheckedBeforeOkWritesTheFileAndTheStore()
    {
        const QString range = QStringLiteral("时间范围必须在5秒-6000秒之间"), code = QStringLiteral("请输入6位股票代码");
        for (const auto &[text, message] : {std::pair<const char *, QString>{"4", range}, {"5", {}}, {"4.5", range},
                                            {"5.5", {}}, {"6000", {}}, {"6001", range}, {"abc", "请输入数字"},
                                            {"", "请输入数字"}, {"-5", range}})
            QCOMPARE(ActiveTimeMessage(QString::fromLatin1(text)), message);
        for (const auto &[text, message] : {std::pair<const char *, QString>{"", {}}, {"600000", {}}, {"60000", code},
                                            {"60000a", code}, {"6000000", code}})
            QCOMPARE(StockCodeMessage(QString::fromLatin1(text)), message);

        start();
        Form2 &d = open();
        typeAndLeave(d.ActiveTime, QStringLiteral("4"));
        QCOMPARE(takeBoxes(), (QList<ShownBox>{{ShownBox::Plain, "Quorvane", range}}));
        QVERIFY(d.focusWidget() == d.ActiveTime && d.ActiveTime->text() == u"4");
        typeAndLeave(d.ActiveTime, QStringLiteral("5.5"));
        QVERIFY(takeBoxes().isEmpty() && d.focusWidget() != d.ActiveTime);

        // Cancel abandons the edit without a message. Another window takes the activation; the user
        // then clicks the interval, which moves the focus before the dialog is active again.
        d.stock2->setFocus();
        QTest::keyClicks(d.stock2, QStringLiteral("123"));
        d.Command2->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(takeBoxes().isEmpty());
        activateOther();
        d.ActiveTime->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(takeBoxes().isEmpty());
        activate(&d);
        QCoreApplication::processEvents();
        QCOMPARE(takeBoxes(), (QList<ShownBox>{{ShownBox::Plain, "Quorvane", code}}));
        QCOMPARE(d.focusWidget(), d.stock2);

        // OK holds back an interval still being edited (left with the click), and limits that are no number.
        for (const char *badField : {"ActiveTime", "txtstock3_Down", "txtstock1_Up", "txtstock2_Pct"}) {
            Form2 &again = open();
            auto *bad = again.findChild<QLineEdit *>(QLatin1String(badField));
            bad->setFocus();
            bad->setText(bad == again.ActiveTime ? QStringLiteral("4") : QStringLiteral("abc"));
            QTest::mouseClick(again.Command1, Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(takeBoxes().value(0).text, bad == again.ActiveTime ? range : "请输入数字");
            QVERIFY(again.isVisible() && again.focusWidget() == bad && !QFile::exists(path("setup.ini")));
        }

        // Then OK writes the file and the store, and starts the monitor.
        form->ActiveCount = 3; // kept across the switch
        Form2 &edited = open();
        edited.stock1->setText(QStringLiteral("600000"));
        edited.txtstock1_Down->setText(QStringLiteral("10.5"));
        edited.txtstock2_Down->setText(QStringLiteral("  ")); // blanks are an empty price
        edited.txtstock1_Up->setText(QStringLiteral("10.6"));
        edited.txtstock1_Pct->setText(QStringLiteral("5"));
        edited.txtstock3_Pct->clear();
        edited.ActiveTime->setText(QStringLiteral("5.5"));
        edited.IsActive1->setChecked(true);
        edited.HideTaskbar->setChecked(true);
        edited.IsClipboardCB->setChecked(false);
        edited.ComboSite->setCurrentIndex(4);
        QTest::mouseClick(edited.Command1, Qt::LeftButton);

        QVERIFY(ui().ActiveTimer->isActive() && form->ActiveCount == 3);
        const SettingsStore &s = form->store;
        QCOMPARE((QStringList{s.stock1, s.ActiveTime, s.IsActive, s.HideTaskbar, s.IsClipboard, s.DefaultSite,
                              s.stock1_Pct, s.stock3_Pct}),
                 QStringLiteral("600000 5.5 -1 1 0 东方财富 5 0").split(u' '));
        QVERIFY(s.stock1_Down == MoneyFromText(QStringLiteral("10.5")) && s.stock2_Down == Money()
                && s.stock1_Up == MoneyFromText(QStringLiteral("10.6")));
        // The prices as typed (an empty one reads back as the default), in the order written.
        QCOMPARE(setupIni(),
                 QStringEncoder("GBK").encode(QStringLiteral(
                     "[monitoring]\r\nstock1=600000\r\nstock2=\r\nstock3=\r\nstock1_Down=10.5\r\nstock2_Down=\r\n"
                     "stock3_Down=0.00\r\nstock1_Up=10.6\r\nstock2_Up=0.00\r\nstock3_Up=0.00\r\nstock1_Pct=5\r\n"
                     "stock2_Pct=0\r\nstock3_Pct=\r\nIsActive=-1\r\nshowPicture=0\r\nIsSumSamePrice=1\r\n"
                     "ActiveTime=5.5\r\nHideTaskbar=1\r\nDefaultSite=东方财富\r\nIsClipboard=0\r\n")));
    }
};

QTEST_MAIN(MonitorAndUpdateTest)
#include "tst_monitor_and_update.moc"
