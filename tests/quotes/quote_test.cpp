#include "quotes/finance_sites.h"
#include "quotes/http_fetch.h"
#include "quotes/quote.h"

#include "quotes/test_server.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QStringEncoder>

#include <mutex>

using namespace quorvane;

namespace {

using Kind = PanelWrite::Kind;
using Status = ShowQuoteOutcome::Status;

// The last text written to each control, and its last colour, as the window
// would show them after applying the writes in order.
struct Screen
{
    QMap<QString, QString> text;
    QMap<QString, QuoteColour> colour;

    explicit Screen(const QList<PanelWrite> &writes)
    {
        for (const PanelWrite &w : writes) {
            if (w.kind == Kind::Text)
                text[w.objectName] = w.text;
            else
                colour[w.objectName] = w.colour;
        }
    }
};

QStringList objectNames(const QList<PanelWrite> &writes)
{
    QStringList names;
    for (const PanelWrite &w : writes)
        names.append((w.kind == Kind::Colour ? QStringLiteral("colour:") : QString()) + w.objectName);
    return names;
}

const QString Ladder = QStringLiteral("Label64 Label63 Label62 Label61 Label60 Label69 Label68 Label67 Label66 Label65");

TEST(QuoteTest, PrefixAndExchangeFollowTheFirstCharacter)
{
    for (const QString code : {"000001", "300750"}) {
        EXPECT_EQ(MarketPrefix(code), "sz");
        EXPECT_EQ(ExchangeName(code), "深圳交易所");
    }
    for (const QString code : {"600000", "900901", "200002", ""}) {
        EXPECT_EQ(MarketPrefix(code), "sh");
        EXPECT_EQ(ExchangeName(code), "上海交易所");
    }
    EXPECT_TRUE(IsStockCode("600000"));
    EXPECT_TRUE(IsStockCode("1,234 ")) << "six characters that read as a number";
    EXPECT_FALSE(IsStockCode("60000"));
    EXPECT_FALSE(IsStockCode("6000000"));
    EXPECT_FALSE(IsStockCode("60000a"));
}

TEST(QuoteTest, RequestPathEncodesEverythingButLettersAndDigits)
{
    EXPECT_EQ(QuoteUrl("hq.sinajs.cn", "000001"), "http://hq.sinajs.cn/list=sz000001");
    EXPECT_EQ(QuoteUrl("127.0.0.1:18080", "600000"), "http://127.0.0.1:18080/list=sh600000");
    EXPECT_EQ(QuoteUrl("h", " 1,2.3"), "http://h/list=sh%201%2C2%2E3");
    EXPECT_EQ(QuoteUrl("h", "+1234 "), "http://h/list=sh%2B1234%20");
    EXPECT_EQ(QuoteUrl("h", "-￥123"), "http://h/list=sh%2D%EF%BF%A5123");
    EXPECT_EQ(EncodePathText("/../a\r\n b?#"), "%2F%2E%2E%2Fa%0D%0A%20b%3F%23");
}

TEST(QuoteTest, CutKeepsWhatFollowsTheFirstQuoteWithoutQuoteSemicolons)
{
    EXPECT_EQ(CutQuoteText("var hq_str_sh600000=\"浦发银行,10.00,10.01\";\n"), "浦发银行,10.00,10.01\n");
    EXPECT_EQ(CutQuoteText("no quote at all, a,b"), "no quote at all, a,b");
    EXPECT_EQ(CutQuoteText("var x=\"\";\n"), "\n");
    EXPECT_EQ(CutQuoteText("a\"b\";c\";d\"e"), "bcd\"e");
}

TEST(QuoteTest, ShortQuoteTextsChangeNothing)
{
    EXPECT_EQ(ShowQuote(QString(), "600000", true).status, Status::Ignored);
    const QString twenty = QStringLiteral("名称,x,10.00,10.50,aaa"); // 20 characters
    ASSERT_EQ(twenty.size(), 20);
    const ShowQuoteOutcome ignored = ShowQuote(twenty, "600000", true);
    EXPECT_EQ(ignored.status, Status::Ignored);
    EXPECT_TRUE(ignored.writes.isEmpty());
    const ShowQuoteOutcome shown = ShowQuote(twenty + u'a', "600000", true);
    EXPECT_EQ(shown.status, Status::Shown);
}

TEST(QuoteTest, ARiseWritesEveryControlInOrder)
{
    const ShowQuoteOutcome outcome =
        ShowQuote("浦发银行,10.01,10.00,10.50,10.60,9.90,0,0,\n", "600000", true);
    ASSERT_EQ(outcome.status, Status::Shown);
    EXPECT_EQ(objectNames(outcome.writes).join(u' '),
              "Label52 Label53 Label54 Label55 sell_Price " + Ladder
                  + " colour:Label52 colour:Label53 colour:Label54 colour:Label55 Label55");
    const Screen screen(outcome.writes);
    EXPECT_EQ(screen.text["Label52"], "浦发银行");
    EXPECT_EQ(screen.text["Label53"], "上海交易所");
    EXPECT_EQ(screen.text["Label54"], "600000");
    EXPECT_EQ(screen.text["Label55"], "10.50 (5.00%) ↑");
    EXPECT_EQ(screen.text["sell_Price"], "￥10.50");
    EXPECT_EQ(screen.text["Label64"], " 10% ￥11.00");
    EXPECT_EQ(screen.text["Label65"], "-10% ￥9.00");
    for (const QString label : {"Label52", "Label53", "Label54", "Label55"})
        EXPECT_EQ(screen.colour[label], QuoteColour::Rise) << label.toStdString();
    EXPECT_EQ(outcome.writes[3].text, "10.50") << "the field as received comes first";
}

TEST(QuoteTest, FallEqualAndNotYetTraded)
{
    ShowQuoteOutcome fall = ShowQuote("平安银行,10.01,10.00,9.95,10.60,9.90", "000001", false);
    ASSERT_EQ(fall.status, Status::Shown);
    Screen screen(fall.writes);
    EXPECT_EQ(screen.text["Label53"], "深圳交易所");
    EXPECT_EQ(screen.text["Label55"], "9.95 (-0.50%) ↓");
    EXPECT_EQ(screen.colour["Label52"], QuoteColour::Fall);
    EXPECT_FALSE(screen.text.contains("sell_Price")) << "the monitor's refresh leaves the sell price";

    const ShowQuoteOutcome equal = ShowQuote("平安银行,10.01,10.00,10.000,10.60,9.90", "000001", true);
    screen = Screen(equal.writes);
    EXPECT_EQ(screen.text["Label55"], "10.000");
    EXPECT_EQ(screen.colour["Label55"], QuoteColour::WindowText);

    const ShowQuoteOutcome waiting = ShowQuote("平安银行,0.00,10.00,0.00,0.00,0.00", "000001", true);
    ASSERT_EQ(waiting.status, Status::Shown);
    screen = Screen(waiting.writes);
    EXPECT_EQ(screen.text["Label55"], "等待开盘");
    EXPECT_EQ(screen.text["sell_Price"], "￥0.00");
    EXPECT_EQ(screen.text["Label60"], " 2%  ￥10.20");
    EXPECT_EQ(screen.colour["Label54"], QuoteColour::Fall);

    const ShowQuoteOutcome nothing = ShowQuote("停牌股票名称很长,0.00,0.00,0.00,0.00,0.00", "600000", true);
    ASSERT_EQ(nothing.status, Status::Shown);
    screen = Screen(nothing.writes);
    EXPECT_EQ(screen.text["Label55"], "等待开盘");
    EXPECT_EQ(screen.colour["Label55"], QuoteColour::WindowText);
    EXPECT_FALSE(screen.text.contains("Label64")) << "a zero close leaves the ladder";
}

TEST(QuoteTest, AFailureKeepsTheWritesMadeBeforeIt)
{
    const ShowQuoteOutcome short3 = ShowQuote("一个很长的股票名称没有逗号,10.00,10.50", "600000", true);
    EXPECT_EQ(short3.status, Status::Failed);
    EXPECT_EQ(objectNames(short3.writes).join(u' '), "Label52 Label53 Label54");

    const ShowQuoteOutcome badLatest = ShowQuote("浦发银行,10.01,10.00,--,10.60,9.90", "600000", true);
    EXPECT_TRUE(badLatest.failed());
    EXPECT_EQ(objectNames(badLatest.writes).join(u' '), "Label52 Label53 Label54 Label55");

    const ShowQuoteOutcome badLatestRefresh = ShowQuote("浦发银行,10.01,10.00,--,10.60,9.90", "600000", false);
    EXPECT_TRUE(badLatestRefresh.failed());
    EXPECT_EQ(objectNames(badLatestRefresh.writes).join(u' '), "Label52 Label53 Label54 Label55 " + Ladder);

    const ShowQuoteOutcome badPrevious = ShowQuote("浦发银行,10.01,abc,10.50,10.60,9.90", "600000", true);
    EXPECT_TRUE(badPrevious.failed());
    EXPECT_EQ(objectNames(badPrevious.writes).join(u' '), "Label52 Label53 Label54 Label55 sell_Price");

    const ShowQuoteOutcome hugePrice =
        ShowQuote("浦发银行,1,10.00,99999999999999999999999,1,1", "600000", true);
    EXPECT_TRUE(hugePrice.failed());

    // A previous close of zero gives the change no percentage: no infinity on screen.
    const ShowQuoteOutcome zeroClose = ShowQuote("新股上市名称,10.00,0.00,10.50,10.60,9.90", "600000", true);
    EXPECT_TRUE(zeroClose.failed());
    const Screen screen(zeroClose.writes);
    EXPECT_EQ(screen.text["Label55"], "10.50");
    EXPECT_EQ(screen.colour["Label55"], QuoteColour::Rise);
    for (const PanelWrite &w : zeroClose.writes)
        EXPECT_FALSE(w.text.contains("inf") || w.text.contains("nan")) << w.text.toStdString();
}

TEST(QuoteTest, LadderRowsCarryTheirTagAndRoundedPrice)
{
    EXPECT_TRUE(ShowPriceLadder(Money()).isEmpty());
    const QList<PanelWrite> ladder = ShowPriceLadder(MoneyFromText("3.33"));
    ASSERT_EQ(ladder.size(), 10);
    EXPECT_EQ(objectNames(ladder).join(u' '), Ladder);
    EXPECT_EQ(ladder[0].text, " 10% ￥3.66");
    EXPECT_EQ(ladder[1].text, " 8%  ￥3.60");
    EXPECT_EQ(ladder[4].text, " 2%  ￥3.40");
    EXPECT_EQ(ladder[5].text, "-2%  ￥3.26");
    EXPECT_EQ(ladder[9].text, "-10% ￥3.00");
    EXPECT_EQ(ShowPriceLadder(MoneyFromText("1234.56"))[0].text, " 10% ￥1,358.02");
    EXPECT_EQ(QuoteColourRgb(QuoteColour::Fall)->green, 192);
    EXPECT_FALSE(QuoteColourRgb(QuoteColour::WindowText));
}

TEST(QuoteTest, LookUpQuoteRequestsTheEncodedPathOnTheConfiguredHost)
{
    test::TestServer server;
    std::mutex mutex;
    std::string target;
    server.server.Get(R"(/list=.*)", [&](const httplib::Request &req, httplib::Response &res) {
        std::lock_guard lock(mutex);
        target = req.target;
        QStringEncoder gbk("GBK");
        res.set_content(QByteArray(gbk(QStringLiteral("var hq_str_sh600000=\"浦发银行,10.01,10.00,10.50\";\n")))
                            .toStdString(),
                        "text/plain");
    });
    ASSERT_TRUE(server.start());
    const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
    HttpFetch fetch;

    EXPECT_EQ(LookUpQuote(fetch, host, "600000"), QStringLiteral("浦发银行,10.01,10.00,10.50\n"));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(target, "/list=sh600000");
    }
    EXPECT_TRUE(LookUpQuote(fetch, host, "6 /../"));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(target, "/list=sh6%20%2F%2E%2E%2F");
    }
    server.stop();
    EXPECT_EQ(LookUpQuote(fetch, host, "600000"), std::nullopt);
}

TEST(FinanceSiteTest, EachSiteBuildsItsPathAndUnknownNamesFallBackToSina)
{
    EXPECT_EQ(FinanceSiteTable::names(),
              (QStringList{"新浪财经", "网易财经", "搜狐证券", "和讯", "东方财富", "腾讯财经"}));
    EXPECT_EQ(SiteLinkUrl("000001", "东方财富"), "http://quote.eastmoney.com/sz000001.html");
    EXPECT_EQ(SiteLinkUrl("000001", "网易财经"), "http://quotes.money.163.com/quote/000001.html");
    EXPECT_EQ(SiteLinkUrl(" 600000 ", "新浪财经"),
              "http://finance.sina.com.cn/realstock/company/sh600000/nc.shtml");
    EXPECT_EQ(SiteLinkUrl("600000", "搜狐证券"), "http://q.stock.sohu.com/cn/600000/index.shtml");
    EXPECT_EQ(SiteLinkUrl("600000", "和讯"), "http://stockdata.stock.hexun.com/600000.shtml");
    EXPECT_EQ(SiteLinkUrl("600000", "腾讯财经"), "http://stock.finance.qq.com/sstock/ggcx/600000.shtml");
    EXPECT_EQ(SiteLinkUrl("300750", "新浪"), "http://finance.sina.com.cn/realstock/company/sz300750/nc.shtml");
    EXPECT_EQ(SiteLinkUrl("300750", "东方财富 "), SiteLinkUrl("300750", "新浪财经")) << "exact match only";
    EXPECT_EQ(SiteLinkUrl("", "东方财富"), std::nullopt);
    EXPECT_EQ(SiteLinkUrl("60000", "东方财富"), std::nullopt);
    EXPECT_EQ(SiteLinkUrl("+1,234", "和讯"), "http://stockdata.stock.hexun.com/%2B1%2C234.shtml");
    EXPECT_EQ(SiteLinkUrl("1,234 ", "和讯"), std::nullopt) << "five characters once trimmed";
}

TEST(FinanceSiteTest, ChartAddressesOnTheChartHost)
{
    EXPECT_EQ(ChartCode("000001"), "sz000001");
    EXPECT_EQ(ChartUrl("image.sinajs.cn", ChartKind::Daily, ChartCode("600000")),
              "http://image.sinajs.cn/newchart/daily/n/sh600000.gif");
    EXPECT_EQ(ChartUrl("127.0.0.1:9", ChartKind::Intraday, ChartCode("300750")),
              "http://127.0.0.1:9/newchart/min/n/sz300750.gif");
    EXPECT_EQ(ChartUrl("h", ChartKind::Monthly, "sz000001"), "http://h/newchart/monthly/n/sz000001.gif");
}

} // namespace
