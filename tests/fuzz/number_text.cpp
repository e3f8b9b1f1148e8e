// A number text that is accepted formats, and the formatted text reads back
// to the same value (to the cent shown).
#include "fuzz_support.h"

#include "calc/money.h"

#include <cmath>
#include <cstdlib>

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto shows = [](const QString &text) { return !text.isEmpty() && IsNumberText(text); };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!IsNumberText(text))
        return 0;

    try {
        const Money money = MoneyFromText(text);
        // Shown in whole cents, within half a cent of the value.
        for (const QString &shown : {FormatMoney(money), FormatFigure(money)}) {
            FUZZ_CHECK(shows(shown));
            const std::int64_t back = MoneyFromText(shown).units();
            FUZZ_CHECK(back % 100 == 0 && std::llabs(back - money.units()) <= 50);
        }
        // The entry fields' forms round the text itself once: within half a
        // cent (or half a share) of the value, give or take the four decimals.
        const QString tidied = FormatMoneyText(text), whole = FormatWholeNumberText(text);
        FUZZ_CHECK(shows(tidied) && std::llabs(MoneyFromText(tidied).units() - money.units()) <= 51);
        FUZZ_CHECK(shows(whole) && std::llabs(MoneyFromText(whole).units() - money.units()) <= 5001);
    } catch (const OutOfRangeError &) {
    }

    try {
        const double value = NumberFromText(text);
        const QString shown = FormatFigure(value);
        FUZZ_CHECK(shows(shown));
        const double back = NumberFromText(shown);
        // From 2^53 on every double is whole and must come back exactly;
        // below, the text is the value to the nearest cent.
        FUZZ_CHECK(std::fabs(value) >= 9007199254740992.0
                       ? back == value : std::fabs(back - value) <= 0.005000001 + std::fabs(value) * 4.5e-16);
    } catch (const OutOfRangeError &) {
    }

    try {
        CountFromText(text);
    } catch (const OutOfRangeError &) {
    }
    return 0;
}
