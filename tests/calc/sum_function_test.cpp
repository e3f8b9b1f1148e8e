#include "calc/sum_function.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

Money money(const char *text)
{
    return MoneyFromText(QString::fromUtf8(text));
}

FeeInputs shanghai()
{
    FeeInputs in;
    in.exchange = QStringLiteral("上海交易所");
    return in;
}

// The plain searches as first described: steps of 0.01, at most 300 of them.
// None means the walk gave up (cap reached, or a negative buy-back candidate).
std::optional<Money> stepwiseBreakEven(const SumFunction &f, Quantity q, Money p)
{
    Money x = p;
    for (int k = 1; k <= 300; ++k) {
        x += money("0.01");
        // "Shows as zero or more": judged on the display text itself.
        if (NumberFromText(FormatMoney(f.ProfitAndLoss(p, q, x))) >= 0)
            return x;
    }
    return std::nullopt;
}

std::optional<Money> stepwiseBuyBack(const SumFunction &f, Quantity q, Money sp)
{
    const Money net = f.SellNet(q, sp);
    Money x = sp;
    for (int k = 1; x >= Money() && k <= 300; ++k) {
        x -= money("0.01");
        if (f.BuyTotal(q, x) <= net)
            return x >= Money() ? std::optional<Money>(x) : std::nullopt;
    }
    return std::nullopt;
}

TEST(SumFunction, WorkedExampleBuyAndSell1000)
{
    const SumFunction f(shanghai());
    const Money buy = money("10.00");
    EXPECT_EQ(f.TradeAmount(1000, buy), money("10000"));
    EXPECT_EQ(f.Brokerage(1000, buy), money("30"));
    EXPECT_EQ(f.TransferFee(1000), money("1"));
    EXPECT_EQ(f.BuyFees(1000, buy), money("31"));
    EXPECT_EQ(f.BuyTotal(1000, buy), money("10031"));
    EXPECT_EQ(f.CostPrice(1000, buy), money("10.031"));
    EXPECT_EQ(f.BreakEvenPrice(1000, buy), money("10.08"));

    const Money sell = money("11.00");
    EXPECT_EQ(f.TradeAmount(1000, sell), money("11000"));
    EXPECT_EQ(f.Brokerage(1000, sell), money("33"));
    EXPECT_EQ(f.StampDutyFee(1000, sell), money("11"));
    EXPECT_EQ(f.SellFees(1000, sell), money("45"));
    EXPECT_EQ(f.SellNet(1000, sell), money("10955"));
    EXPECT_EQ(f.ProfitAndLoss(buy, 1000, sell), money("924"));
    EXPECT_EQ(f.YieldPercent(1000, buy, 1000, sell), money("9.2114"));
    EXPECT_EQ(f.BuyBackPrice(1000, sell), money("10.92"));

    // Half sold: the buy side is recomputed for 500 shares, the yield's base is not.
    EXPECT_EQ(f.Brokerage(500, sell), money("16.5"));
    EXPECT_EQ(f.TransferFee(500), money("1"));
    EXPECT_EQ(f.StampDutyFee(500, sell), money("5.5"));
    EXPECT_EQ(f.SellNet(500, sell), money("5477"));
    EXPECT_EQ(f.BuyTotal(500, buy), money("5016"));
    EXPECT_EQ(f.ProfitAndLoss(buy, 500, sell), money("461"));
    EXPECT_EQ(f.YieldPercent(1000, buy, 500, sell), money("4.5958"));
}

TEST(SumFunction, MinimumsAndLots)
{
    const SumFunction f(shanghai());
    EXPECT_EQ(f.Brokerage(100, money("10")), money("5"));
    EXPECT_EQ(f.BuyTotal(100, money("10")), money("1006"));
    EXPECT_EQ(f.BreakEvenPrice(100, money("10")), money("10.14"));
    EXPECT_EQ(f.TransferFee(150), money("1")); // 2 lots make 0.20, raised to the minimum
    EXPECT_EQ(f.BuyTotal(150, money("8.88")), money("1338"));
    EXPECT_EQ(f.BreakEvenPrice(150, money("8.88")), money("8.97"));

    FeeInputs dear = shanghai();
    dear.transferMoney = QStringLiteral("100.00"); // 10.00 per started 100 shares
    const SumFunction lots(dear);
    EXPECT_EQ(lots.TransferFee(1), money("10"));
    EXPECT_EQ(lots.TransferFee(100), money("10"));
    EXPECT_EQ(lots.TransferFee(101), money("20"));

    FeeInputs rate25 = shanghai();
    rate25.brokerageRatio = QStringLiteral("2.5");
    rate25.minBrokerage = QStringLiteral("0");
    EXPECT_EQ(SumFunction(rate25).Brokerage(1000, money("10")), money("25"));
}

TEST(SumFunction, TransferFeeFollowsTheExchangeAndItsSwitch)
{
    FeeInputs in = shanghai();
    in.exchange = QStringLiteral(" 深圳交易所 ");
    EXPECT_EQ(SumFunction(in).BuyTotal(1000, money("10")), money("10030"));
    in.shenzhenTransferFee = true;
    EXPECT_EQ(SumFunction(in).TransferFee(1000), money("1"));
    in.exchange.clear();
    EXPECT_EQ(SumFunction(in).TransferFee(1), Money()); // no minimum without a stock
    in.exchange = QStringLiteral("上海交易所");
    in.shanghaiTransferFee = false;
    EXPECT_EQ(SumFunction(in).TransferFee(1000), Money());
}

TEST(SumFunction, SearchesGoBeyond300StepsAndSayWhenNothingPasses)
{
    const SumFunction f(shanghai());
    // Buy 100 at 1,700.00: a walk capped at 300 steps would stop at 1,703.00.
    const Money buy = money("1700");
    const std::optional<Money> even = f.BreakEvenPrice(100, buy);
    ASSERT_TRUE(even);
    EXPECT_GT(*even, money("1711"));
    EXPECT_LT(*even, money("1713"));
    EXPECT_GE(NumberFromText(FormatMoney(f.ProfitAndLoss(buy, 100, *even))), 0);
    EXPECT_LT(NumberFromText(FormatMoney(f.ProfitAndLoss(buy, 100, *even - money("0.01")))), 0);

    const std::optional<Money> back = f.BuyBackPrice(100, money("1800"));
    ASSERT_TRUE(back);
    EXPECT_LT(*back, money("1797"));
    EXPECT_LE(f.BuyTotal(100, *back), f.SellNet(100, money("1800")));
    EXPECT_GT(f.BuyTotal(100, *back + money("0.01")), f.SellNet(100, money("1800")));

    // Received −2.00 buys nothing back at any price of 0.00 or more.
    EXPECT_EQ(f.SellNet(100, money("0.05")), money("-2"));
    EXPECT_EQ(f.BuyBackPrice(100, money("0.05")), std::nullopt);

    // 100% taken by commission and stamp duty: no price ever breaks even.
    FeeInputs greedy = shanghai();
    greedy.brokerageRatio = QStringLiteral("600");
    greedy.stampDuty = QStringLiteral("400");
    EXPECT_EQ(SumFunction(greedy).BreakEvenPrice(1000, money("10")), std::nullopt);
}

TEST(SumFunction, SearchesAgreeWithTheStepwiseWalk)
{
    FeeInputs cheap;
    cheap.brokerageRatio = QStringLiteral("0.25");
    cheap.minBrokerage = QStringLiteral("0");
    cheap.minStampDuty = QStringLiteral("0");
    cheap.sellOtherMoney = QStringLiteral("0.37");
    cheap.exchange = QStringLiteral("深圳交易所");
    cheap.shenzhenTransferFee = true;
    const std::vector<FeeInputs> rateSets{shanghai(), cheap};
    const std::vector<Quantity> quantities{1, 7, 100, 150, 999, 1000, 12345, 250000};

    int breakEvenCompared = 0;
    int farCompared = 0; // walks of more than 100 steps, where galloping bisects
    int buyBackCompared = 0;
    for (const FeeInputs &rates : rateSets) {
        const SumFunction f(rates);
        for (Quantity q : quantities) {
            for (std::int64_t units = 0; units <= 600000; units += units < 2000 ? 137 : 4111) {
                const Money price = Money::fromUnits(units);
                const std::optional<Money> walked = stepwiseBreakEven(f, q, price);
                if (walked) {
                    EXPECT_EQ(f.BreakEvenPrice(q, price), walked) << q << " at " << units;
                    ++breakEvenCompared;
                    farCompared += *walked - price > money("1");
                }
                if (price.isZero())
                    continue;
                const std::optional<Money> back = stepwiseBuyBack(f, q, price);
                if (back || price < money("3")) {
                    EXPECT_EQ(f.BuyBackPrice(q, price), back) << q << " sold at " << units;
                    ++buyBackCompared;
                    farCompared += back && price - *back > money("1");
                }
            }
        }
    }
    // The sweep must really exercise both searches.
    EXPECT_GT(breakEvenCompared, 1000);
    EXPECT_GT(buyBackCompared, 1000);
    EXPECT_GT(farCompared, 100);
}

TEST(SumFunction, RatesThatDoNotFitNameTheirField)
{
    FeeInputs in = shanghai();
    in.stampDuty = QStringLiteral("99999999999999999999");
    try {
        SumFunction f(in);
        FAIL() << "accepted a rate beyond Money";
    } catch (const RateOutOfRangeError &error) {
        EXPECT_EQ(error.field(), QStringLiteral("StampDuty"));
    }
    in = shanghai();
    in.sellOtherMoney = QString(30, u'9');
    EXPECT_THROW(SumFunction{in}, RateOutOfRangeError);
}

TEST(SumFunction, BreakEvenNearTheTopOfTheRange)
{
    // A gallop past the answer would leave Money; the answer itself fits.
    FeeInputs dear = shanghai();
    dear.brokerageRatio = QStringLiteral("8");
    dear.stampDuty = QStringLiteral("8");
    const SumFunction f(dear);
    const Money buy = money("890000");
    const std::optional<Money> even = f.BreakEvenPrice(1000000000, buy);
    ASSERT_TRUE(even);
    EXPECT_GE(f.ProfitAndLoss(buy, 1000000000, *even), money("-0.0049"));
    EXPECT_LT(f.ProfitAndLoss(buy, 1000000000, *even - money("0.01")), money("-0.0049"));
    // Beyond the range it is an error, not a made-up price.
    EXPECT_THROW(f.BreakEvenPrice(1000000000, money("910000")), OutOfRangeError);
}

} // namespace
} // namespace quorvane
