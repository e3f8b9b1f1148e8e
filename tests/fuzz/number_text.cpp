// A number text that is accepted formats, and the formatted text reads back
// to the same value (to the cent shown).
#include "fuzz_support.h"

#include "calc/money.h"

#include <cmath>
#include <cstdlib>

using namespace quorvane;

namespace {

// The amount FormatMoney shows: whole cents, halves away from zero.
Money toCents(Money value)
{
    const bool negative = value.units() < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.units())
                                       : static_cast<std::uint64_t>(value.units());
    magnitude = (magnitude + 50) / 100 * 100;
    return Money::fromUnits(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
}

void checkShown(const QString &shown)
{
    FUZZ_CHECK(!shown.isEmpty());
    FUZZ_CHECK(IsNumberText(shown));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!IsNumberText(text))
        return 0;

    try {
        const Money money = MoneyFromText(text);
        const QString shown = FormatMoney(money);
        checkShown(shown);
        FUZZ_CHECK(MoneyFromText(shown) == toCents(money));
        checkShown(FormatFigure(money));
        FUZZ_CHECK(MoneyFromText(FormatFigure(money)) == toCents(money));
        // The entry fields' forms round the text itself once: within half a
        // cent (or half a share) of the value, give or take the four decimals.
        const QString tidied = FormatMoneyText(text);
        checkShown(tidied);
        FUZZ_CHECK(std::llabs(MoneyFromText(tidied).units() - money.units()) <= 51);
        const QString whole = FormatWholeNumberText(text);
        checkShown(whole);
        FUZZ_CHECK(std::llabs(MoneyFromText(whole).units() - money.units()) <= 5001);
    } catch (const OutOfRangeError &) {
    }

    try {
        const double value = NumberFromText(text);
        const QString shown = FormatFigure(value);
        checkShown(shown);
        const double back = NumberFromText(shown);
        // From 2^53 on every double is whole and must come back exactly;
        // below, the text is the value to the nearest cent.
        if (std::fabs(value) >= 9007199254740992.0)
            FUZZ_CHECK(back == value);
        else
            FUZZ_CHECK(std::fabs(back - value) <= 0.005000001 + std::fabs(value) * 4.5e-16);
    } catch (const OutOfRangeError &) {
    }

    try {
        CountFromText(text);
    } catch (const OutOfRangeError &) {
    }
    return 0;
}
