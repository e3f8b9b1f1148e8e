#include "calc/calculate.h"
#include "calc/calculation_log.h"
#include "calc/money.h"
#include "calc/sum_function.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <tuple>
#include <vector>

using namespace quorvane;

namespace {

constexpr std::int64_t Top = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Bottom = std::numeric_limits<std::int64_t>::min();

Money units(std::int64_t n) { return Money::fromUnits(n); }
Money money(const char *text) { return MoneyFromText(QString::fromUtf8(text)); }

TEST(Money, ProductsFeeRatesAndDoublesRoundHalvesToEvenAndNothingWraps)
{
    for (const auto &[a, b, product] : {std::tuple{1LL, 5000LL, 0LL}, {3LL, 5000LL, 2LL}, {-3LL, 5000LL, -2LL},
                                        {1LL, 5001LL, 1LL}, {-1LL, 5001LL, -1LL}})
        EXPECT_EQ(units(a) * units(b), units(product)) << a << " × " << b << " units → " << product;
    const Money big = Money::fromWhole(900000000000000); // its units need a 128-bit product
    EXPECT_EQ(big * units(5000), Money::fromWhole(450000000000000));
    // 1/32 and 3/32 yuan are exact halves of a unit.
    for (const auto &[value, result] : {std::pair{0.03125, 312LL}, {0.09375, 938LL}, {-0.03125, -312LL}})
        EXPECT_EQ(MoneyFromDouble(value), units(result)) << value << " → " << result;

    EXPECT_THROW(big * Money::fromWhole(2), OutOfRangeError);
    EXPECT_THROW(units(Top) + units(1), OutOfRangeError);
    EXPECT_THROW(units(Bottom) - units(1), OutOfRangeError);
    EXPECT_THROW(Money::fromWhole(std::int64_t{1} << 60), OutOfRangeError);
    for (double bad : {1e300, std::numeric_limits<double>::quiet_NaN(), 922337203685477.6})
        EXPECT_THROW(MoneyFromDouble(bad), OutOfRangeError) << bad;

    // Fee rates round the exact product once: 250‰ of two units is half a unit, to even unless a far digit tips it.
    for (const auto &[amount, rate, fee] : {std::tuple{"0.0002", "250", "0"}, {"-0.0006", "250", "-0.0002"},
                                            {"0.0002", "250.000000001", "0.0001"}, {"123.4567", "0.1", "0.0123"},
                                            {"100", "-3.7", "-0.37"}})
        EXPECT_EQ(money(amount) * FeeRateFromPerMilleText(QString::fromUtf8(rate)), money(fee)) << amount << " × " << rate;
    EXPECT_THROW(money("922337203685477") * FeeRateFromPerMilleText(QStringLiteral("1000.1")), OutOfRangeError);
}

TEST(NumberText, FormsConversionsRangeAndTwoDecimalsThatReadBack)
{
    for (const char *good : {"1000", "1,000", "10.5", "￥1,234.50", "-￥1.00", "￥-1.00", "+3", " 12 ", "0",
                             "\t-1,234,567.891\t", ".5", "5.", "12,3456"})
        EXPECT_TRUE(IsNumberText(QString::fromUtf8(good))) << good;
    for (const char *bad : {"", " ", "￥", "-", "3‰", "1,", ",1", "1,,000", "1.2.3", "--1", "-￥-1", "1 000",
                            "1e3", "abc", ".", "￥ 1", "1-", "1,.5", "1, "})
        EXPECT_FALSE(IsNumberText(QString::fromUtf8(bad))) << bad;

    for (const auto &[text, value] : {std::pair{"￥-0.5", -5000LL}, {"1.00005", 10000LL}, {"1.00015", 10002LL},
                                      {"1.000050001", 10001LL}, {"-1.00015", -10002LL},
                                      {"922,337,203,685,477.5807", Top}, {"-922337203685477.5808", Bottom}})
        EXPECT_EQ(money(text), units(value)) << text << " → " << value;
    for (const char *text : {"922337203685477.5808", "99999999999999999999999999"})
        EXPECT_THROW(money(text), OutOfRangeError) << text;
    // Rates keep nine decimals of per mille.
    for (const auto &[text, units] : {std::pair{"-0.085", -85000000LL}, {"0.0000000005", 0LL}, {"0.0000000015", 2LL},
                                      {"9,223,372,036.854775807", Top}})
        EXPECT_EQ(FeeRateFromPerMilleText(QString::fromUtf8(text)).units(), units) << text;
    EXPECT_THROW(FeeRateFromPerMilleText(QStringLiteral("9223372036.854775808")), OutOfRangeError);
    EXPECT_EQ(NumberFromText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    EXPECT_THROW(NumberFromText(QString(400, u'9')), OutOfRangeError);
    // 100.5 → 100 and 101.5 → 102 are checked with the Calculate command.
    for (const auto &[text, count] : {std::pair{"100.50001", 101}, {"-2.5", -2}, {"2147483647", 2147483647},
                                      {"-2147483648", std::numeric_limits<Quantity>::min()}})
        EXPECT_EQ(CountFromText(QString::fromUtf8(text)), count) << text << " → " << count;
    for (const char *text : {"2147483647.5", "-2147483649"})
        EXPECT_THROW(CountFromText(QString::fromUtf8(text)), OutOfRangeError) << text;

    // Two decimals, halves away from zero, read back as shown.
    const std::pair<std::int64_t, const char *> rows[] = {
        {0, "￥0.00"}, {49, "￥0.00"}, {-49, "￥0.00"}, {50, "￥0.01"}, {-150, "-￥0.02"}, {1250, "￥0.13"},
        {-1250, "-￥0.13"}, {100310, "￥10.03"}, {-10000, "-￥1.00"}, {12345000, "￥1,234.50"},
        {9999949, "￥999.99"}, {9999950, "￥1,000.00"}, {12345675000, "￥1,234,567.50"},
        {-12345678900000, "-￥1,234,567,890.00"}, {Bottom, "-￥922,337,203,685,477.58"},
        {Top, "￥922,337,203,685,477.58"}};
    for (const auto &[value, shown] : rows) {
        const QString text = QString::fromUtf8(shown);
        EXPECT_EQ(FormatMoney(units(value)), text) << value << " units → " << shown;
        EXPECT_TRUE(IsNumberText(text)) << shown; // the result fields are read again as numbers
    }
    // 1.005 is really 1.00499…, 999.995 really 999.99500…0045.
    for (const auto &[value, shown] : {std::pair{-0.0, "0.00"}, {0.125, "0.13"}, {-0.125, "-0.13"}, {1.005, "1.00"},
                                       {999.995, "1,000.00"}, {1e20, "100,000,000,000,000,000,000.00"},
                                       {9007199254740994.0, "9,007,199,254,740,994.00"}}) // 2^53 + 2: ×100 is inexact
        EXPECT_EQ(FormatFigure(value), QString::fromUtf8(shown)) << value << " → " << shown;
    // ×100 would overflow: the text still reads back as the value.
    for (const double huge : {-std::numeric_limits<double>::max(), 1.8e307})
        EXPECT_EQ(NumberFromText(FormatFigure(huge)), huge) << FormatFigure(huge).left(12).toStdString();
    EXPECT_EQ(FormatFigure(units(-5000)), QStringLiteral("-0.50"));
    // Typed texts are rounded once, from their digits: never to four decimals first.
    for (const auto &[text, shown] : {std::pair{"1500.6", "1,501"}, {"2.5", "3"}, {"-2.5", "-3"}, {"-0.4", "0"},
                                      {"2.49995", "2"}, {"0.4999", "0"}})
        EXPECT_EQ(FormatWholeNumberText(QString::fromUtf8(text)), QString::fromUtf8(shown)) << text << " → " << shown;
    for (const auto &[text, shown] : {std::pair{"0.004999", "￥0.00"}, {"0.005", "￥0.01"}, {"1.005", "￥1.01"},
                                      {"-0.004", "￥0.00"}, {"￥1,234.5", "￥1,234.50"}, {"-9.995", "-￥10.00"}})
        EXPECT_EQ(FormatMoneyText(QString::fromUtf8(text)), QString::fromUtf8(shown)) << text << " → " << shown;
}

// The worked example's rates on an exchange, with the transfer fee switches of Shanghai, Shenzhen and Beijing.
SumFunction at(const char *exchange, bool shanghai = true, bool shenzhen = false, bool beijing = true)
{
    return SumFunction({.shanghaiTransferFee = shanghai, .shenzhenTransferFee = shenzhen,
                        .beijingTransferFee = beijing, .exchange = exchange});
}

// The display texts of buying 1000 at 10.00 and selling them at 11.00 are
// checked with the Calculate command; here the four decimals the display hides.
TEST(SumFunction, WorkedExamplesMinimumsLotsAndSwitches)
{
    const SumFunction f = at("上海交易所"), lots({.transferMoney = "100.00", .exchange = "上海交易所"}); // 10 a lot
    const SumFunction byAmount({.transferMoney = "0.01", .minTransferMoney = "0.2", .transferByAmount = true,
                                .exchange = "上海交易所"});
    const Money buy = money("10"), sell = money("11");
    const std::tuple<const char *, Money, const char *> rows[] = {
        {"cost 1000 @ 10", f.CostPrice(1000, buy), "10.031"},
        {"yield 1000 → 1000 @ 11", f.YieldPercent(1000, buy, 1000, sell), "9.2114"},
        // Half sold: the buy side is recomputed for 500 shares, the yield's base is not.
        {"commission 500 @ 11", f.Brokerage(500, sell), "16.5"}, {"transfer 500", f.TransferFee(500, sell), "1"},
        {"stamp duty 500 @ 11", f.StampDutyFee(500, sell), "5.5"},
        {"received 500 @ 11", f.SellNet(500, sell), "5477"}, {"paid 500 @ 10", f.BuyTotal(500, buy), "5016"},
        {"profit 500", f.ProfitAndLoss(buy, 500, sell), "461"},
        {"yield 1000 → 500 @ 11", f.YieldPercent(1000, buy, 500, sell), "4.5958"},
        {"commission 100 @ 10 (minimum)", f.Brokerage(100, buy), "5"},
        {"paid 100 @ 10", f.BuyTotal(100, buy), "1006"},
        {"break-even 100 @ 10", f.BreakEvenPrice(100, buy).value(), "10.14"},
        {"transfer 150 (0.20 raised)", f.TransferFee(150, money("8.88")), "1"},
        {"paid 150 @ 8.88", f.BuyTotal(150, money("8.88")), "1338"},
        {"break-even 150 @ 8.88", f.BreakEvenPrice(150, money("8.88")).value(), "8.97"},
        {"1 share = 1 lot", lots.TransferFee(1, buy), "10"}, {"100 shares = 1 lot", lots.TransferFee(100, buy), "10"},
        {"101 shares = 2 lots", lots.TransferFee(101, buy), "20"},
        {"Shenzhen, switch off: paid", at(" 深圳交易所 ").BuyTotal(1000, buy), "10030"},
        {"Shenzhen, switch on", at("深圳交易所", true, true).TransferFee(1000, buy), "1"},
        {"no stock: no minimum", at("").TransferFee(1, buy), "0"},
        {"Shanghai, switch off", at("上海交易所", false).TransferFee(1000, buy), "0"},
        {"Beijing, switch on: paid", at("北京交易所").BuyTotal(1000, buy), "10031"},
        {"Beijing, switch off, the others on", at("北京交易所", true, true, false).TransferFee(1000, buy), "0"},
        {"0.01‰ of 12,345.67", byAmount.TransferFee(1, money("12345.67")), "0.2"}}; // 0.1235 raised
    for (const auto &[name, got, want] : rows)
        EXPECT_EQ(got, money(want)) << name << " → " << want;
}

// The plain search: from start in steps of step until found, given up (none)
// after 2000 steps or below zero.
std::optional<Money> walk(Money start, Money step, const std::function<bool(Money)> &found)
{
    Money x = start;
    for (int k = 1; x >= Money() && k <= 2000; ++k)
        if (x += step; found(x))
            return x >= Money() ? std::optional<Money>(x) : std::nullopt;
    return std::nullopt;
}

// The searches have no 300-step cap: they agree with the plain walk also
// where it takes longer, also with the transfer fee on the amount.
TEST(SumFunction, SearchesAgreeWithTheStepwiseWalkStopWhereProceedsTurnBackAndStayInRange)
{
    const SumFunction cheap({.brokerageRatio = "0.25", .minBrokerage = "0", .transferMoney = "0.01",
                             .minStampDuty = "0", .sellOtherMoney = "0.37", .shenzhenTransferFee = true,
                             .transferByAmount = true, .exchange = "深圳交易所"});
    // 1,700 and 1,800 take over 300 steps for 100 shares; answers over 100 steps away are where galloping bisects.
    std::vector<std::int64_t> prices{17000000, 18000000};
    for (std::int64_t units = 0; units <= 600000; units += units < 2000 ? 137 : 4111)
        prices.push_back(units);
    for (const SumFunction &f : {at("上海交易所"), cheap}) {
        for (Quantity q : {1, 7, 100, 150, 999, 1000, 12345, 250000}) {
            for (std::int64_t units : prices) {
                const Money price = Money::fromUnits(units);
                // "Shows as zero or more" is judged on the display text itself.
                if (const auto walked = walk(price, money("0.01"), [&](Money x) {
                        return NumberFromText(FormatMoney(f.ProfitAndLoss(price, q, x))) >= 0;
                    })) {
                    EXPECT_EQ(f.BreakEvenPrice(q, price), walked) << q << " bought at " << units;
                }
                if (price.isZero())
                    continue;
                const Money net = f.SellNet(q, price);
                const auto back = walk(price, money("-0.01"), [&](Money x) { return f.BuyTotal(q, x) <= net; });
                if (back || price < money("3")) {
                    EXPECT_EQ(f.BuyBackPrice(q, price), back) << q << " sold at " << units;
                }
            }
        }
    }

    // Odd rates make proceeds and cost turn back: the searches stop at the turn,
    // and find answers in narrow windows a gallop would jump over.
    // Proceeds of 1.4 × the amount up to 20,000.00, then 30,000.00 − 0.1 × it:
    // bought at 13.33 (paid 27,994.00) only 20.00 to 20.05 break even.
    const SumFunction turns({.brokerageRatio = "1100", .minBrokerage = "0", .stampDuty = "-1500",
                             .minStampDuty = "-30000", .exchange = "上海交易所"});
    EXPECT_EQ(turns.BreakEvenPrice(1000, money("13.33")), money("20.00"));
    EXPECT_EQ(turns.BreakEvenPrice(1000, money("20.00")), std::nullopt);

    // A cost of 1.00 − 0.5 × the amount down to −33,332.33 at 66,666.67, then
    // the amount − 99,999.00: the −33,101.00 received at 100.00 buys back at 66.21 to 66.89.
    const SumFunction rebate({.brokerageRatio = "-1500", .minBrokerage = "-100000", .sellOtherMoney = "233000",
                              .exchange = "上海交易所"});
    EXPECT_EQ(rebate.BuyBackPrice(1000, money("100")), money("66.89"));

    // A gallop past the answer would leave Money; the answer itself fits.
    const SumFunction dear({.brokerageRatio = "8", .stampDuty = "8", .exchange = "上海交易所"});
    const Money high = dear.BreakEvenPrice(1000000000, money("890000")).value();
    EXPECT_GE(dear.ProfitAndLoss(money("890000"), 1000000000, high), money("-0.0049"));
    EXPECT_LT(dear.ProfitAndLoss(money("890000"), 1000000000, high - money("0.01")), money("-0.0049"));
    // Beyond the range it is an error, not a made-up price.
    EXPECT_THROW(dear.BreakEvenPrice(1000000000, money("910000")), OutOfRangeError);
}

using Texts = QList<std::pair<QString, QString>>;

// A Shanghai stock at the rates of the worked example unless other fees are given.
CalculateInputs trade(const char *buyPrice, const char *buyNumber, const char *sellPrice, const char *sellNumber,
                      const FeeInputs &fees = {.exchange = "上海交易所"}, const char *sumSamePrice = "1")
{
    return {.fees = fees, .buyPrice = buyPrice, .buyNumber = buyNumber, .sellPrice = sellPrice,
            .sellNumber = sellNumber, .isSumSamePrice = sumSamePrice};
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
TEST(Calculate, TradesFillTheFieldsInOrderOrAreRejected)
{
    const char *sh = "上海交易所";
    // The rates of 2026: commission 0.25‰ with its minimum 5.00, then the ones "使用现行费率" fills in.
    const FeeInputs rates2026{"0.25", "5.00", "0.01", "0.00", "0.50", "0.00", "0.00", "0.00", true, true, true, true,
                              "上海交易所"};
    const struct
    {
        CalculateInputs in;
        Texts fields;
        const char *caption;
    } rows[] = {
        {trade("￥10.00", "1,000", "￥11.00", "1000"), WorkedExample, "卖出计算（持回价格：￥10.92）"},
        {trade("10", "1000", "11", "1000", rates2026),
         {{"buy_Brokerage", "￥5.00"}, {"buy_TansferMoney", "￥0.10"}, {"buy_BreakEven", "￥10.02"},
          {"sell_TransferMoney", "￥0.11"}, {"sell_StampDuty", "￥5.50"}, {"sell_ProfitAndLoss", "￥984.29"}},
         "卖出计算（持回价格：￥10.98）"},
        // 0.25‰ above the minimum: a rate cut to 0.2‰ or 0.3‰ would give 200.00 or 300.00.
        {trade("10", "100000", "0", "0", rates2026), {{"buy_Brokerage", "￥250.00"}}, nullptr},
        // Quantities round halves to even.
        {trade("1", "100.5", "0", "0"), {{"buy_TotalMoney", "￥100.00"}}, nullptr},
        {trade("1", "101.5", "0", "0"), {{"buy_TotalMoney", "￥102.00"}}, nullptr},
        // Nothing to pay, with no stock and no minimum: the yield is 0.00 rather than a division by zero.
        {trade("0", "100", "1", "100", {.minBrokerage = "0", .exchange = {}}), {{"sell_Yield", "0.00"}}, nullptr},
        // Fees that eat every sale (the stamp duty's minimum stops the rebate), or exactly all of it: no break-even.
        {trade("10", "1000", "0", "0", {.brokerageRatio = "1500", .stampDuty = "-600", .exchange = sh}),
         {{"buy_BreakEven", "无法保本"}}, nullptr},
        {trade("10", "1000", "0", "0", {.brokerageRatio = "999", .exchange = sh}), {{"buy_BreakEven", "无法保本"}},
         nullptr},
        // The buy-back price only for a sale above the buy price and with the switch on; −2.00 buys nothing back.
        {trade("10", "1000", "10", "1000"), {}, "卖出计算"},
        {trade("10", "1000", "11", "1000", {.exchange = sh}, "0"), WorkedExample, "卖出计算"},
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

    // Rejections name the message and the field to focus; nothing is shown or logged.
    const char *zero = "抱歉，买入数量为0，请重新输入", *buyBelow = "抱歉，买入数量小于0，请重新输入",
               *sellAbove = "抱歉，卖出数量大于买入数量，请重新输入", *sellBelow = "抱歉，卖出数量小于0，请重新输入",
               *price = "抱歉，价格不能小于0，请重新输入", *notNumber = "抱歉，请输入正确的数字",
               *range = "抱歉，数值超出计算范围，请重新输入";
    const std::tuple<CalculateInputs, const char *, const char *> rejections[] = {
        {trade("￥0.00", "0", "￥0.00", "0"), zero, "buy_Number"}, // the window as it starts
        {trade("10", "-5", "0", "0"), buyBelow, "buy_Number"},
        {trade("10", "1000", "11", "1001"), sellAbove, "sell_Number"},
        {trade("10", "1000", "11", "-100"), sellBelow, "sell_Number"},
        {trade("-10", "1000", "11", "100"), price, "buy_Price"},
        {trade("10", "1000", "￥-11", "0"), price, "sell_Price"},
        // Non-numbers in the order of the fields.
        {trade("x", "1000", "11", "", {.brokerageRatio = "3‰", .exchange = sh}), notNumber, "buy_BrokerageRatio"},
        {trade("10", "1000", "11", "", {.sellOtherMoney = "", .exchange = sh}), notNumber, "sell_OtherMoney"},
        {trade("10", "1000", "11", ""), notNumber, "sell_Number"},
        // Texts that do not fit, and texts that fit in products that do not.
        {trade("10", "2147483648", "0", "0"), range, "buy_Number"},
        {trade("10", "1000", "11", "-2,147,483,649"), range, "sell_Number"},
        {trade("9999999999", "1000000", "0", "0"), range, "buy_Price"},
        {trade("10", "1000000", "9999999999", "1000000"), range, "sell_Price"},
        {trade("10", "1000", "11", "1000", {.minStampDuty = QString(25, u'9'), .exchange = sh}), range, "MinStampDuty"},
        // A rate too large to use, read or applied to amounts that fit, is the rate's.
        {trade("100", "1000", "0", "0", {.brokerageRatio = "9999999999", .exchange = sh}), range, "buy_BrokerageRatio"},
        {trade("10", "1000000", "1000", "1000000", {.stampDuty = "9000000000", .exchange = sh}), range, "StampDuty"},
        // 999.999‰ in all: a break-even price beyond every amount.
        {trade("1000000000", "1", "0", "0", {.brokerageRatio = "998.999", .exchange = sh}), range, "buy_Price"}};
    for (const auto &[in, message, field] : rejections) {
        SCOPED_TRACE((QStringList{in.buyPrice, in.buyNumber, in.sellPrice, in.sellNumber}.join(u' ').toStdString()));
        const CalculateOutcome outcome = Calculate(in);
        ASSERT_TRUE(outcome.rejection);
        EXPECT_EQ(outcome.rejection->message, QString::fromUtf8(message));
        EXPECT_EQ(outcome.rejection->focusField, QString::fromUtf8(field));
        EXPECT_TRUE(outcome.fieldTexts.isEmpty() && !outcome.frame3Caption && !outcome.logDue);
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

TEST(CalculationLog, SixLinesInGbkLinedUpUnderTheirHeadersNeverCutAndAppendedWholeOrNotAtAll)
{
    const QByteArray entry = BuildCalculationLog(window());
    // Each line as wide as its header; a four-character name fills its column.
    EXPECT_EQ(linesOf(entry), (QStringList{
        "股票代码        股票名称        买入价格        买入数量        交易金额        佣　　金        过 户 费        总手续费        实付金额        "
        "买入成本        保本价格",
        "  600000        浦发银行           10.00            1000       10,000.00           30.00            "
        "1.00           31.00       10,031.00           10.03           10.08",
        "股票代码        股票名称        卖出价格        卖出数量        交易金额        佣　　金        过 户 费        印 花 税        总手续费        "
        "实收金额        收 益 率        盈亏金额",
        "  600000        浦发银行           11.00            1000       11,000.00           33.00            "
        "1.00           11.00           45.00       10,955.00            9.21          924.00",
        QString(74, u'-'), QString()}));

    // No stock in the panel; values that fill their column or more are kept whole, sign and all, one space apart.
    const QStringList empty = linesOf(BuildCalculationLog(window({{"Label54", ""}, {"Label52", "  "},
                                                                  {"sell_ReceivedMoney", "￥1,234,567,890.00"},
                                                                  {"sell_ProfitAndLoss", "-￥1,234,567,890.00"},
                                                                  {"buy_BreakEven", "无法保本"}})));
    ASSERT_EQ(empty.size(), 6);
    EXPECT_TRUE(empty[1].startsWith(QString(35, u' ') + "10.00"));
    EXPECT_TRUE(empty[1].endsWith(QString(12, u' ') + QStringLiteral("无法保本")));
    EXPECT_TRUE(empty[3].endsWith(QStringLiteral(" 1,234,567,890.00            9.21 -1,234,567,890.00")));
    const QStringList named = linesOf(BuildCalculationLog(window({{"Label52", "一二三四五六七八九十甲乙丙"}})));
    EXPECT_TRUE(named.value(1).startsWith(QStringLiteral("  600000 一二三四五六七八九十甲乙丙           10.00")));

    // Whole entries are appended, or none and the reason is told.
    QTemporaryDir folder, blocked;
    for (int n = 0; n < 2; ++n)
        WriteCalculationLog(folder.path(), window());
    QFile log(QDir(folder.path()).filePath("Log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), entry + entry);
    // A disk that fills 96 bytes into the third entry (a file-size limit here) takes none of it.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{rlim_t(2 * entry.size() + 96), old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    EXPECT_EQ(WriteCalculationLog(folder.path(), window()), "磁盘空间不足");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(log.size(), 2 * entry.size());
    // A folder that does not exist, a log that is a folder, no folder: nothing is written.
    WriteCalculationLog(QDir(folder.path()).filePath("missing"), window());
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("missing/Log.txt")));
    ASSERT_TRUE(QDir(blocked.path()).mkdir("Log.txt"));
    EXPECT_EQ(WriteCalculationLog(blocked.path(), window()), "已有同名的文件夹");
    WriteCalculationLog(QString(), window());
    EXPECT_TRUE(BuildCalculationLog(ControlText()).isEmpty());
}

} // namespace
