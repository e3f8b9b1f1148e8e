// The stock panel against a stand-in quote service: codes typed, picked from
// the list or copied to the clipboard, the quotes shown, the network-error
// rule and the site links.

#include "quote_stand_in.h"

#include "ui/stock_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

QColor TextColour(const QLabel *label) { return label->palette().color(QPalette::WindowText); }

QStringList Lines(const QListWidget *list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines.append(list->item(row)->text());
    return lines;
}

} // namespace

class StockPanelTest : public QObject, WindowFixture
{
    Q_OBJECT

    std::unique_ptr<QuoteStandIn> service;
    std::unique_ptr<StockPanel> panel;

    void startPanel(const QString &monitoring = {})
    {
        service->configure(path("setup.ini"), monitoring);
        start(false);
        panel = std::make_unique<StockPanel>(*form);
        activate();
    }
    // The window loses the activation and gets it back, as after the user worked elsewhere.
    void comeBack()
    {
        QWidget other;
        other.resize(50, 50);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        activate();
        QCoreApplication::processEvents(); // the watch runs once the activation is through
    }
    void typeCode(const QString &code) // in one go, as an input method commits it
    {
        ui().StockCode->clear();
        ui().StockCode->insert(code);
    }
    qsizetype netErrors() const
    {
        return boxes->shown.count({ShownBox::Plain, "Quorvane", "联网出错，无法取到股票信息，请检查网络是否正常连接！"});
    }

private slots:
    void init()
    {
        reset();
        service = std::make_unique<QuoteStandIn>();
    }
    void cleanup()
    {
        panel.reset();
        form.reset();
        service.reset();
    }

    void typingACodeFillsPanelLadderAndSellPrice_data()
    {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("sellPrice");
        QTest::addColumn<QColor>("colour"); // invalid: the window-text colour
        QTest::newRow("10.00 → 10.50 rises") << "10.50" << "10.50 (5.00%) ↑" << "￥10.50" << QColor(255, 0, 0);
        QTest::newRow("10.00 → 9.95 falls") << "9.95" << "9.95 (-0.50%) ↓" << "￥9.95" << QColor(0, 192, 0);
        QTest::newRow("10.00 → 10.000 unchanged") << "10.000" << "10.000" << "￥10.00" << QColor();
        QTest::newRow("0.000 waits for the opening") << "0.000" << "等待开盘" << "￥0.00" << QColor(0, 192, 0);
    }
    void typingACodeFillsPanelLadderAndSellPrice()
    {
        QFETCH(QString, latest);
        QFETCH(QString, caption);
        QFETCH(QString, sellPrice);
        QFETCH(QColor, colour);
        // A falling stock first, so that every colour is seen to change.
        service->setQuote("600519", "贵州茅台", "100.00", "90.00");
        service->setQuote("000001", "平安银行", "10.00", latest);
        startPanel();
        typeCode(QStringLiteral("600519"));
        QCOMPARE(ui().Label53->text(), QStringLiteral("上海交易所"));
        QCOMPARE(TextColour(ui().Label52), QColor(0, 192, 0));
        service->clearRequests();
        ui().StockCode->clear();
        QTest::keyClicks(ui().StockCode, QStringLiteral("000001"));

        QCOMPARE(service->requests(), QStringList{QStringLiteral("/list=sz000001")});
        QCOMPARE(form->PanelCode, QStringLiteral("000001"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));
        QCOMPARE(ui().Label53->text(), QStringLiteral("深圳交易所"));
        QCOMPARE(ui().Label54->text(), QStringLiteral("000001"));
        QCOMPARE(ui().Label55->text(), caption);
        QCOMPARE(ui().sell_Price->text(), sellPrice);
        QCOMPARE(ui().ladderLabel(64)->text(), QStringLiteral(" 10% ￥11.00"));
        QCOMPARE(ui().ladderLabel(60)->text(), QStringLiteral(" 2%  ￥10.20"));
        QCOMPARE(ui().ladderLabel(69)->text(), QStringLiteral("-2%  ￥9.80"));
        QCOMPARE(ui().ladderLabel(65)->text(), QStringLiteral("-10% ￥9.00"));
        const QColor expected = colour.isValid() ? colour : QApplication::palette(ui().Label52).color(QPalette::WindowText);
        for (const QLabel *label : {ui().Label52, ui().Label53, ui().Label54, ui().Label55})
            QCOMPARE(TextColour(label), expected);
        // The sixth character's matches stay in the list.
        QVERIFY(ui().StockList->isVisible());
        QCOMPARE(Lines(ui().StockList).value(0), QStringLiteral("000001 平安银行"));
        QVERIFY(boxes->shown.isEmpty());
    }

    void failedLookupsShowTheMessageOncePerRun()
    {
        // Name and code are written before the fields that are not numbers stop the step.
        service->setQuote("600000", "浦发银行,open,abc,xyz,high,low,more");
        startPanel();
        ui().sell_Price->setText(QStringLiteral("￥1.00"));
        QTest::keyClicks(ui().StockCode, QStringLiteral("600000"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(ui().Label54->text(), QStringLiteral("600000"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("xyz"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥1.00"));
        QCOMPARE(netErrors(), 1);
        QVERIFY(form->NetErrorShown);

        // No service at all: nothing more is shown, and the panel keeps its texts.
        form->network.QuoteHost = QStringLiteral("127.0.0.1:1");
        ui().Command1->click();
        typeCode(QStringLiteral("000001"));
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(form->PanelCode, QStringLiteral("000001"));
    }

    void searchesTheShippedList()
    {
        startPanel();
        QListWidget *list = ui().StockList;
        typeCode(QStringLiteral("浦发"));
        QCOMPARE(Lines(list), QStringList{QStringLiteral("600000 浦发银行")});
        QVERIFY(list->isVisible());
        typeCode(QStringLiteral("PFYH"));
        QCOMPARE(Lines(list), QStringList{QStringLiteral("600000 浦发银行")});
        typeCode(QStringLiteral("0000"));
        QCOMPARE(list->count(), 10);
        QCOMPARE(Lines(list).mid(0, 2), (QStringList{"000001 平安银行", "000002 万科Ａ"}));

        typeCode(QStringLiteral("6000001")); // seven digits: no lookup, no match
        QVERIFY(!list->isVisible());
        QVERIFY(service->requests().isEmpty());
    }

    void arrowKeysStepThroughTheListAndLookEachUp()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        service->setQuote("000002", "万科Ａ", "5.00", "4.90");
        startPanel();
        QListWidget *list = ui().StockList;
        QTest::keyClicks(ui().StockCode, QStringLiteral("0000"));
        QTest::keyClick(ui().StockCode, Qt::Key_Up); // nothing selected: nothing to step back to
        QVERIFY(list->hasFocus());
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(form->defaultButton(), ui().Command1);

        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Down);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000002"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("4.90 (-2.00%) ↓"));
        QCOMPARE(service->requests(), (QStringList{"/list=sz000001", "/list=sz000002"}));

        // From the box again: one line up.
        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Up);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
    }

    void clipboardCodeIsShownOnce()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        startPanel();
        ui().StockCode->setText(QStringLiteral("abc"));
        clipboard->put(QStringLiteral("000001"));
        QVERIFY(service->requests().isEmpty()); // not before the window comes up
        comeBack();
        // One lookup by the watch, one by the code box taking the code.
        QCOMPARE(service->requests(), (QStringList{"/list=sz000001", "/list=sz000001"}));
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥10.10"));

        // Repaints and later activations make no request for the same text, nor for what is no code.
        service->clearRequests();
        form->repaint();
        comeBack();
        for (const char *text : {"000001", "6000001", "60000a"}) {
            clipboard->put(QString::fromLatin1(text));
            comeBack();
        }
        QVERIFY(service->requests().isEmpty());
    }

    void siteLinks()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        startPanel(QStringLiteral("DefaultSite=东方财富\r\n"));
        QTest::mouseClick(ui().Label52, Qt::LeftButton); // an empty panel links nowhere
        QVERIFY(urls->opened.isEmpty());

        typeCode(QStringLiteral("000001"));
        QTest::mouseClick(ui().Label52, Qt::LeftButton);
        form->store.DefaultSite = QStringLiteral("网易财经");
        QTest::mouseClick(ui().Label55, Qt::LeftButton);
        form->store.DefaultSite = QStringLiteral("no such site");
        QTest::mouseClick(ui().Label53, Qt::LeftButton);
        QTest::mouseClick(ui().Label5, Qt::LeftButton); // a caption is no link
        QCOMPARE(urls->opened, (QList<QUrl>{QUrl(QStringLiteral("http://quote.eastmoney.com/sz000001.html")),
                                            QUrl(QStringLiteral("http://quotes.money.163.com/quote/000001.html")),
                                            QUrl(QStringLiteral("http://finance.sina.com.cn/realstock/company/"
                                                                "sz000001/nc.shtml"))}));
        QVERIFY(boxes->shown.isEmpty());

        urls->succeeds = false;
        QTest::mouseClick(ui().Label54, Qt::LeftButton);
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Critical, "错误", "调用浏览器错误！"}}));
    }
};

QTEST_MAIN(StockPanelTest)
#include "tst_stock_panel.moc"
