#include "monitor/monitor.h"

#include "quotes/quote.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace quorvane {

namespace {

constexpr int DefaultIdleTicks = 30;

} // namespace

int IdleTicks(const QString &activeTime)
{
    if (!IsNumberText(activeTime))
        return DefaultIdleTicks;
    constexpr int most = std::numeric_limits<std::int16_t>::max();
    try {
        return std::clamp(int(CountFromText(activeTime)), 0, most);
    } catch (const OutOfRangeError &) {
        // Beyond 32 bits: only the sign matters.
        return activeTime.contains(u'-') ? 0 : most;
    }
}

bool MonitorTick(std::int16_t &activeCount, const QString &activeTime)
{
    if (activeCount < IdleTicks(activeTime)) {
        ++activeCount;
        return false;
    }
    activeCount = 0;
    return true;
}

int MonitorTurn(std::int16_t &activeIndex, const std::array<QString, 3> &codes)
{
    if (activeIndex < 1 || activeIndex > 3)
        activeIndex = 1;
    if (!IsStockCode(codes[0]) && activeIndex == 1)
        activeIndex = 2;
    if (!IsStockCode(codes[1]) && activeIndex == 2)
        activeIndex = 3;
    if (!IsStockCode(codes[2]) && activeIndex == 3)
        activeIndex = 1;
    return activeIndex;
}

std::optional<PriceAlert> CheckPriceAlert(const QString &quoteText, int index,
                                          const std::array<Money, 3> &lastPrices,
                                          const std::array<Money, 3> &thresholds)
{
    if (quoteText.size() <= 20 || index < 1 || index > 3)
        return std::nullopt;
    const QuoteRecord record = QuoteRecord::fromText(quoteText);
    const std::optional<Money> price = MoneyIfNumber(record.latestPrice());
    const std::optional<Money> previous = MoneyIfNumber(record.previousClose());
    const std::optional<Money> high = MoneyIfNumber(record.high());
    const std::optional<Money> low = MoneyIfNumber(record.low());
    if (!price || !previous || !high || !low || price->isZero())
        return std::nullopt;
    const Money last = lastPrices[size_t(index - 1)];
    if (*price == last)
        return std::nullopt;

    QString arrow;
    if (*price > *previous)
        arrow = QStringLiteral("↑");
    else if (*price < *previous)
        arrow = QStringLiteral("↓");

    PriceAlert alert;
    alert.index = index;
    alert.price = *price;
    alert.title = record.name();
    alert.text = QStringLiteral("当前价格：") + FormatMoney(*price) + arrow + QStringLiteral("  最高：")
        + FormatMoney(*high) + QStringLiteral(" 最低：") + FormatMoney(*low);
    alert.soundsAlarm = *price <= thresholds[size_t(index - 1)];
    return alert;
}

} // namespace quorvane
