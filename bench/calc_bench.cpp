#include "calc/calculate.h"

#include <benchmark/benchmark.h>

namespace {

quorvane::CalculateInputs trade(const QString &buyPrice, const QString &buyNumber, const QString &sellPrice,
                                const QString &sellNumber)
{
    quorvane::CalculateInputs in;
    in.fees.exchange = QStringLiteral("上海交易所");
    in.buyPrice = buyPrice;
    in.buyNumber = buyNumber;
    in.sellPrice = sellPrice;
    in.sellNumber = sellNumber;
    return in;
}

// One whole command: checks, both sides, break-even, buy-back, display texts.
void calculate(benchmark::State &state, const quorvane::CalculateInputs &in)
{
    for (auto _ : state) {
        quorvane::CalculateOutcome outcome = quorvane::Calculate(in);
        benchmark::DoNotOptimize(outcome);
    }
}

void BM_Calculate_1000At10(benchmark::State &state)
{
    calculate(state, trade(QStringLiteral("￥10.00"), QStringLiteral("1,000"), QStringLiteral("￥11.00"),
                           QStringLiteral("1,000")));
}
BENCHMARK(BM_Calculate_1000At10);

void BM_Calculate_100At1700(benchmark::State &state)
{
    calculate(state, trade(QStringLiteral("￥1,700.00"), QStringLiteral("100"), QStringLiteral("￥1,800.00"),
                           QStringLiteral("100")));
}
BENCHMARK(BM_Calculate_100At1700);

// Today's rates: 0.25‰ commission, the transfer fee on the amount.
void BM_Calculate_1000At10Today(benchmark::State &state)
{
    quorvane::CalculateInputs in = trade(QStringLiteral("￥10.00"), QStringLiteral("1,000"), QStringLiteral("￥11.00"),
                                         QStringLiteral("1,000"));
    in.fees.brokerageRatio = QStringLiteral("0.25");
    in.fees.stampDuty = QStringLiteral("0.50");
    in.fees.transferMoney = QStringLiteral("0.01");
    in.fees.minStampDuty = in.fees.minTransferMoney = QStringLiteral("0.00");
    in.fees.transferByAmount = in.fees.shenzhenTransferFee = true;
    calculate(state, in);
}
BENCHMARK(BM_Calculate_1000At10Today);

void BM_FormatMoney(benchmark::State &state)
{
    quorvane::Money value = quorvane::Money::fromUnits(123456789012);
    for (auto _ : state) {
        QString text = quorvane::FormatMoney(value);
        benchmark::DoNotOptimize(text);
        value = quorvane::Money::fromUnits(value.units() + 1);
    }
}
BENCHMARK(BM_FormatMoney);

} // namespace

BENCHMARK_MAIN();
