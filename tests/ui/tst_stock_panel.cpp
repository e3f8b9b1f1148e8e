// The stock panel against a stand-in quote and chart service: codes typed,
// picked from the list or copied to the clipboard, the quotes shown, the
// network-error rule, the site links, the list's update and the chart window.

#include "quote_stand_in.h"

#include "quotes/stock_list.h"
#include "ui/stock_panel.h"
#include "ui/tip_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

QStringList Texts(std::initializer_list<const QWidget *> shown) // of labels and boxes
{
    QStringList texts;
    for (const QWidget *widget : shown)
        texts.append(widget->property("text").toString());
    return texts;
}
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
        activateOther();
        activate();
        QCoreApplication::processEvents(); // the watch runs once the activation is through
    }
    void typeCode(const QString &code) // in one go, as an input method commits it
    {
        ui().StockCode->clear();
        ui().StockCode->insert(code);
    }

    static QColor PictureColour(const TipForm &tip) { return tip.Image1->pixmap().toImage().pixelColor(0, 0); }

private slots:
    void init() // the panel before the window it works on
    {
        panel.reset();
        reset();
        service = std::make_unique<QuoteStandIn>();
    }

    // The quote's forms and colours are tested elsewhere; here the wiring, the site links,
    // the second service answering when the first refuses, then asked first, a Beijing
    // stock, and 更新股票列表 against the stand-in.
    void typedCodesFillThePanelLinkToSitesAndUpdateTheList()
    {
        service->setQuote("600519", "贵州茅台", "100.00", "90.00");
        service->setQuote("000001", "平安银行", "10.00", "10.50");
        service->setQuote("600000", "浦发银行", "10.00", "10.35");
        service->setQuote("920000", "安徽凤凰", "10.00", "10.00");
        service->setQuote("000002", "万  科Ａ", "7.80", "7.80");
        WriteGbk(path("StockList.txt"), QStringLiteral("000001 旧名 JM\r\n"));
        startPanel(QStringLiteral("DefaultSite=东方财富\r\n"));
        QTest::mouseClick(ui().Label52, Qt::LeftButton); // an empty panel links nowhere
        QTest::keyClicks(ui().StockCode, QStringLiteral("000001"));

        QCOMPARE(service->takeRequests(), QStringList{"/list=sz000001"});
        QCOMPARE(form->PanelCode, QStringLiteral("000001"));
        QCOMPARE(Texts({ui().Label52, ui().Label53, ui().Label54, ui().Label55, ui().sell_Price, ui().ladderLabel(64),
                        ui().ladderLabel(65)}),
                 (QStringList{"平安银行", "深圳交易所", "000001", "10.50 (5.00%) ↑", "￥10.50", " 10% ￥11.00", "-10% ￥9.00"}));
        // The sixth character's matches stay.
        QVERIFY(ui().StockList->isVisible() && Lines(ui().StockList).value(0) == QStringLiteral("000001 旧名"));

        QTest::mouseClick(ui().Label52, Qt::LeftButton);
        QTest::mouseClick(ui().Label55, Qt::LeftButton);
        form->store.DefaultSite = QStringLiteral("no such site");
        QTest::mouseClick(ui().Label53, Qt::LeftButton);
        QTest::mouseClick(ui().Label5, Qt::LeftButton); // a caption is no link
        QCOMPARE(urls->opened, (QList<QUrl>{QUrl("http://quote.eastmoney.com/sz000001.html"),
                                            QUrl("http://quote.eastmoney.com/sz000001.html"),
                                            QUrl("http://finance.sina.com.cn/realstock/company/sz000001/nc.shtml")}));
        urls->succeeds = false;
        QTest::mouseClick(ui().Label54, Qt::LeftButton); // the one box of this test: see the end

        form->network.QuoteHost = service->host() + QStringLiteral("/refused"); // 404 there
        typeCode(QStringLiteral("600000"));
        typeCode(QStringLiteral("600519"));
        QCOMPARE(service->takeRequests(), (QStringList{"/refused/list=sh600000", "/q=sh600000", "/q=sh600519"}));
        QCOMPARE(Texts({ui().Label52, ui().Label55, ui().sell_Price}),
                 (QStringList{"贵州茅台", "90.00 (-10.00%) ↓", "￥90.00"}));

        // A Beijing stock the list lacks: looked up with bj, learned, charged the transfer fee while 京市 is on.
        typeCode(QStringLiteral("920000"));
        QCOMPARE(service->takeRequests(), QStringList{"/q=bj920000"});
        QCOMPARE(StockListTable::load(path("StockList.txt")).search("AH"), QStringList{"920000 安徽凤凰"});
        ui().buy_Price->setText(QStringLiteral("10"));
        ui().buy_Number->setText(QStringLiteral("1000"));
        ui().btn_Sum->click();
        QCOMPARE(ui().buy_TansferMoney->text(), QStringLiteral("￥0.10")); // today's 0.01‰ of the amount
        ui().Check3->setChecked(false);
        ui().btn_Sum->click();
        QCOMPARE(ui().buy_TansferMoney->text(), QStringLiteral("￥0.00"));
        // No network message all along, and the browser that did not start told.
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Critical, "错误", "调用浏览器错误！"}}));

        // 更新股票列表 from the service that answered: every batch asked for, the new codes
        // taken and in use, the user's list written; no service at all changes nothing.
        ui().UpdateStockListMenu->trigger();
        const QStringList batches = service->takeRequests();
        QVERIFY(batches.size() == 18 && batches[0].startsWith(u"/q=sz000001,"));
        QCOMPARE(boxes->shown.last().text, QStringLiteral("股票列表已更新：共 5 只，新增 1 只，更名 1 只，移除 0 只"));
        QCOMPARE(StockListTable::load(path("StockList.txt")).search({}),
                 (QStringList{"000001 平安银行", "000002 万科Ａ", "600000 浦发银行", "600519 贵州茅台", "920000 安徽凤凰"}));
        typeCode(QStringLiteral("WK"));
        QCOMPARE(Lines(ui().StockList), QStringList{"000002 万科Ａ"});
        const QByteArray written = ReadBytes(path("StockList.txt"));
        form->network.QuoteHost = form->network.QuoteHost2 = QStringLiteral("127.0.0.1:1");
        ui().UpdateStockListMenu->trigger();
        QCOMPARE(boxes->shown.last().text, QStringLiteral("无法更新股票列表，请检查网络是否正常连接！"));
        QCOMPARE(ReadBytes(path("StockList.txt")), written);
    }

    void searchesTheShippedListAndStepsThroughItWithTheArrowKeys()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        service->setQuote("000002", "万科Ａ", "5.00", "4.90");
        startPanel();
        QListWidget *list = ui().StockList;
        typeCode(QStringLiteral("浦发"));
        QCOMPARE(Lines(list), QStringList{"600000 浦发银行"});
        for (int press = 0; press < 2; ++press) { // the last line stays selected
            ui().StockCode->setFocus();
            QTest::keyClick(ui().StockCode, Qt::Key_Down);
            QCOMPARE(list->selectedItems().value(0), list->item(0));
        }
        ui().StockCode->clear();
        QVERIFY(list->isHidden());
        service->takeRequests();
        typeCode(QStringLiteral("0000"));
        QCOMPARE(list->count(), 10);
        QCOMPARE(Lines(list).mid(0, 2), (QStringList{"000001 平安银行", "000002 万科Ａ"}));

        QTest::keyClick(ui().StockCode, Qt::Key_Up); // nothing selected: nothing to step back to
        QVERIFY(list->hasFocus() && list->selectedItems().isEmpty());
        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(Texts({ui().StockCode, ui().Label55}), (QStringList{"000002", "4.90 (-2.00%) ↓"}));
        QCOMPARE(service->takeRequests(), (QStringList{"/list=sz000001", "/list=sz000002"}));
        // Esc closes the list, from the list and from the box, and the box has the keyboard.
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible() && ui().StockCode->hasFocus());
        typeCode(QStringLiteral("浦发"));
        QTest::keyClick(ui().StockCode, Qt::Key_Escape);
        QVERIFY(!list->isVisible() && ui().StockCode->hasFocus());
        panel->tipForm().show(); // with the list closed, Esc closes the chart
        QTest::keyClick(ui().StockCode, Qt::Key_Escape);
        QVERIFY(!panel->tipForm().isVisible());
    }

    // Every copy of a code is looked up once, with one request, at the next
    // activation; a failed lookup again at each activation until it succeeds,
    // with the network message once per run.
    void clipboardCopiesAreLookedUpOnceEach()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        service->setQuote("000002", "万科Ａ,open,abc,xyz,high,low,more"); // fails
        startPanel();
        clipboard->put(QStringLiteral("000001"));
        QVERIFY(service->takeRequests().isEmpty()); // not before the window comes up
        comeBack();
        QCOMPARE(service->takeRequests(), QStringList{"/list=sz000001"});
        QCOMPARE(Texts({ui().StockCode, ui().Label52, ui().sell_Price}), (QStringList{"000001", "平安银行", "￥10.10"}));

        // A copy that is no code asks nothing.
        clipboard->put(QStringLiteral("6000001"));
        comeBack();
        QVERIFY(service->takeRequests().isEmpty());
        // The same code copied again counts, also while the box holds it.
        clipboard->put(QStringLiteral("000001"));
        comeBack();
        QCOMPARE(service->takeRequests(), QStringList{"/list=sz000001"});

        // Name and code are written before the fields that are not numbers stop the step.
        clipboard->put(QStringLiteral("000002"));
        for (int activation = 0; activation < 2; ++activation) {
            comeBack();
            QCOMPARE(service->takeRequests(), QStringList{"/list=sz000002"});
        }
        QCOMPARE(Texts({ui().Label52, ui().Label54, ui().Label55, ui().sell_Price}),
                 (QStringList{"万科Ａ", "000002", "xyz", "￥10.10"}));
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Plain, "Quorvane", "联网出错，无法取到股票信息，请检查网络是否正常连接！"}}));
        service->setQuote("000002", "万科Ａ", "5.00", "4.90");
        comeBack();
        comeBack();
        QCOMPARE(service->takeRequests(), QStringList{"/list=sz000002"});

        // No service at all: the panel shows the typed code by its exchange, nothing of the stock before.
        form->network.QuoteHost = form->network.QuoteHost2 = QStringLiteral("127.0.0.1:1");
        typeCode(QStringLiteral("000001"));
        QCOMPARE(Texts({ui().Label52, ui().Label53, ui().Label54, ui().Label55, ui().ladder[4]}),
                 (QStringList{"", "深圳交易所", "000001", "", ""}));
    }

    // The chart window: the chosen chart kept, a failed download tried again only at
    // the next showing, hidden on close; the hover shows it with 鼠标悬停显示图表 on.
    void chartWindowKeepsTheChosenChartAndFollowsTheHover()
    {
        for (const char *kind : {"min", "daily", "weekly", "monthly"}) // the weekly chart blue, the others red
            service->setReply(QStringLiteral("/newchart/%1/n/sz000001.gif").arg(QLatin1String(kind)),
                              TestGif(qstrcmp(kind, "weekly") == 0 ? "tiny2.gif" : "tiny.gif"));
        service->setReply(QStringLiteral("/newchart/min/n/sh600000.gif"), TestGif("tiny.gif"));
        startPanel();
        ui().Label54->setText(QStringLiteral("000001"));
        TipForm &tip = panel->tipForm();
        QCOMPARE(QStringList{tip.windowTitle()} + Texts({tip.Command1, tip.Command2, tip.Command3, tip.Command4}),
                 (QStringList{"趋势查看：K线图 分时图", "分时线", "日K线", "周K线", "月K线"}));
        // The first showing loads the intraday chart; the main window keeps the keyboard.
        tip.show();
        QVERIFY(PictureColour(tip) == QColor(Qt::red) && form->isActiveWindow() && !tip.isActiveWindow());
        // Each button its chart.
        for (QPushButton *button : {tip.Command2, tip.Command4, tip.Command1, tip.Command3})
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(service->takeRequests(),
                 (QStringList{"/newchart/min/n/sz000001.gif", "/newchart/daily/n/sz000001.gif",
                              "/newchart/monthly/n/sz000001.gif", "/newchart/min/n/sz000001.gif",
                              "/newchart/weekly/n/sz000001.gif"}));
        QCOMPARE(PictureColour(tip), QColor(Qt::blue));

        // Hidden by its close box, shown again: the weekly chart, no request.
        QVERIFY(!tip.close() && !tip.isVisible());
        tip.show();
        QVERIFY(service->takeRequests().isEmpty());

        // Another stock in the panel: its intraday chart at the next showing.
        tip.hide();
        ui().Label54->setText(QStringLiteral("600000"));
        tip.show();
        QCOMPARE(service->takeRequests(), QStringList{"/newchart/min/n/sh600000.gif"});
        QCOMPARE(PictureColour(tip), QColor(Qt::red));

        // A download that fails (none served) leaves the area empty, without a message or a retry at repaints.
        tip.Command3->click();
        QVERIFY(!tip.hasPicture() && boxes->shown.isEmpty());
        tip.repaint();
        QTest::qWait(50);
        QCOMPARE(service->takeRequests(), QStringList{"/newchart/weekly/n/sh600000.gif"});
        QTest::keyClick(&tip, Qt::Key_Escape);
        QVERIFY(!tip.isVisible());

        ui().Label52->setText(QStringLiteral("平安银行"));
        for (const char *showPicture : {"0", "1"}) {
            form->store.showPicture = QLatin1String(showPicture);
            panel->Timer1_Timer();
            QCOMPARE(tip.isVisible(), showPicture[0] == '1');
        }
        // That showing tried the failed chart's stock again.
        QVERIFY(service->takeRequests() == QStringList{"/newchart/min/n/sh600000.gif"} && tip.hasPicture());
    }
};

QTEST_MAIN(StockPanelTest)
#include "tst_stock_panel.moc"
