// The monitor on the main window, end to end against a stand-in quote
// service: ticks, balloons on a recorded tray, the alarm, the panel's refresh,
// the network message once, and settings from the dialog taking effect at once.

#include "quote_stand_in.h"

#include "ui/form2.h"
#include "ui/price_monitor.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quorvane;
using namespace quorvane::testing;

class PriceMonitorTest : public QObject, WindowFixture
{
    Q_OBJECT

    QuoteStandIn service;

    // n ticks as the timer would deliver them, each step's replies awaited.
    void tick(int n)
    {
        for (int i = 0; i < n; ++i) {
            form->priceMonitor().ActiveTimer_Timer();
            QVERIFY(QTest::qWaitFor([this] { return !form->priceMonitor().isStepping(); }));
        }
    }
    QList<std::pair<QString, QString>> takeBalloons() { return std::exchange(tray->balloons, {}); }

private slots:
    void init()
    {
        reset();
        service.setStalled(false);
        service.takeRequests();
    }
    void cleanup() { form.reset(); }

    void balloonsAlarmAndPanelOverSteps()
    {
        service.configure(path("setup.ini"), QStringLiteral("IsActive=-1\r\nActiveTime=5\r\nstock1=600000\r\n"
                                                            "stock2=12345\r\nstock3=000001\r\nstock1_Down=10.00\r\n"));
        service.setQuote("600000", "浦发银行", "10.00", "10.20");
        service.setQuote("000001", "平安银行", "11.20", "11.20");
        start(false);
        QVERIFY(form->ui().ActiveTimer->isActive());
        ui().ActiveTimer->stop(); // the test delivers the ticks
        form->PanelCode = QStringLiteral("000001");
        ui().sell_Price->setText(QStringLiteral("￥1.00"));

        tick(5);
        QVERIFY(service.takeRequests().isEmpty());
        tick(1); // the sixth tick: stock 1, then the panel's code
        QCOMPARE(service.takeRequests(), (QStringList{"/list=sh600000", "/list=sz000001"}));
        QCOMPARE(takeBalloons(), (QList<std::pair<QString, QString>>{{"浦发银行", "当前价格：￥10.20↑  最高：￥10.20 最低：￥10.00"}}));
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
        QCOMPARE(tray->alarms, (QList<bool>{false, false, true}));
        QVERIFY(sound->played.value(0).endsWith("/ALARM8.WAV") && QFile::exists(sound->played.first()));
        tick(12);
        QVERIFY(takeBalloons().isEmpty() && sound->played.size() == 1 && boxes->shown.isEmpty());

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

        // The dialog's settings take effect at once: another stock and interval.
        form->network.QuoteHost = form->network.QuoteHost2 = service.host();
        service.setQuote("000001", "平安银行", "11.20", "11.00");
        Form2 dialog(*form);
        dialog.stock1->setText(QStringLiteral("000001"));
        dialog.txtstock1_Up->setText(QStringLiteral("11.00"));
        dialog.txtstock1_Pct->setText(QStringLiteral("1"));
        dialog.ActiveTime->setText(QStringLiteral("9"));
        dialog.Command1->click();
        QVERIFY(form->ui().ActiveTimer->isActive());
        ui().ActiveTimer->stop();
        service.takeRequests();
        tick(10);
        QCOMPARE(service.takeRequests(), QStringList{"/list=sz000001"});
        const auto balloon = takeBalloons().value(0);
        QCOMPARE((QStringList{balloon.first, balloon.second.section(u'\n', 1)}),
                 (QStringList{"平安银行", "提醒：已涨到最高价 ￥11.00\n提醒：涨跌幅 -1.79%，已达 1%"}));
    }

    void aStalledServiceHoldsNeitherTheWindowNorTheExit()
    {
        service.configure(path("setup.ini"), QStringLiteral("ActiveTime=0\r\nstock1=600000\r\n"));
        service.setQuote("600000", "浦发银行", "10.00", "10.20");
        service.setQuote("000001", "平安银行", "11.20", "11.05");
        start(false);
        form->PanelCode = QStringLiteral("000001");
        service.setStalled(true);
        form->priceMonitor().ActiveTimer_Timer(); // returns with the step out
        QStringList asked;
        QTRY_VERIFY(!(asked += service.takeRequests()).isEmpty());
        QCOMPARE(asked, QStringList{"/list=sh600000"});
        for (int i = 0; i < 3; ++i)
            form->priceMonitor().ActiveTimer_Timer();
        QTest::qWait(100);
        QVERIFY(service.takeRequests().isEmpty()); // no second step beside it
        // A code entered meanwhile keeps its own panel; the step's alert still comes.
        form->PanelCode = QStringLiteral("600000");
        service.setStalled(false);
        QTRY_VERIFY(!form->priceMonitor().isStepping());
        QTest::qWait(100);
        QCOMPARE(service.takeRequests(), QStringList{"/list=sz000001"}); // the step's own second lookup
        QCOMPARE(takeBalloons().size(), 1);
        QVERIFY(ui().Label52->text().isEmpty());

        // Quitting with a step out abandons it at once.
        service.setStalled(true);
        form->priceMonitor().ActiveTimer_Timer();
        QTRY_VERIFY(!(asked += service.takeRequests()).isEmpty());
        QElapsedTimer quitting;
        quitting.start();
        form->close();
        form.reset();
        QVERIFY2(quitting.elapsed() < 4000, "long before the request's own 8 s limit");
    }
};

QTEST_MAIN(PriceMonitorTest)
#include "tst_price_monitor.moc"
