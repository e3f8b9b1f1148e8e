// The chart window against a stand-in chart service: its buttons, the chart
// kept for the same stock, failed downloads, the close box that only hides and
// the hover that shows it.

#include "quote_stand_in.h"

#include "ui/stock_panel.h"
#include "ui/tip_form.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

class TipFormTest : public QObject, WindowFixture
{
    Q_OBJECT

    std::unique_ptr<QuoteStandIn> service;

    // The chart window, a child of the main window whose panel shows code.
    TipForm &startTip(const QString &code)
    {
        service->configure(path("setup.ini"));
        start(false);
        ui().Label54->setText(code);
        return *new TipForm(*form);
    }
    // Every chart of the stock served, the weekly one in blue and the others red.
    void serveCharts(const QString &chartCode)
    {
        for (const char *kind : {"min", "daily", "weekly", "monthly"})
            service->setReply(QStringLiteral("/newchart/%1/n/%2.gif").arg(QLatin1String(kind), chartCode),
                              TestGif(qstrcmp(kind, "weekly") == 0 ? "tiny2.gif" : "tiny.gif"));
    }
    static QColor PictureColour(const TipForm &tip) { return tip.Image1->pixmap().toImage().pixelColor(0, 0); }

private slots:
    void init()
    {
        reset();
        service = std::make_unique<QuoteStandIn>();
    }
    void cleanup() { form.reset(); }

    void keepsTheChosenChartAndHidesOnClose()
    {
        TipForm &tip = startTip(QStringLiteral("000001"));
        QCOMPARE(tip.windowTitle(), QStringLiteral("趋势查看：K线图 分时图"));
        service->setReply(QStringLiteral("/newchart/min/n/sz000001.gif"), QByteArray("<html>busy</html>"));
        tip.show(); // the first showing loads the intraday chart; this one fails
        QVERIFY(!tip.hasPicture());
        tip.hide();
        serveCharts(QStringLiteral("sz000001"));
        serveCharts(QStringLiteral("sh600000"));
        tip.show(); // and is tried again at the next showing
        QCOMPARE(PictureColour(tip), QColor(Qt::red));
        // Each button its chart; the weekly one is blue.
        QCOMPARE((QStringList{tip.Command1->text(), tip.Command2->text(), tip.Command3->text(), tip.Command4->text()}),
                 (QStringList{"分时线", "日K线", "周K线", "月K线"}));
        for (QPushButton *button : {tip.Command2, tip.Command4, tip.Command1, tip.Command3})
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(service->takeRequests(), QStringList({"/newchart/min/n/sz000001.gif", "/newchart/min/n/sz000001.gif",
                                                       "/newchart/daily/n/sz000001.gif", "/newchart/monthly/n/sz000001.gif",
                                                       "/newchart/min/n/sz000001.gif", "/newchart/weekly/n/sz000001.gif"}));
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));

        // Hidden by its close box, shown again, repainted: the weekly chart, no request.
        QVERIFY(!tip.close() && !tip.isVisible());
        tip.show();
        tip.repaint();
        QCoreApplication::processEvents();
        QVERIFY(service->takeRequests().isEmpty());
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));

        // Another stock in the panel: its intraday chart at the next showing.
        tip.hide();
        ui().Label54->setText(QStringLiteral("600000"));
        tip.show();
        QCOMPARE(service->takeRequests(), QStringList{"/newchart/min/n/sh600000.gif"});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));

        // A download that fails leaves the area empty, without a message or a retry at repaints.
        service->setReply(QStringLiteral("/newchart/weekly/n/sh600000.gif"), QByteArray("<html>busy</html>"));
        tip.Command3->click();
        QVERIFY(!tip.hasPicture());
        service->takeRequests();
        tip.repaint();
        QTest::qWait(50);
        QVERIFY(service->takeRequests().isEmpty());
        form->network.ChartHost = QStringLiteral("127.0.0.1:1"); // no service at all
        tip.Command4->click();
        QVERIFY(!tip.hasPicture() && boxes->shown.isEmpty());

        // Shown without taking the keyboard from the main window; Esc in it closes it.
        activate();
        tip.show();
        QCoreApplication::processEvents();
        QVERIFY(form->isActiveWindow() && !tip.isActiveWindow());
        QTest::keyClick(&tip, Qt::Key_Escape);
        QVERIFY(!tip.isVisible());
    }

    // The hover over the stock name shows the chart only with 鼠标悬停显示图表 on.
    void hoverChartFollowsTheSetting()
    {
        startTip(QStringLiteral("000001"));
        StockPanel panel(*form);
        ui().Label52->setText(QStringLiteral("平安银行"));
        for (const char *showPicture : {"0", "1"}) {
            form->store.showPicture = QLatin1String(showPicture);
            panel.Timer1_Timer();
            QCOMPARE(panel.tipForm().isVisible(), showPicture[0] == '1');
        }
    }
};

QTEST_MAIN(TipFormTest)
#include "tst_tip_form.moc"
