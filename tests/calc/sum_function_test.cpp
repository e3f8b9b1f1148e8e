#include "calc/sum_function.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace quorvane;

namespace {

Money money(const char *text) { return MoneyFromText(QString::fromUtf8(text)); }

// The initial rates for a Shanghai stock, with one change.
SumFunction rates(const std::function<void(FeeInputs &)> &change = {})
{
    FeeInputs in;
    in.exchange = QStringLiteral("上海交易所");
    if (change)
        change(in);
    return SumFunction(in);
}

// The display texts of buying 1000 at 10.00 and selling them at 11.00 are
// checked with the Calculate command; here the four decimals the display hides.
TEST(SumFunction, WorkedExamplesMinimumsLotsAndSwitches)
{
    const SumFunction f = rates();
    const SumFunction lots = rates([](FeeInputs &in) { in.transferMoney = QStringLiteral("100.00"); }); // 10 a lot
    const SumFunction rate25 = rates([](FeeInputs &in) { in.brokerageRatio = QStringLiteral("2.5"); });
    const SumFunction shenzhen = rates([](FeeInputs &in) { in.exchange = QStringLiteral(" 深圳交易所 "); });
    const SumFunction shenzhenOn = rates([](FeeInputs &in) {
        in.exchange = QStringLiteral("深圳交易所");
        in.shenzhenTransferFee = true;
    });
    const SumFunction noStock = rates([](FeeInputs &in) { in.exchange.clear(); });
    const SumFunction shanghaiOff = rates([](FeeInputs &in) { in.shanghaiTransferFee = false; });
    const Money buy = money("10"), sell = money("11");
    const std::tuple<const char *, Money, const char *> rows[] = {
        {"cost 1000 @ 10", f.CostPrice(1000, buy), "10.031"},
        {"yield 1000 → 1000 @ 11", f.YieldPercent(1000, buy, 1000, sell), "9.2114"},
        // Half sold: the buy side is recomputed for 500 shares, the yield's base is not.
        {"commission 500 @ 11", f.Brokerage(500, sell), "16.5"}, {"transfer 500", f.TransferFee(500), "1"},
        {"stamp duty 500 @ 11", f.StampDutyFee(500, sell), "5.5"}, {"received", f.SellNet(500, sell), "5477"},
        {"paid 500 @ 10", f.BuyTotal(500, buy), "5016"}, {"profit 500", f.ProfitAndLoss(buy, 500, sell), "461"},
        {"yield 1000 → 500 @ 11", f.YieldPercent(1000, buy, 500, sell), "4.5958"},
        {"commission 100 @ 10 (minimum)", f.Brokerage(100, buy), "5"}, {"paid", f.BuyTotal(100, buy), "1006"},
        {"break-even 100 @ 10", f.BreakEvenPrice(100, buy).value(), "10.14"},
        {"transfer 150 (0.20 raised)", f.TransferFee(150), "1"}, {"paid", f.BuyTotal(150, money("8.88")), "1338"},
        {"break-even 150 @ 8.88", f.BreakEvenPrice(150, money("8.88")).value(), "8.97"},
        {"1 share = 1 lot", lots.TransferFee(1), "10"}, {"100 shares = 1 lot", lots.TransferFee(100), "10"},
        {"101 shares = 2 lots", lots.TransferFee(101), "20"}, {"2.5‰", rate25.Brokerage(1000, buy), "25"},
        {"Shenzhen, switch off: paid", shenzhen.BuyTotal(1000, buy), "10030"},
        {"Shenzhen, switch on", shenzhenOn.TransferFee(1000), "1"},
        {"no stock: no minimum", noStock.TransferFee(1), "0"},
        {"Shanghai, switch off", shanghaiOff.TransferFee(1000), "0"}};
    for (const auto &[name, got, want] : rows)
        EXPECT_EQ(got, money(want)) << name << " → " << want;
}

// The plain searches in steps of 0.01, given up after 2000 steps (none).
// "Shows as zero or more" is judged on the display text itself.
std::optional<Money> stepwiseBreakEven(const SumFunction &f, Quantity q, Money p)
{
    Money x = p;
    for (int k = 1; k <= 2000; ++k)
        if (x += money("0.01"); NumberFromText(FormatMoney(f.ProfitAndLoss(p, q, x))) >= 0)
            return x;
    return std::nullopt;
}

std::optional<Money> stepwiseBuyBack(const SumFunction &f, Quantity q, Money sp)
{
    const Money net = f.SellNet(q, sp);
    Money x = sp;
    for (int k = 1; x >= Money() && k <= 2000; ++k)
        if (x -= money("0.01"); f.BuyTotal(q, x) <= net)
            return x >= Money() ? std::optional<Money>(x) : std::nullopt;
    return std::nullopt;
}

// The searches are not capped at 300 steps as first described: they agree
// with the plain walk also where it takes more.
TEST(SumFunction, SearchesAgreeWithTheStepwiseWalk)
{
    const SumFunction cheap = rates([](FeeInputs &in) {
        in.brokerageRatio = QStringLiteral("0.25");
        in.minBrokerage = in.minStampDuty = QStringLiteral("0");
        in.sellOtherMoney = QStringLiteral("0.37");
        in.exchange = QStringLiteral("深圳交易所");
        in.shenzhenTransferFee = true;
    });
    std::vector<std::int64_t> prices{17000000, 18000000}; // 1,700 and 1,800: over 300 steps for 100 shares
    for (std::int64_t units = 0; units <= 600000; units += units < 2000 ? 137 : 4111)
        prices.push_back(units);
    int breakEvens = 0, buyBacks = 0, far = 0, beyond300 = 0; // far: over 100 steps, where galloping bisects
    for (const SumFunction &f : {rates(), cheap}) {
        for (Quantity q : {1, 7, 100, 150, 999, 1000, 12345, 250000}) {
            for (std::int64_t units : prices) {
                const Money price = Money::fromUnits(units);
                if (const std::optional<Money> walked = stepwiseBreakEven(f, q, price)) {
                    EXPECT_EQ(f.BreakEvenPrice(q, price), walked) << q << " bought at " << units;
                    ++breakEvens;
                    far += *walked - price > money("1");
                    beyond300 += *walked - price > money("3");
                }
                const std::optional<Money> back = price.isZero() ? std::nullopt : stepwiseBuyBack(f, q, price);
                if (back || (!price.isZero() && price < money("3"))) {
                    EXPECT_EQ(f.BuyBackPrice(q, price), back) << q << " sold at " << units;
                    ++buyBacks;
                    far += back && price - *back > money("1");
                    beyond300 += back && price - *back > money("3");
                }
            }
        }
    }
    // The sweep must really exercise both searches.
    EXPECT_GT(breakEvens, 1000);
    EXPECT_GT(buyBacks, 1000);
    EXPECT_GT(far, 100);
    EXPECT_GT(beyond300, 10);
}

TEST(SumFunction, BreakEvenNearTheTopOfTheRange)
{
    // A gallop past the answer would leave Money; the answer itself fits.
    const SumFunction dear = rates([](FeeInputs &in) { in.brokerageRatio = in.stampDuty = QStringLiteral("8"); });
    const Money high = dear.BreakEvenPrice(1000000000, money("890000")).value();
    EXPECT_GE(dear.ProfitAndLoss(money("890000"), 1000000000, high), money("-0.0049"));
    EXPECT_LT(dear.ProfitAndLoss(money("890000"), 1000000000, high - money("0.01")), money("-0.0049"));
    // Beyond the range it is an error, not a made-up price.
    EXPECT_THROW(dear.BreakEvenPrice(1000000000, money("910000")), OutOfRangeError);
}

} // namespace
