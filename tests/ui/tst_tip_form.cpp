// The chart window against a stand-in chart service: its addresses, the chart
// kept for the same stock, a new stock's intraday chart, failed downloads and
// the close box that only hides.

#include "fake_platform.h"
#include "quote_stand_in.h"

#include "ui/form1.h"
#include "ui/tip_form.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

QByteArray TestGif(const char *name)
{
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/tests/ui/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The colour of the picture's first pixel: tiny.gif is red, tiny2.gif blue.
QColor PictureColour(const TipForm &tip)
{
    return tip.Image1->pixmap().toImage().pixelColor(0, 0);
}

} // namespace

class TipFormTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteStandIn> m_service;
    std::unique_ptr<QTemporaryDir> m_dir;
    FakePlatform m_fake;
    std::unique_ptr<Form1> m_form;
    TipForm *m_tip = nullptr; // the window's child

    TipForm &start(const QString &code)
    {
        ProgramFolders folders;
        folders.programFolder = m_dir->path();
        folders.dataFolder = m_dir->path();
        m_form = std::make_unique<Form1>(m_fake.platform(), folders);
        m_form->network.ChartHost = m_service->host();
        m_form->ui().Label54->setText(code);
        m_tip = new TipForm(*m_form);
        return *m_tip;
    }
    void serveCharts(const QString &chartCode)
    {
        const QByteArray red = TestGif("tiny.gif");
        const QByteArray blue = TestGif("tiny2.gif");
        QVERIFY(!red.isEmpty() && !blue.isEmpty());
        for (const char *kind : {"min", "daily", "monthly"})
            m_service->setReply(QStringLiteral("/newchart/%1/n/%2.gif").arg(QLatin1String(kind), chartCode), red);
        m_service->setReply(QStringLiteral("/newchart/weekly/n/%1.gif").arg(chartCode), blue);
    }

private slots:
    void init()
    {
        m_service = std::make_unique<QuoteStandIn>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_fake = FakePlatform();
    }
    void cleanup()
    {
        m_form.reset();
        m_tip = nullptr;
        m_dir.reset();
        m_service.reset();
    }

    void windowAndButtons()
    {
        TipForm &tip = start(QStringLiteral("600000"));
        QCOMPARE(tip.windowTitle(), QStringLiteral("趋势查看：K线图 分时图"));
        QCOMPARE(tip.size(), QSize(552, 342));
        QVERIFY(!(tip.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!tip.isModal());
        const QList<QPushButton *> buttons = {tip.Command1, tip.Command2, tip.Command3, tip.Command4};
        const QStringList captions = {QStringLiteral("分时线"), QStringLiteral("日K线"), QStringLiteral("周K线"),
                                      QStringLiteral("月K线")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(buttons[i]->text(), captions[i]);
            QCOMPARE(buttons[i]->objectName(), QStringLiteral("Command%1").arg(i + 1));
            if (i > 0) {
                QVERIFY(buttons[i]->x() - buttons[i - 1]->x() >= 64);
                QVERIFY(buttons[i]->x() > buttons[i - 1]->geometry().right() + 1); // a gap between them
            }
        }
        QCOMPARE(tip.Image1->objectName(), QStringLiteral("Image1"));
        QVERIFY(tip.Image1->y() > tip.Command1->geometry().bottom());
        QVERIFY(tip.rect().contains(tip.Image1->geometry()));
        QVERIFY(tip.Image1->width() >= 545 && tip.Image1->height() >= 300); // the service's chart size
        QVERIFY(!tip.hasPicture());
        QVERIFY(tip.chartCode().isEmpty());
    }

    void chartAddresses_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("path");
        QTest::newRow("600000 daily") << "600000" << 2 << "/newchart/daily/n/sh600000.gif";
        QTest::newRow("000001 intraday") << "000001" << 1 << "/newchart/min/n/sz000001.gif";
        QTest::newRow("300750 weekly") << "300750" << 3 << "/newchart/weekly/n/sz300750.gif";
        QTest::newRow("900901 monthly") << "900901" << 4 << "/newchart/monthly/n/sh900901.gif";
    }
    void chartAddresses()
    {
        QFETCH(QString, code);
        QFETCH(int, button);
        QFETCH(QString, path);
        TipForm &tip = start(code);
        serveCharts(ChartCode(code));
        QList<QPushButton *>{tip.Command1, tip.Command2, tip.Command3, tip.Command4}.at(button - 1)->click();
        QCOMPARE(m_service->requests(), QStringList{path});
        QCOMPARE(tip.chartCode(), ChartCode(code));
        QVERIFY(tip.hasPicture());
        QCOMPARE(tip.Image1->pixmap().size(), button == 3 ? QSize(6, 4) : QSize(8, 8));
    }

    void keepsTheChosenChartForTheSameStock()
    {
        TipForm &tip = start(QStringLiteral("000001"));
        serveCharts(QStringLiteral("sz000001"));
        serveCharts(QStringLiteral("sh600000"));

        tip.show(); // the first showing loads the intraday chart
        QCOMPARE(m_service->requests(), QStringList{QStringLiteral("/newchart/min/n/sz000001.gif")});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));
        QTest::mouseClick(tip.Command3, Qt::LeftButton);
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));

        // Hidden by its close box, shown again, repainted: the weekly chart, no request.
        m_service->clearRequests();
        QVERIFY(!tip.close());
        QVERIFY(!tip.isVisible());
        tip.show();
        tip.repaint();
        QCoreApplication::processEvents();
        QVERIFY(m_service->requests().isEmpty());
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));
        QCOMPARE(tip.chartCode(), QStringLiteral("sz000001"));

        // Another stock in the panel: its intraday chart at the next showing.
        tip.hide();
        m_form->ui().Label54->setText(QStringLiteral("600000"));
        tip.show();
        QCOMPARE(m_service->requests(), QStringList{QStringLiteral("/newchart/min/n/sh600000.gif")});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));
        QCOMPARE(tip.chartCode(), QStringLiteral("sh600000"));
    }

    void failedDownloadLeavesTheAreaEmptyWithoutRetryingInALoop()
    {
        TipForm &tip = start(QStringLiteral("000001"));
        serveCharts(QStringLiteral("sz000001"));
        tip.show();
        QVERIFY(tip.hasPicture());

        // The service loses the daily chart, then answers with something that is no picture.
        m_service->removeReply(QStringLiteral("/newchart/daily/n/sz000001.gif"));
        tip.Command2->click();
        QVERIFY(!tip.hasPicture());
        m_service->setReply(QStringLiteral("/newchart/weekly/n/sz000001.gif"), QByteArray("<html>busy</html>"));
        tip.Command3->click();
        QVERIFY(!tip.hasPicture());
        QVERIFY(m_fake.boxes->shown.isEmpty());

        // Repaints do not retry; the next showing tries the intraday chart once.
        m_service->clearRequests();
        tip.repaint();
        QTest::qWait(50);
        QVERIFY(m_service->requests().isEmpty());
        tip.hide();
        tip.show();
        QCOMPARE(m_service->requests(), QStringList{QStringLiteral("/newchart/min/n/sz000001.gif")});
        QVERIFY(tip.hasPicture());

        // No service at all: empty, no message.
        m_form->network.ChartHost = QStringLiteral("127.0.0.1:1");
        tip.Command4->click();
        QVERIFY(!tip.hasPicture());
        QVERIFY(m_fake.boxes->shown.isEmpty());
    }
};

QTEST_MAIN(TipFormTest)
#include "tst_tip_form.moc"
