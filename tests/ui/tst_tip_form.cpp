// The chart window against a stand-in chart service: its addresses, the chart
// kept for the same stock, failed downloads and the close box that only hides.

#include "quote_stand_in.h"

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

    void buttonsAndChartAddresses()
    {
        TipForm &tip = startTip(QString());
        QCOMPARE(tip.windowTitle(), QStringLiteral("趋势查看：K线图 分时图"));
        QVERIFY(!tip.hasPicture() && tip.chartCode().isEmpty());
        const QList<QPushButton *> buttons = {tip.Command1, tip.Command2, tip.Command3, tip.Command4};
        QCOMPARE((QStringList{buttons[0]->text(), buttons[1]->text(), buttons[2]->text(), buttons[3]->text()}),
                 (QStringList{"分时线", "日K线", "周K线", "月K线"}));

        const std::tuple<const char *, QString, int, const char *> rows[] = {
            {"600000", "sh600000", 1, "daily"}, {"000001", "sz000001", 0, "min"},
            {"300750", "sz300750", 2, "weekly"}, {"900901", "sh900901", 3, "monthly"}};
        for (const auto &[code, chartCode, button, kind] : rows) {
            ui().Label54->setText(QLatin1String(code));
            serveCharts(chartCode);
            buttons[button]->click();
            const QString chart = QStringLiteral("/newchart/%1/n/%2.gif").arg(QLatin1String(kind), chartCode);
            QCOMPARE(service->takeRequests(), QStringList{chart});
            QCOMPARE(tip.chartCode(), chartCode);
            QCOMPARE(tip.Image1->pixmap().size(), button == 2 ? QSize(6, 4) : QSize(8, 8));
        }
    }

    void keepsTheChosenChartAndHidesOnClose()
    {
        TipForm &tip = startTip(QStringLiteral("000001"));
        serveCharts(QStringLiteral("sz000001"));
        serveCharts(QStringLiteral("sh600000"));
        tip.show(); // the first showing loads the intraday chart
        QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/newchart/min/n/sz000001.gif")});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));
        QTest::mouseClick(tip.Command3, Qt::LeftButton);
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));

        // Hidden by its close box, shown again, repainted: the weekly chart, no request.
        service->takeRequests();
        QVERIFY(!tip.close());
        QVERIFY(!tip.isVisible());
        tip.show();
        tip.repaint();
        QCoreApplication::processEvents();
        QVERIFY(service->takeRequests().isEmpty());
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));
        QCOMPARE(tip.chartCode(), QStringLiteral("sz000001"));

        // Another stock in the panel: its intraday chart at the next showing.
        tip.hide();
        ui().Label54->setText(QStringLiteral("600000"));
        tip.show();
        QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/newchart/min/n/sh600000.gif")});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));
        QCOMPARE(tip.chartCode(), QStringLiteral("sh600000"));

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
        QVERIFY(!tip.hasPicture());
        QVERIFY(boxes->shown.isEmpty());

        // Shown without taking the keyboard from the main window; Esc in it closes it.
        activate();
        tip.show();
        QCoreApplication::processEvents();
        QVERIFY(form->isActiveWindow() && !tip.isActiveWindow());
        QTest::keyClick(&tip, Qt::Key_Escape);
        QVERIFY(!tip.isVisible());
    }
};

QTEST_MAIN(TipFormTest)
#include "tst_tip_form.moc"
