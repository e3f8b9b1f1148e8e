// The stock panel against a stand-in quote service: codes typed, picked from
// the list or copied to the clipboard, the quotes shown, the network-error
// rule and the site links.

#include "quote_stand_in.h"

#include "ui/stock_panel.h"
#include "ui/tip_form.h"

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
        activateOther();
        activate();
        QCoreApplication::processEvents(); // the watch runs once the activation is through
    }
    void typeCode(const QString &code) // in one go, as an input method commits it
    {
        ui().StockCode->clear();
        ui().StockCode->insert(code);
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
    }

    void typingACodeFillsPanelLadderAndSellPrice()
    {
        service->setQuote("600519", "贵州茅台", "100.00", "90.00");
        startPanel();
        const QColor rise(255, 0, 0), fall(0, 192, 0);
        const QColor plain = QApplication::palette(ui().Label52).color(QPalette::WindowText);
        const std::tuple<const char *, const char *, const char *, QColor> rows[] = {
            {"10.50", "10.50 (5.00%) ↑", "￥10.50", rise}, {"9.95", "9.95 (-0.50%) ↓", "￥9.95", fall},
            {"10.000", "10.000", "￥10.00", plain}, {"0.000", "等待开盘", "￥0.00", fall}};
        for (const auto &[latest, caption, sellPrice, colour] : rows) {
            // A falling stock first, so that every colour is seen to change.
            typeCode(QStringLiteral("600519"));
            QCOMPARE(ui().Label53->text(), QStringLiteral("上海交易所"));
            QCOMPARE(TextColour(ui().Label52), fall);
            service->setQuote("000001", "平安银行", "10.00", latest);
            service->takeRequests();
            ui().StockCode->clear();
            QTest::keyClicks(ui().StockCode, QStringLiteral("000001"));

            QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/list=sz000001")});
            QCOMPARE(form->PanelCode, QStringLiteral("000001"));
            QCOMPARE((QStringList{ui().Label52->text(), ui().Label53->text(), ui().Label54->text(),
                                  ui().Label55->text(), ui().sell_Price->text()}),
                     (QStringList{"平安银行", "深圳交易所", "000001", caption, sellPrice}));
            QCOMPARE((QStringList{ui().ladderLabel(64)->text(), ui().ladderLabel(60)->text(),
                                  ui().ladderLabel(69)->text(), ui().ladderLabel(65)->text()}),
                     (QStringList{" 10% ￥11.00", " 2%  ￥10.20", "-2%  ￥9.80", "-10% ￥9.00"}));
            for (const QLabel *label : {ui().Label52, ui().Label53, ui().Label54, ui().Label55})
                QCOMPARE(TextColour(label), colour);
            // The sixth character's matches stay in the list.
            QVERIFY(ui().StockList->isVisible());
            QCOMPARE(Lines(ui().StockList).value(0), QStringLiteral("000001 平安银行"));
        }
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
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Plain, "Quorvane", "联网出错，无法取到股票信息，请检查网络是否正常连接！"}}));
        QVERIFY(form->NetErrorShown);

        // No service at all: nothing more is shown, and the panel keeps its texts.
        form->network.QuoteHost = QStringLiteral("127.0.0.1:1");
        ui().Command1->click();
        typeCode(QStringLiteral("000001"));
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(form->PanelCode, QStringLiteral("000001"));
    }

    void searchesTheShippedListAndStepsThroughItWithTheArrowKeys()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        service->setQuote("000002", "万科Ａ", "5.00", "4.90");
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

        QTest::keyClick(ui().StockCode, Qt::Key_Up); // nothing selected: nothing to step back to
        QVERIFY(list->hasFocus());
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(form->defaultButton(), ui().Command1);
        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Down);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000002"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("4.90 (-2.00%) ↓"));
        QCOMPARE(service->takeRequests(), (QStringList{"/list=sz000001", "/list=sz000002"}));
        // From the box again: one line up.
        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Up);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        // Esc closes the list, from the list and from the box, and the box has the keyboard.
        QVERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible() && ui().StockCode->hasFocus());
        typeCode(QStringLiteral("浦发"));
        QTest::keyClick(ui().StockCode, Qt::Key_Escape);
        QVERIFY(!list->isVisible() && ui().StockCode->hasFocus());
        // With the list closed, Esc closes the chart.
        panel->tipForm().show();
        QTest::keyClick(ui().StockCode, Qt::Key_Escape);
        QVERIFY(!panel->tipForm().isVisible());
    }

    // Every copy of a code is looked up once, with one request, at the next
    // activation; a failed lookup again at each activation until it succeeds.
    void clipboardCopiesAreLookedUpOnceEach()
    {
        service->setQuote("000001", "平安银行", "10.00", "10.10");
        service->setQuote("600000", "浦发银行", "10.00", "10.00");
        service->setQuote("000002", "万科Ａ,open,abc,xyz,high,low,more"); // fails
        startPanel();
        ui().StockCode->setText(QStringLiteral("abc"));
        clipboard->put(QStringLiteral("000001"));
        QVERIFY(service->takeRequests().isEmpty()); // not before the window comes up
        comeBack();
        QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/list=sz000001")});
        QCOMPARE(form->PanelCode, QStringLiteral("000001"));
        QCOMPARE((QStringList{ui().StockCode->text(), ui().Label52->text(), ui().sell_Price->text()}),
                 (QStringList{"000001", "平安银行", "￥10.10"}));

        // Repaints and activations without a copy ask nothing, nor do copies that are no code.
        form->repaint();
        comeBack();
        for (const char *text : {"6000001", "60000a"}) {
            clipboard->put(QString::fromLatin1(text));
            comeBack();
        }
        QVERIFY(service->takeRequests().isEmpty());

        // The same code copied again counts, whether the box holds another code or this one.
        typeCode(QStringLiteral("600000"));
        service->takeRequests();
        for (int copy = 0; copy < 2; ++copy) {
            clipboard->put(QStringLiteral("000001"));
            comeBack();
            QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/list=sz000001")});
            QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
            QCOMPARE(form->PanelCode, QStringLiteral("000001"));
        }

        clipboard->put(QStringLiteral("000002"));
        for (int activation = 0; activation < 2; ++activation) {
            comeBack();
            QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/list=sz000002")});
        }
        QCOMPARE(boxes->shown.size(), 1); // the network message once per run
        service->setQuote("000002", "万科Ａ", "5.00", "4.90");
        comeBack();
        comeBack();
        QCOMPARE(service->takeRequests(), QStringList{QStringLiteral("/list=sz000002")});
        QCOMPARE(ui().Label52->text(), QStringLiteral("万科Ａ"));
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
        QCOMPARE(urls->opened, (QList<QUrl>{QUrl("http://quote.eastmoney.com/sz000001.html"),
                                            QUrl("http://quotes.money.163.com/quote/000001.html"),
                                            QUrl("http://finance.sina.com.cn/realstock/company/sz000001/nc.shtml")}));
        QVERIFY(boxes->shown.isEmpty());

        urls->succeeds = false;
        QTest::mouseClick(ui().Label54, Qt::LeftButton);
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Critical, "错误", "调用浏览器错误！"}}));
    }
};

QTEST_MAIN(StockPanelTest)
#include "tst_stock_panel.moc"
