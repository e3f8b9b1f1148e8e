#include "sum_function.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr std::int64_t Cent = Money::UnitsPerYuan / 100; // one price step, 0.01

// Reads one rate text; a value that does not fit names its field.
template <typename Read>
auto readRate(const QString &text, const char *field, Read read)
{
    try {
        return read(text);
    } catch (const OutOfRangeError &) {
        throw RateOutOfRangeError(QString::fromLatin1(field));
    }
}

// amount × rate. The amount fits, so a fee that does not is the rate's fault.
Money feeOn(Money amount, FeeRate rate, const char *field)
{
    try {
        return amount * rate;
    } catch (const OutOfRangeError &) {
        throw RateOutOfRangeError(QString::fromLatin1(field));
    }
}

Money atLeast(Money value, Money minimum)
{
    return value < minimum ? minimum : value;
}

// The smallest k in [1, last] for which passes(k) holds, for a test that
// stays true once it turns true as k grows, or none. Gallops to bracket the
// answer and then bisects, so even far answers take some 2·log2(k) tests.
// A probe that leaves Money's range ends the range just below it: the gallop
// must not overshoot into it when the answer itself still fits. Throws
// OutOfRangeError when the range ends before an answer is found.
template <typename Test>
std::optional<std::int64_t> firstPassing(std::int64_t last, Test passes)
{
    if (last < 1)
        return std::nullopt;
    if (passes(1))
        return 1;
    std::int64_t failing = 1;
    std::int64_t step = 1;
    std::int64_t passing = 0;
    bool rangeEnded = false;
    while (passing == 0) {
        if (failing == last) {
            if (rangeEnded)
                throw OutOfRangeError();
            return std::nullopt;
        }
        const std::int64_t probe = last - failing <= step ? last : failing + step;
        bool passed = false;
        try {
            passed = passes(probe);
        } catch (const OutOfRangeError &) {
            rangeEnded = true;
            last = probe - 1;
            step = 1;
            continue;
        }
        if (passed)
            passing = probe;
        else
            failing = probe;
        step *= 2;
    }
    while (passing - failing > 1) {
        const std::int64_t middle = failing + (passing - failing) / 2;
        if (passes(middle))
            passing = middle;
        else
            failing = middle;
    }
    return passing;
}

// For a value that improves with k up to a peak and never after it, where
// turned(k) tells that k + 1 brings no gain over k: the peak's step in
// [1, last], or none when the value still improves at last or beyond Money.
template <typename Turn>
std::optional<std::int64_t> peakStep(std::int64_t last, Turn turned)
{
    try {
        if (const std::optional<std::int64_t> k = firstPassing(last - 1, turned))
            return k;
    } catch (const OutOfRangeError &) {
    }
    return std::nullopt;
}

} // namespace

SumFunction::SumFunction(const FeeInputs &in)
{
    m_brokerageRate = readRate(in.brokerageRatio, "buy_BrokerageRatio", FeeRateFromPerMilleText);
    m_minBrokerage = readRate(in.minBrokerage, "buy_MinBrokerageRatio", MoneyFromText);
    m_transferByAmount = in.transferByAmount;
    if (m_transferByAmount)
        m_transferRate = readRate(in.transferMoney, "TransferMoney", FeeRateFromPerMilleText);
    else
        m_transferPerLot = MoneyToDouble(readRate(in.transferMoney, "TransferMoney", MoneyFromText)) / 10;
    m_minTransferFee = readRate(in.minTransferMoney, "MinTransferMoney", MoneyFromText);
    m_minTransferFigure = readRate(in.minTransferMoney, "MinTransferMoney", NumberFromText);
    m_stampDutyRate = readRate(in.stampDuty, "StampDuty", FeeRateFromPerMilleText);
    m_minStampDuty = readRate(in.minStampDuty, "MinStampDuty", MoneyFromText);
    m_buyOther = readRate(in.buyOtherMoney, "buy_OtherMoney", MoneyFromText);
    m_sellOther = readRate(in.sellOtherMoney, "sell_OtherMoney", MoneyFromText);

    // Shenzhen is tested first; an empty label charges nothing.
    const QString exchange = in.exchange.trimmed();
    if (exchange == u"深圳交易所")
        m_chargeTransfer = in.shenzhenTransferFee;
    else if (exchange == u"上海交易所")
        m_chargeTransfer = in.shanghaiTransferFee;
    else if (exchange == u"北京交易所")
        m_chargeTransfer = in.beijingTransferFee;

    // A fee max(amount × r, minimum) grows with the amount at slope r once
    // above its minimum. So the proceeds grow at least at 1 minus the
    // positive rates, the cost at least at 1 plus the negative ones.
    const std::int64_t transferRate = m_chargeTransfer ? m_transferRate.units() : 0;
    auto charged = [](std::int64_t rate) { return static_cast<__int128>(std::max<std::int64_t>(rate, 0)); };
    auto rebated = [](std::int64_t rate) { return static_cast<__int128>(std::min<std::int64_t>(rate, 0)); };
    m_proceedsRise = charged(m_brokerageRate.units()) + charged(m_stampDutyRate.units()) + charged(transferRate)
                     < FeeRate::UnitsPerWhole;
    m_costRises = rebated(m_brokerageRate.units()) + rebated(transferRate) > -FeeRate::UnitsPerWhole;
}

Money SumFunction::TradeAmount(Quantity q, Money price) const
{
    // A whole number times a four-decimal price: exact.
    std::int64_t units = 0;
    if (__builtin_mul_overflow(static_cast<std::int64_t>(q), price.units(), &units))
        throw OutOfRangeError();
    return Money::fromUnits(units);
}

Money SumFunction::Brokerage(Quantity q, Money price) const
{
    return atLeast(feeOn(TradeAmount(q, price), m_brokerageRate, "buy_BrokerageRatio"), m_minBrokerage);
}

Money SumFunction::StampDutyFee(Quantity q, Money price) const
{
    return atLeast(feeOn(TradeAmount(q, price), m_stampDutyRate, "StampDuty"), m_minStampDuty);
}

Money SumFunction::TransferFee(Quantity q, Money price) const
{
    if (!m_chargeTransfer)
        return Money();
    if (m_transferByAmount) {
        const Money fee = feeOn(TradeAmount(q, price), m_transferRate, "TransferMoney");
        return m_minTransferFee > fee ? MoneyFromDouble(m_minTransferFigure) : fee;
    }
    // Charged per started 100 shares.
    const double lots = std::floor(q / 100.0 + 0.99);
    double fee = lots * m_transferPerLot;
    if (MoneyToDouble(m_minTransferFee) > fee)
        fee = m_minTransferFigure;
    return MoneyFromDouble(fee);
}

Money SumFunction::BuyFees(Quantity q, Money price) const
{
    return Brokerage(q, price) + TransferFee(q, price) + m_buyOther;
}

Money SumFunction::BuyTotal(Quantity q, Money price) const
{
    return TradeAmount(q, price) + BuyFees(q, price);
}

Money SumFunction::CostPrice(Quantity q, Money price) const
{
    if (q == 0)
        return Money();
    return MoneyFromDouble(MoneyToDouble(BuyTotal(q, price)) / q);
}

Money SumFunction::SellFees(Quantity q, Money price) const
{
    return Brokerage(q, price) + TransferFee(q, price) + StampDutyFee(q, price) + m_sellOther;
}

Money SumFunction::SellNet(Quantity q, Money price) const
{
    return TradeAmount(q, price) - SellFees(q, price);
}

Money SumFunction::ProfitAndLoss(Money buyPrice, Quantity sellQuantity, Money sellPrice) const
{
    // The buy side is recomputed for the shares sold, with their own minimums.
    return SellNet(sellQuantity, sellPrice) - BuyTotal(sellQuantity, buyPrice);
}

Money SumFunction::YieldPercent(Quantity buyQuantity, Money buyPrice, Quantity sellQuantity, Money sellPrice) const
{
    const Money base = BuyTotal(buyQuantity, buyPrice);
    if (base.isZero())
        return Money(); // a free purchase has no yield to speak of
    const double profit = MoneyToDouble(ProfitAndLoss(buyPrice, sellQuantity, sellPrice));
    return MoneyFromDouble(profit / MoneyToDouble(base) * 100);
}

std::optional<Money> SumFunction::BreakEvenPrice(Quantity q, Money buyPrice) const
{
    const Money paid = BuyTotal(q, buyPrice);
    std::int64_t last =
        (std::numeric_limits<std::int64_t>::max() - std::max<std::int64_t>(buyPrice.units(), 0)) / Cent;
    auto priceAt = [&](std::int64_t k) { return Money::fromUnits(buyPrice.units() + k * Cent); };
    // A profit shows as 0.00 or more from −0.0049 up (−0.005 shows as −0.01).
    auto passes = [&](std::int64_t k) { return (SellNet(q, priceAt(k)) - paid).units() > -Cent / 2; };

    // Charges of 100% or more make the proceeds peak: past the peak no
    // price can break even that the peak did not.
    std::optional<std::int64_t> peak;
    if (!m_proceedsRise) {
        peak = peakStep(last, [&](std::int64_t k) { return SellNet(q, priceAt(k + 1)) <= SellNet(q, priceAt(k)); });
        if (peak)
            last = *peak;
    }
    std::optional<std::int64_t> k;
    bool outOfRange = false;
    try {
        k = firstPassing(last, passes);
    } catch (const OutOfRangeError &) {
        outOfRange = true;
    }
    if (k)
        return priceAt(*k);
    // Proceeds that still rise break even beyond what Money holds.
    if (!peak && (outOfRange || q > 0))
        throw OutOfRangeError();
    return std::nullopt;
}

std::optional<Money> SumFunction::BuyBackPrice(Quantity sellQuantity, Money sellPrice) const
{
    const Money received = SellNet(sellQuantity, sellPrice);
    std::int64_t last = sellPrice.units() / Cent; // candidates stay at 0.00 or above
    auto priceAt = [&](std::int64_t k) { return Money::fromUnits(sellPrice.units() - k * Cent); };
    auto passes = [&](std::int64_t k) { return BuyTotal(sellQuantity, priceAt(k)) <= received; };
    // Rebates of 100% or more make the cost lowest at some price: below it
    // the cost rises again.
    if (!m_costRises) {
        if (const auto lowest = peakStep(last, [&](std::int64_t k) {
                return BuyTotal(sellQuantity, priceAt(k + 1)) >= BuyTotal(sellQuantity, priceAt(k));
            }))
            last = *lowest;
    }
    const std::optional<std::int64_t> k = firstPassing(last, passes);
    if (!k)
        return std::nullopt;
    return priceAt(*k);
}

} // namespace quorvane
