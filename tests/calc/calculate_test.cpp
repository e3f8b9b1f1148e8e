#include "calc/calculate.h"
#include "calc/calculation_log.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <csignal>
#include <algorithm>
#include <functional>
#include <tuple>
#include <sys/resource.h>

using namespace quorvane;

namespace {

using Texts = QList<std::pair<QString, QString>>;

// A Shanghai stock at the rates of the worked example, one of them changed when a field is named.
CalculateInputs trade(const char *buyPrice, const char *buyNumber, const char *sellPrice, const char *sellNumber,
                      QString FeeInputs::*fee = nullptr, const QString &feeText = {})
{
    CalculateInputs in{.fees = {}, .buyPrice = buyPrice, .buyNumber = buyNumber, .sellPrice = sellPrice,
                       .sellNumber = sellNumber};
    in.fees.exchange = QStringLiteral("上海交易所");
    if (fee)
        in.fees.*fee = feeText;
    return in;
}

CalculateInputs with(CalculateInputs in, const std::function<void(CalculateInputs &)> &change)
{
    change(in);
    return in;
}

// The rates of 2026: commission 0.25‰ with its minimum 5.00, then the ones "使用现行费率" fills in.
CalculateInputs today(const char *buyPrice, const char *buyNumber, const char *sellPrice, const char *sellNumber)
{
    return with(trade(buyPrice, buyNumber, sellPrice, sellNumber), [](CalculateInputs &in) {
        in.fees = {"0.25", "5.00", "0.01", "0.00", "0.50", "0.00", "0.00", "0.00", true, true, true, true, "上海交易所"};
    });
}

// Buy 1000 at 10.00, sell them at 11.00: the result fields in the order written.
const Texts WorkedExample{
    {"buy_TotalMoney", "￥10,000.00"}, {"buy_Brokerage", "￥30.00"}, {"buy_TansferMoney", "￥1.00"},
    {"buy_Factorage", "￥31.00"}, {"buy_OutOfPocketExpenses", "￥10,031.00"}, {"buy_Cost", "￥10.03"},
    {"buy_BreakEven", "￥10.08"}, {"sell_TotalMoney", "￥11,000.00"}, {"sell_Brokerage", "￥33.00"},
    {"sell_TransferMoney", "￥1.00"}, {"sell_StampDuty", "￥11.00"}, {"sell_Factorage", "￥45.00"},
    {"sell_ReceivedMoney", "￥10,955.00"}, {"sell_ProfitAndLoss", "￥924.00"}, {"sell_Yield", "9.21"}};

// Each row: the fields named, in the order written (whole frames: nothing else), and the Frame3 caption when one
// is given ("-": none, the sell frame keeps what it shows and nothing is logged).
TEST(Calculate, TradesFillTheFieldsInOrder)
{
    const auto noSum = [](CalculateInputs &in) { in.isSumSamePrice = QStringLiteral("0"); };
    const auto noMinimum = [](CalculateInputs &in) { in.fees.minBrokerage = "0"; in.fees.exchange.clear(); };
    const auto rebate = [](CalculateInputs &in) { in.fees.brokerageRatio = "1500"; in.fees.stampDuty = "-600"; };
    const struct
    {
        CalculateInputs in;
        Texts fields;
        const char *caption;
    } rows[] = {
        {trade("￥10.00", "1,000", "￥11.00", "1000"), WorkedExample, "卖出计算（持回价格：￥10.92）"},
        {today("10", "1000", "11", "1000"),
         {{"buy_TotalMoney", "￥10,000.00"}, {"buy_Brokerage", "￥5.00"}, {"buy_TansferMoney", "￥0.10"},
          {"buy_Factorage", "￥5.10"}, {"buy_OutOfPocketExpenses", "￥10,005.10"}, {"buy_Cost", "￥10.01"},
          {"buy_BreakEven", "￥10.02"}, {"sell_TotalMoney", "￥11,000.00"}, {"sell_Brokerage", "￥5.00"},
          {"sell_TransferMoney", "￥0.11"}, {"sell_StampDuty", "￥5.50"}, {"sell_Factorage", "￥10.61"},
          {"sell_ReceivedMoney", "￥10,989.39"}, {"sell_ProfitAndLoss", "￥984.29"}, {"sell_Yield", "9.84"}},
         "卖出计算（持回价格：￥10.98）"},
        // 0.25‰ above the minimum: a rate cut to 0.2‰ or 0.3‰ would give 200.00 or 300.00.
        {today("10", "100000", "0", "0"), {{"buy_Brokerage", "￥250.00"}}, nullptr},
        // Quantities round halves to even.
        {trade("1", "100.5", "0", "0"), {{"buy_TotalMoney", "￥100.00"}}, nullptr},
        {trade("1", "101.5", "0", "0"), {{"buy_TotalMoney", "￥102.00"}}, nullptr},
        // Nothing to pay: the yield is 0.00 rather than a division by zero.
        {with(trade("0", "100", "1", "100"), noMinimum), {{"sell_Yield", "0.00"}}, nullptr},
        // Fees that eat every sale (the stamp duty's minimum stops the rebate), or exactly all of it: no break-even.
        {with(trade("10", "1000", "0", "0"), rebate), {{"buy_BreakEven", "无法保本"}}, nullptr},
        {trade("10", "1000", "0", "0", &FeeInputs::brokerageRatio, "999"), {{"buy_BreakEven", "无法保本"}}, nullptr},
        // The buy-back price only for a sale above the buy price and with the switch on; −2.00 buys nothing back.
        {trade("10", "1000", "10", "1000"), {}, "卖出计算"},
        {with(trade("10", "1000", "11", "1000"), noSum), WorkedExample, "卖出计算"},
        {trade("0.01", "100", "0.05", "100"), {{"sell_ReceivedMoney", "-￥2.00"}}, "卖出计算（持回价格：无）"},
        // No sell side.
        {trade("10", "1000", "￥0.00", "1000"), WorkedExample.first(7), "-"},
        {trade("10", "1000", "￥11.00", "0"), WorkedExample.first(7), "-"},
    };
    for (const auto &[in, fields, caption] : rows) {
        SCOPED_TRACE((QStringList{in.buyPrice, in.buyNumber, in.sellPrice, in.sellNumber}.join(u' ').toStdString()));
        const CalculateOutcome outcome = Calculate(in);
        ASSERT_FALSE(outcome.rejection);
        Texts named;
        for (const auto &written : outcome.fieldTexts)
            if (std::ranges::any_of(fields, [&](const auto &field) { return field.first == written.first; }))
                named.append(written);
        EXPECT_EQ(fields.size() == 15 || fields.size() == 7 ? outcome.fieldTexts : named, fields);
        if (caption) {
            EXPECT_EQ(outcome.frame3Caption.value_or("-"), QString::fromUtf8(caption));
            EXPECT_EQ(outcome.logDue, outcome.frame3Caption.has_value());
        }
    }
}

TEST(Calculate, RejectionsNameTheMessageAndTheField)
{
    const char *zero = "抱歉，买入数量为0，请重新输入", *buyBelow = "抱歉，买入数量小于0，请重新输入",
               *sellAbove = "抱歉，卖出数量大于买入数量，请重新输入", *sellBelow = "抱歉，卖出数量小于0，请重新输入",
               *price = "抱歉，价格不能小于0，请重新输入", *notNumber = "抱歉，请输入正确的数字",
               *range = "抱歉，数值超出计算范围，请重新输入";
    const std::tuple<CalculateInputs, const char *, const char *> rows[] = {
        {trade("￥0.00", "0", "￥0.00", "0"), zero, "buy_Number"}, // the window as it starts
        {trade("10", "-5", "0", "0"), buyBelow, "buy_Number"},
        {trade("10", "1000", "11", "1001"), sellAbove, "sell_Number"},
        {trade("10", "1000", "11", "-100"), sellBelow, "sell_Number"},
        {trade("-10", "1000", "11", "100"), price, "buy_Price"},
        {trade("10", "1000", "￥-11", "0"), price, "sell_Price"},
        // Non-numbers in the order of the fields.
        {trade("x", "1000", "11", "", &FeeInputs::brokerageRatio, "3‰"), notNumber, "buy_BrokerageRatio"},
        {trade("10", "1000", "11", "", &FeeInputs::sellOtherMoney, ""), notNumber, "sell_OtherMoney"},
        {trade("10", "1000", "11", ""), notNumber, "sell_Number"},
        // Texts that do not fit, and texts that fit in products that do not.
        {trade("10", "2147483648", "0", "0"), range, "buy_Number"},
        {trade("10", "1000", "11", "-2,147,483,649"), range, "sell_Number"},
        {trade("9999999999", "1000000", "0", "0"), range, "buy_Price"},
        {trade("10", "1000000", "9999999999", "1000000"), range, "sell_Price"},
        {trade("10", "1000", "11", "1000", &FeeInputs::minStampDuty, QString(25, u'9')), range, "MinStampDuty"},
        // A rate too large to use, read or applied to amounts that fit, is the rate's.
        {trade("100", "1000", "0", "0", &FeeInputs::brokerageRatio, "12345678901234"), range, "buy_BrokerageRatio"},
        {trade("10", "1000000", "1000", "1000000", &FeeInputs::stampDuty, "9000000000"), range, "StampDuty"},
        // 999.999‰ in all: a break-even price beyond every amount.
        {trade("1000000000", "1", "0", "0", &FeeInputs::brokerageRatio, "998.999"), range, "buy_Price"}};
    for (const auto &[in, message, field] : rows) {
        SCOPED_TRACE((QStringList{in.buyPrice, in.buyNumber, in.sellPrice, in.sellNumber}.join(u' ').toStdString()));
        const CalculateOutcome outcome = Calculate(in);
        ASSERT_TRUE(outcome.rejection);
        EXPECT_EQ(outcome.rejection->message, QString::fromUtf8(message));
        EXPECT_EQ(outcome.rejection->focusField, QString::fromUtf8(field));
        EXPECT_TRUE(outcome.fieldTexts.isEmpty());
        EXPECT_FALSE(outcome.frame3Caption);
        EXPECT_FALSE(outcome.logDue);
    }
}

// The window after the worked example, with the stock panel and entry fields.
ControlText window(const QHash<QString, QString> &changes = {})
{
    QHash<QString, QString> texts{{"Label54", "600000"}, {"Label52", "浦发银行"}, {"buy_Price", "￥10.00"},
                                  {"buy_Number", "1000"}, {"sell_Price", "￥11.00"}, {"sell_Number", "1000"}};
    for (const auto &[field, text] : WorkedExample)
        texts.insert(field, text);
    texts.insert(changes);
    return [texts](const QString &name) { return texts.value(name); };
}

// The lines of one entry, decoded from GBK; every line ends with CR LF.
QStringList linesOf(const QByteArray &entry)
{
    EXPECT_TRUE(entry.endsWith("\r\n"));
    EXPECT_EQ(entry.count("\r\n"), entry.count('\n'));
    QStringList lines = QStringDecoder("GBK")(entry).operator QString().split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

QString spaces(int n) { return QString(n, u' '); }

TEST(CalculationLog, SixLinesInGbkThatLineUpUnderTheirHeadersAndNeverCutValues)
{
    const QByteArray entry = BuildCalculationLog(window());
    QList<qsizetype> bytes; // a four-character name fills its column: lines as wide as their headers
    for (const QByteArray &line : entry.split('\n'))
        bytes.append(line.size());
    EXPECT_EQ(bytes, (QList<qsizetype>{168 + 1, 168 + 1, 184 + 1, 184 + 1, 74 + 1, 0 + 1, 0}));
    const QStringList lines = linesOf(entry);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("股票代码        股票名称        买入价格        买入数量        交易金额        "
                                       "佣　　金        过 户 费        总手续费        实付金额        买入成本        保本价格"));
    EXPECT_EQ(lines[2], QStringLiteral("股票代码        股票名称        卖出价格        卖出数量        交易金额        "
                                       "佣　　金        过 户 费        印 花 税        总手续费        实收金额        收 益 率        "
                                       "盈亏金额"));
    EXPECT_EQ(lines[4], QString(74, u'-'));
    EXPECT_EQ(lines[1], spaces(2) + "600000" + spaces(8) + "浦发银行" + spaces(11) + "10.00" + spaces(12) + "1000"
                            + spaces(7) + "10,000.00" + spaces(11) + "30.00" + spaces(12) + "1.00" + spaces(11)
                            + "31.00" + spaces(7) + "10,031.00" + spaces(11) + "10.03" + spaces(11) + "10.08");
    EXPECT_TRUE(lines[3].endsWith(spaces(7) + "10,955.00" + spaces(12) + "9.21" + spaces(10) + "924.00"));

    // No stock in the panel; values that fill their column or more are kept whole, sign and all, one space apart.
    const QStringList empty = linesOf(BuildCalculationLog(window({{"Label54", ""}, {"Label52", "  "},
                                                                  {"sell_ReceivedMoney", "￥1,234,567,890.00"},
                                                                  {"sell_ProfitAndLoss", "-￥1,234,567,890.00"},
                                                                  {"buy_BreakEven", "无法保本"}})));
    ASSERT_EQ(empty.size(), 6);
    EXPECT_TRUE(empty[1].startsWith(spaces(24) + spaces(11) + "10.00"));
    EXPECT_TRUE(empty[1].endsWith(spaces(12) + QStringLiteral("无法保本")));
    EXPECT_TRUE(empty[3].endsWith(QStringLiteral(" 1,234,567,890.00            9.21 -1,234,567,890.00")));
    const QStringList named = linesOf(BuildCalculationLog(window({{"Label52", "一二三四五六七八九十甲乙丙"}})));
    EXPECT_TRUE(named.value(1).startsWith(QStringLiteral("  600000 一二三四五六七八九十甲乙丙           10.00")));
}

TEST(CalculationLog, AppendsWholeEntriesOrTellsWhyNot)
{
    QTemporaryDir folder, blocked;
    for (int n = 0; n < 2; ++n)
        WriteCalculationLog(folder.path(), window());
    QFile log(QDir(folder.path()).filePath("Log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray both = log.readAll(); // two entries of six lines, 790 bytes each
    EXPECT_EQ(both.size(), 2 * 790);
    EXPECT_EQ(both.first(790), both.sliced(790));
    EXPECT_TRUE(both.startsWith("\xB9\xC9\xC6\xB1\xB4\xFA\xC2\xEB        ")) << "股票代码 in GBK";
    // A disk that fills 96 bytes into the third entry (a file-size limit here) takes none of it.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{rlim_t(2 * 790 + 96), old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    EXPECT_EQ(WriteCalculationLog(folder.path(), window()), "磁盘空间不足");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(log.size(), 2 * 790);
    // A folder that does not exist, a log that is a folder, no folder: nothing is written.
    WriteCalculationLog(QDir(folder.path()).filePath("missing"), window());
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("missing/Log.txt")));
    ASSERT_TRUE(QDir(blocked.path()).mkdir("Log.txt"));
    EXPECT_EQ(WriteCalculationLog(blocked.path(), window()), "已有同名的文件夹");
    WriteCalculationLog(QString(), window());
    EXPECT_TRUE(BuildCalculationLog(ControlText()).isEmpty());
}

} // namespace
