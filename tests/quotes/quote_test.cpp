#include "quotes/finance_sites.h"
#include "quotes/quote.h"

#include <gtest/gtest.h>

#include <QMap>

#include <tuple>

using namespace quorvane;

namespace {

using Status = ShowQuoteOutcome::Status;

// The writes in order ("colour:" marks a colour), and what the window shows after them.
struct Screen
{
    QStringList order;
    QMap<QString, QString> text;
    QMap<QString, QuoteColour> colour;

    explicit Screen(const QList<PanelWrite> &writes)
    {
        for (const PanelWrite &w : writes) {
            if (w.kind == PanelWrite::Kind::Text)
                text[w.objectName] = w.text;
            else
                colour[w.objectName] = w.colour;
            order.append((w.kind == PanelWrite::Kind::Text ? "" : "colour:") + w.objectName);
        }
    }
};

const QString Ladder = QStringLiteral("Label64 Label63 Label62 Label61 Label60 Label69 Label68 Label67 Label66 Label65");

TEST(QuoteTest, CodesPrefixesRequestsAndBothServicesRepliesToTheSameQuoteText)
{
    const char *sz = "深圳交易所", *sh = "上海交易所", *bj = "北京交易所";
    for (const auto &[code, prefix, exchange] :
         {std::tuple{"000001", "sz", sz}, {"300750", "sz", sz}, {"600000", "sh", sh}, {"900901", "sh", sh},
          {"", "sh", sh}, {"920000", "bj", bj}, {"920999", "bj", bj}, {"9", "sh", sh}, {"910000", "sh", sh},
          {"290000", "sh", sh}}) {
        EXPECT_EQ(MarketPrefix(code), prefix) << code;
        EXPECT_EQ(ExchangeName(code), exchange) << code;
    }
    EXPECT_TRUE(IsStockCode("600000") && IsStockCode("1,234 ")) << "six characters that read as a number";
    for (const QString bad : {"60000", "6000000", "60000a"})
        EXPECT_FALSE(IsStockCode(bad)) << bad.toStdString();

    // Everything but letters and digits is encoded, so a code can neither break the request nor reach another path.
    EXPECT_EQ(QuoteUrl("hq.sinajs.cn", "000001"), "http://hq.sinajs.cn/list=sz000001");
    EXPECT_EQ(QuoteUrl("h", " 1,2.3"), "http://h/list=sh%201%2C2%2E3");
    EXPECT_EQ(QuoteUrl("h", "-￥123"), "http://h/list=sh%2D%EF%BF%A5123");
    EXPECT_EQ(EncodePathText("/../a\r\n b?#+"), "%2F%2E%2E%2Fa%0D%0A%20b%3F%23%2B");

    EXPECT_EQ(CutQuoteText("var hq_str_sh600000=\"浦发银行,10.00,10.01\";\n"), "浦发银行,10.00,10.01\n");
    EXPECT_EQ(CutQuoteText("no quote at all, a,b"), "no quote at all, a,b");
    EXPECT_EQ(CutQuoteText("a\"b\";c\";d\"e"), "bcd\"e");
    EXPECT_EQ(QuotePath(QuoteFormat::List, {"600000", "000001"}), "/list=sh600000,sz000001");
    EXPECT_EQ(QuotePath(QuoteFormat::Q, {"300750", "600001"}), "/q=sz300750,sh600001");

    const QString qFields = "1~浦发银行~600000~10.50~10.40~10.45" + QString("~0").repeated(24)
        + "~20261204150000~0.10~0.96~10.60~10.30~x";
    const std::tuple<QuoteFormat, QString, std::optional<QHash<QString, QString>>> rows[] = {
        {QuoteFormat::List, "var hq_str_sh600000=\"浦发银行,10.45,10.40\";\nvar hq_str_sz000001=\"\";\n",
         QHash<QString, QString>{{"600000", "浦发银行,10.45,10.40\n"}, {"000001", "\n"}}},
        {QuoteFormat::Q, "v_sh600000=\"" + qFields + "\";\nv_pv_none_match=\"1\";\n",
         QHash<QString, QString>{{"600000", "浦发银行,10.45,10.40,10.50,10.60,10.30"}}},
        {QuoteFormat::Q, "v_pv_none_match=\"1\";\n", QHash<QString, QString>{}},
        // Refusals and error pages are no answer.
        {QuoteFormat::List, "Kinsoku jikou desu!", std::nullopt},
        {QuoteFormat::Q, "<html><body>var a=\"1\";</body></html>", std::nullopt},
        {QuoteFormat::Q, "var hq_str_sh600000=\"浦发银行,10.45\";", std::nullopt},
        {QuoteFormat::List, "", std::nullopt}};
    for (const auto &[format, reply, texts] : rows)
        EXPECT_EQ(QuoteTextsOfReply(format, reply), texts) << reply.toStdString();
}

TEST(QuoteTest, ShowQuoteWritesInOrderAndKeepsTheWritesMadeBeforeAFailure)
{
    const QString twenty = QStringLiteral("名称,x,10.00,10.50,aaa");
    const ShowQuoteOutcome ignored = ShowQuote(twenty, "600000", true);
    EXPECT_TRUE(ignored.status == Status::Ignored && ignored.writes.isEmpty());
    EXPECT_EQ(ShowQuote(twenty + u'a', "600000", true).status, Status::Shown);

    const ShowQuoteOutcome rise = ShowQuote("浦发银行,10.01,10.00,10.50,10.60,9.90,0,0,\n", "600000", true);
    const Screen screen(rise.writes);
    EXPECT_EQ(screen.order.join(u' '), "Label52 Label53 Label54 Label55 sell_Price " + Ladder
                                + " colour:Label52 colour:Label53 colour:Label54 colour:Label55 Label55");
    EXPECT_EQ(rise.writes[3].text, "10.50") << "the field as received comes first";
    EXPECT_EQ((QStringList{screen.text["Label52"], screen.text["Label53"], screen.text["Label54"]}),
              (QStringList{"浦发银行", "上海交易所", "600000"}));

    // The change, its colour, the sell price and the ladder of a rise, a fall, no change and no trade yet. The
    // ladder's ten rows from +10% down to −10%, each rounded as an amount of Money: products whose double lies just
    // below a half cent still round up.
    const char *tenOfTen =
        " 10% ￥11.00| 8%  ￥10.80| 6%  ￥10.60| 4%  ￥10.40| 2%  ￥10.20|-2%  ￥9.80|-4%  ￥9.60|-6%  ￥9.40|-8%  ￥9.20|-10% ￥9.00";
    const std::tuple<const char *, bool, const char *, const char *, const char *, QuoteColour> rows[] = {
        {"浦发银行,10.01,10.00,10.50,10.60,9.90", true, "10.50 (5.00%) ↑", "￥10.50", tenOfTen, QuoteColour::Rise},
        // The monitor's refresh leaves the sell price.
        {"平安银行,10.01,10.00,9.95,10.60,9.90", false, "9.95 (-0.50%) ↓", "-", tenOfTen, QuoteColour::Fall},
        {"平安银行,10.01,10.00,10.000,10.60,9.90", true, "10.000", "￥10.00", tenOfTen, QuoteColour::WindowText},
        // The percentage is rounded once: 0.88496% shows 0.88, not 0.8850 → 0.89.
        {"平安银行,1.13,1.13,1.14,1.14,1.13", true, "1.14 (0.88%) ↑", "￥1.14",
         " 10% ￥1.24| 8%  ￥1.22| 6%  ￥1.20| 4%  ￥1.18| 2%  ￥1.15|-2%  ￥1.11|-4%  ￥1.08|-6%  ￥1.06|-8%  ￥1.04|-10% ￥1.02", QuoteColour::Rise},
        {"平安银行,0.00,10.00,0.00,0.00,0.00", true, "等待开盘", "￥0.00", tenOfTen, QuoteColour::Fall},
        {"平安银行,0.25,0.25,0.25,0.25,0.25", true, "0.25", "￥0.25",
         " 10% ￥0.28| 8%  ￥0.27| 6%  ￥0.27| 4%  ￥0.26| 2%  ￥0.26|-2%  ￥0.25|-4%  ￥0.24|-6%  ￥0.24|-8%  ￥0.23|-10% ￥0.23", QuoteColour::WindowText},
        {"平安银行,1234.56,1234.56,1234.56,1234.56,1234.56", true, "1234.56", "￥1,234.56",
         " 10% ￥1,358.02| 8%  ￥1,333.32| 6%  ￥1,308.63| 4%  ￥1,283.94| 2%  ￥1,259.25|-2%  ￥1,209.87|-4%  ￥1,185.18|-6%  ￥1,160.49|-8%  ￥1,135.80|-10% ￥1,111.10", QuoteColour::WindowText},
        // A zero close leaves the ladder.
        {"停牌股票名称很长,0.00,0.00,0.00,0.00,0.00", true, "等待开盘", "￥0.00", "", QuoteColour::WindowText}};
    for (const auto &[quote, setSellPrice, change, sellPrice, ladder, colour] : rows) {
        const ShowQuoteOutcome outcome = ShowQuote(QString::fromUtf8(quote), "000001", setSellPrice);
        ASSERT_EQ(outcome.status, Status::Shown) << quote;
        const Screen shown(outcome.writes);
        EXPECT_EQ(shown.text["Label53"], "深圳交易所");
        QStringList rungs;
        for (const QString &label : Ladder.split(u' '))
            if (shown.text.contains(label))
                rungs.append(shown.text[label]);
        EXPECT_EQ((QStringList{shown.text["Label55"], shown.text.value("sell_Price", "-"), rungs.join(u'|')}),
                  (QStringList{change, sellPrice, ladder})) << quote;
        EXPECT_EQ(shown.colour.values(), QList<QuoteColour>(4, colour)) << quote;
    }

    const std::tuple<const char *, bool, QString> failures[] = {
        {"一个很长的股票名称没有逗号,10.00,10.50", true, "Label52 Label53 Label54"},
        {"浦发银行,10.01,10.00,--,10.60,9.90", true, "Label52 Label53 Label54 Label55"},
        {"浦发银行,10.01,10.00,--,10.60,9.90", false, "Label52 Label53 Label54 Label55 " + Ladder},
        {"浦发银行,10.01,abc,10.50,10.60,9.90", true, "Label52 Label53 Label54 Label55 sell_Price"}};
    for (const auto &[text, setSellPrice, order] : failures) {
        const ShowQuoteOutcome outcome = ShowQuote(QString::fromUtf8(text), "600000", setSellPrice);
        EXPECT_TRUE(outcome.failed()) << text;
        EXPECT_EQ(Screen(outcome.writes).order.join(u' '), order) << text;
    }
    EXPECT_TRUE(ShowQuote("浦发银行,1,10.00,99999999999999999999999,1,1", "600000", true).failed());

    // A previous close of zero gives the change no percentage: no infinity on screen.
    const ShowQuoteOutcome zeroClose = ShowQuote("新股上市名称,10.00,0.00,10.50,10.60,9.90", "600000", true);
    EXPECT_TRUE(zeroClose.failed());
    EXPECT_EQ(Screen(zeroClose.writes).text["Label55"], "10.50");
    EXPECT_EQ(Screen(zeroClose.writes).colour["Label55"], QuoteColour::Rise);
}

TEST(FinanceSiteTest, SitePagesAndChartsForACode)
{
    EXPECT_EQ(FinanceSiteTable::names(), (QStringList{"新浪财经", "网易财经", "搜狐证券", "和讯", "东方财富", "腾讯财经"}));
    const std::tuple<const char *, const char *, std::optional<QString>> rows[] = {
        {"000001", "东方财富", "http://quote.eastmoney.com/sz000001.html"},
        {"000001", "网易财经", "http://quotes.money.163.com/quote/000001.html"},
        {" 600000 ", "新浪财经", "http://finance.sina.com.cn/realstock/company/sh600000/nc.shtml"},
        {"600000", "搜狐证券", "http://q.stock.sohu.com/cn/600000/index.shtml"},
        {"600000", "和讯", "http://stockdata.stock.hexun.com/600000.shtml"},
        {"600000", "腾讯财经", "http://stock.finance.qq.com/sstock/ggcx/600000.shtml"},
        {"920000", "新浪财经", "http://finance.sina.com.cn/realstock/company/bj920000/nc.shtml"},
        {"300750", "东方财富 ", "http://finance.sina.com.cn/realstock/company/sz300750/nc.shtml"}, // exact names only
        {"+1,234", "和讯", "http://stockdata.stock.hexun.com/%2B1%2C234.shtml"},
        {"1,234 ", "和讯", std::nullopt}, // five characters once trimmed
        {"", "东方财富", std::nullopt}};
    for (const auto &[code, site, url] : rows)
        EXPECT_EQ(SiteLinkUrl(code, site), url) << code << " on " << site;

    EXPECT_EQ(ChartUrl("h.cn", ChartKind::Daily, ChartCode("600000")), "http://h.cn/newchart/daily/n/sh600000.gif");
    EXPECT_EQ(ChartUrl("h:9", ChartKind::Intraday, ChartCode("300750")), "http://h:9/newchart/min/n/sz300750.gif");
    EXPECT_EQ(ChartUrl("h", ChartKind::Monthly, "sz000001"), "http://h/newchart/monthly/n/sz000001.gif");
    EXPECT_EQ(ChartCode("920000"), "bj920000");
}

} // namespace
