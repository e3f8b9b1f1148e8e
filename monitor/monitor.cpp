#include "monitor/monitor.h"

#include "quotes/quote.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace quorvane {

namespace {

constexpr int DefaultIdleTicks = 30;

// Whether price lies at least limit per cent (either way) from previous,
// exactly: |price - previous| × 100 ≥ |limit| × previous, in ten-thousandths.
bool ReachesPercent(Money price, Money previous, Money limit)
{
    if (previous <= Money() || limit.isZero())
        return false;
    const __int128 change = __int128(price.units()) - previous.units();
    const __int128 far = (change < 0 ? -change : change) * 100 * 10000;
    const __int128 limitUnits = limit.units() < 0 ? -__int128(limit.units()) : __int128(limit.units());
    return far >= limitUnits * previous.units();
}

// The change in per cent as the stock panel writes it: from the texts' numbers, two decimals.
QString PercentText(const QuoteRecord &record)
{
    const std::optional<double> latest = NumberIfNumber(record.latestPrice());
    const std::optional<double> previous = NumberIfNumber(record.previousClose());
    if (!latest || !previous || *previous == 0.0)
        return QString();
    return FormatFigure((*latest - *previous) / *previous * 100.0);
}

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
                                          const std::array<AlertLimits, 3> &limits)
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

    // Each limit reached says so on a line of its own.
    const AlertLimits &limit = limits[size_t(index - 1)];
    QStringList reasons;
    if (*price <= limit.down)
        reasons << QStringLiteral("提醒：已跌到最低价 ") + FormatMoney(limit.down);
    if (limit.up > Money() && *price >= limit.up)
        reasons << QStringLiteral("提醒：已涨到最高价 ") + FormatMoney(limit.up);
    const std::optional<Money> percentLimit = MoneyIfNumber(limit.pct);
    if (percentLimit && ReachesPercent(*price, *previous, *percentLimit))
        reasons << QStringLiteral("提醒：涨跌幅 ") + PercentText(record) + QStringLiteral("%，已达 ") + limit.pct.trimmed()
                + QStringLiteral("%");
    alert.soundsAlarm = !reasons.isEmpty();
    for (const QString &reason : reasons)
        alert.text += u'\n' + reason;
    return alert;
}

} // namespace quorvane
