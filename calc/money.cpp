#include "money.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace quorvane {

namespace {

constexpr char16_t YuanSign = u'\uFFE5';
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
// 2^63 as a double: the first value a 64-bit count can no longer hold.
constexpr double TwoPow63 = 9223372036854775808.0;

// Divides by a positive divisor, a half going to the even neighbour.
__int128 divideHalfEven(__int128 value, std::int64_t divisor)
{
    __int128 quotient = value / divisor;
    __int128 remainder = value % divisor;
    if (remainder < 0)
        remainder = -remainder;
    const __int128 twice = remainder * 2;
    if (twice > divisor || (twice == divisor && (quotient & 1) != 0))
        quotient += value < 0 ? -1 : 1;
    return quotient;
}

std::int64_t checkedUnits(__int128 units)
{
    if (units > Int64Max || units < std::numeric_limits<std::int64_t>::min())
        throw OutOfRangeError();
    return static_cast<std::int64_t>(units);
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// A number text cut into its parts: the whole part still holds its group
// separators, the fraction only digits.
struct NumberParts
{
    bool negative = false;
    QStringView whole;
    QStringView fraction;
};

bool parseNumber(QStringView text, NumberParts *parts)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    bool haveSign = false;
    auto takeSign = [&] {
        if (haveSign || i >= n)
            return;
        if (text[i] == u'-' || text[i] == u'+') {
            parts->negative = text[i] == u'-';
            haveSign = true;
            ++i;
        }
    };
    takeSign();
    if (i < n && text[i] == YuanSign) {
        ++i;
        takeSign(); // "￥-1.00" as well as "-￥1.00"
    }

    // Whole part: digits, with single "," between digit groups.
    const qsizetype wholeStart = i;
    while (i < n && isAsciiDigit(text[i])) {
        ++i;
        if (i + 1 < n && text[i] == u',' && isAsciiDigit(text[i + 1]))
            ++i;
    }
    parts->whole = text.sliced(wholeStart, i - wholeStart);

    qsizetype fractionStart = i;
    if (i < n && text[i] == u'.') {
        ++i;
        fractionStart = i;
        while (i < n && isAsciiDigit(text[i]))
            ++i;
    }
    parts->fraction = text.sliced(fractionStart, i - fractionStart);
    if (parts->whole.isEmpty() && parts->fraction.isEmpty())
        return false;

    while (i < n && isBlank(text[i]))
        ++i;
    return i == n;
}

NumberParts partsOf(const QString &text)
{
    NumberParts parts;
    if (!parseNumber(text, &parts))
        throw OutOfRangeError(); // callers check IsNumberText first
    return parts;
}

enum class Halves { ToEven, AwayFromZero };

// The whole part times 10^scale plus the first `scale` fraction digits,
// rounded on the rest. Magnitude only; at most 2^63.
unsigned __int128 scaledMagnitude(const NumberParts &parts, int scale, Halves halves = Halves::ToEven)
{
    constexpr unsigned __int128 Limit = static_cast<unsigned __int128>(1) << 63;
    unsigned __int128 value = 0;
    auto push = [&](char16_t digit) {
        value = value * 10 + (digit - u'0');
        if (value > Limit)
            throw OutOfRangeError();
    };
    for (QChar c : parts.whole) {
        if (c != u',')
            push(c.unicode());
    }
    const qsizetype kept = std::min<qsizetype>(scale, parts.fraction.size());
    for (qsizetype k = 0; k < kept; ++k)
        push(parts.fraction[k].unicode());
    for (qsizetype k = kept; k < scale; ++k)
        push(u'0');

    if (parts.fraction.size() > scale) {
        const char16_t first = parts.fraction[scale].unicode();
        bool restNonZero = false;
        for (qsizetype k = scale + 1; k < parts.fraction.size() && !restNonZero; ++k)
            restNonZero = parts.fraction[k] != u'0';
        const bool up = first > u'5'
                        || (first == u'5' && (halves == Halves::AwayFromZero || restNonZero || (value & 1) != 0));
        if (up) {
            ++value;
            if (value > Limit)
                throw OutOfRangeError();
        }
    }
    return value;
}

// Writes "1,234,567" for `value` into `out`, returns the end.
char16_t *writeGrouped(char16_t *out, std::uint64_t value)
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int k = count - 1; k >= 0; --k) {
        *out++ = static_cast<char16_t>(digits[k]);
        if (k != 0 && k % 3 == 0)
            *out++ = u',';
    }
    return out;
}

// "-", "￥", grouped whole part and, when hundredths is true, ".dd".
QString formatScaled(bool negative, std::uint64_t scaled, bool yuanSign, bool hundredths)
{
    char16_t buffer[48];
    char16_t *out = buffer;
    if (negative && scaled != 0) // nothing that rounds to zero carries a sign
        *out++ = u'-';
    if (yuanSign)
        *out++ = YuanSign;
    if (hundredths) {
        out = writeGrouped(out, scaled / 100);
        *out++ = u'.';
        *out++ = static_cast<char16_t>(u'0' + scaled / 10 % 10);
        *out++ = static_cast<char16_t>(u'0' + scaled % 10);
    } else {
        out = writeGrouped(out, scaled);
    }
    return QString(reinterpret_cast<const QChar *>(buffer), out - buffer);
}

std::uint64_t magnitude(Money value)
{
    const std::int64_t units = value.units();
    return units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
}

// Rounds |value| × 100 to a whole number, halves away from zero, judging
// halves by the exact product rather than the rounded one.
double hundredthsAwayFromZero(double value)
{
    const double a = std::fabs(value);
    const double product = a * 100.0;
    const double error = std::fma(a, 100.0, -product); // exact: a·100 − product
    const double below = std::floor(product);
    const double part = product - below;
    // A product that lands exactly on .5 may come from a value just below
    // it; the sign of the rounding error tells.
    return part > 0.5 || (part == 0.5 && error >= 0.0) ? below + 1.0 : below;
}

} // namespace

Money Money::fromWhole(std::int64_t yuan)
{
    std::int64_t units = 0;
    if (__builtin_mul_overflow(yuan, UnitsPerYuan, &units))
        throw OutOfRangeError();
    return fromUnits(units);
}

Money operator+(Money a, Money b)
{
    std::int64_t units = 0;
    if (__builtin_add_overflow(a.m_units, b.m_units, &units))
        throw OutOfRangeError();
    return Money::fromUnits(units);
}

Money operator-(Money a, Money b)
{
    std::int64_t units = 0;
    if (__builtin_sub_overflow(a.m_units, b.m_units, &units))
        throw OutOfRangeError();
    return Money::fromUnits(units);
}

Money operator*(Money a, Money b)
{
    const __int128 product = static_cast<__int128>(a.m_units) * b.m_units;
    return Money::fromUnits(checkedUnits(divideHalfEven(product, Money::UnitsPerYuan)));
}

Money operator*(Money amount, FeeRate rate)
{
    // Both factors are below 2^63, so the product fits in 127 bits.
    const __int128 product = static_cast<__int128>(amount.units()) * rate.units();
    return Money::fromUnits(checkedUnits(divideHalfEven(product, FeeRate::UnitsPerWhole)));
}

double MoneyToDouble(Money value)
{
    return static_cast<double>(value.units()) / static_cast<double>(Money::UnitsPerYuan);
}

Money MoneyFromDouble(double value)
{
    const double scaled = value * static_cast<double>(Money::UnitsPerYuan);
    if (!std::isfinite(scaled))
        throw OutOfRangeError();
    double whole = std::floor(scaled);
    const double part = scaled - whole;
    if (part > 0.5 || (part == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -TwoPow63 || whole >= TwoPow63)
        throw OutOfRangeError();
    return Money::fromUnits(static_cast<std::int64_t>(whole));
}

bool IsNumberText(const QString &text)
{
    NumberParts parts;
    return parseNumber(text, &parts);
}

Money MoneyFromText(const QString &text)
{
    const NumberParts parts = partsOf(text);
    const unsigned __int128 units = scaledMagnitude(parts, 4);
    if (!parts.negative && units > static_cast<unsigned __int128>(Int64Max))
        throw OutOfRangeError();
    // The magnitude is at most 2^63, which a negative count still holds.
    const __int128 signedUnits = parts.negative ? -static_cast<__int128>(units) : static_cast<__int128>(units);
    return Money::fromUnits(static_cast<std::int64_t>(signedUnits));
}

FeeRate FeeRateFromPerMilleText(const QString &text)
{
    // Per mille with nine decimals is the fraction in units of 10^-12.
    const NumberParts parts = partsOf(text);
    const unsigned __int128 units = scaledMagnitude(parts, 9);
    if (units > static_cast<unsigned __int128>(Int64Max))
        throw OutOfRangeError();
    const std::int64_t magnitude = static_cast<std::int64_t>(units);
    return FeeRate::fromUnits(parts.negative ? -magnitude : magnitude);
}

double NumberFromText(const QString &text)
{
    const NumberParts parts = partsOf(text);
    std::string ascii;
    ascii.reserve(parts.whole.size() + parts.fraction.size() + 3);
    if (parts.negative)
        ascii += '-';
    bool wholeNonZero = false;
    for (QChar c : parts.whole) {
        if (c != u',') {
            ascii += static_cast<char>(c.unicode());
            wholeNonZero = wholeNonZero || c != u'0';
        }
    }
    if (parts.whole.isEmpty())
        ascii += '0';
    if (!parts.fraction.isEmpty()) {
        ascii += '.';
        for (QChar c : parts.fraction)
            ascii += static_cast<char>(c.unicode());
    }
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (wholeNonZero)
            throw OutOfRangeError();
        return parts.negative ? -0.0 : 0.0; // too small for a double
    }
    return value;
}

Quantity CountFromText(const QString &text)
{
    const NumberParts parts = partsOf(text);
    const unsigned __int128 count = scaledMagnitude(parts, 0);
    const unsigned __int128 limit = parts.negative ? (static_cast<unsigned __int128>(1) << 31)
                                                   : std::numeric_limits<Quantity>::max();
    if (count > limit)
        throw OutOfRangeError();
    const std::int64_t value = static_cast<std::int64_t>(count);
    return static_cast<Quantity>(parts.negative ? -value : value);
}

QString FormatMoney(Money value)
{
    // Hundredths, halves away from zero; 2^64 − 1 holds every magnitude + 50.
    return formatScaled(value.units() < 0, (magnitude(value) + 50) / 100, true, true);
}

QString FormatFigure(Money value)
{
    return formatScaled(value.units() < 0, (magnitude(value) + 50) / 100, false, true);
}

QString FormatFigure(double value)
{
    if (!std::isfinite(value))
        return QString();
    // Below 2^53 the hundredths fit 64 bits; from there on every double is a
    // whole number, and ×100 would only lose digits (and overflow near the top).
    const double magnitude = std::fabs(value);
    if (magnitude < 9007199254740992.0)
        return formatScaled(std::signbit(value), static_cast<std::uint64_t>(hundredthsAwayFromZero(value)), false,
                            true);

    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed, 0);
    const std::string_view whole(digits, result.ptr);
    QString out;
    if (std::signbit(value))
        out += u'-';
    for (std::size_t k = 0; k < whole.size(); ++k) {
        out += QChar(whole[k]);
        const std::size_t left = whole.size() - k - 1;
        if (left != 0 && left % 3 == 0)
            out += u',';
    }
    out += QStringLiteral(".00");
    return out;
}

QString FormatMoneyText(const QString &text)
{
    const NumberParts parts = partsOf(text);
    return formatScaled(parts.negative, static_cast<std::uint64_t>(scaledMagnitude(parts, 2, Halves::AwayFromZero)),
                        true, true);
}

QString FormatWholeNumberText(const QString &text)
{
    const NumberParts parts = partsOf(text);
    return formatScaled(parts.negative, static_cast<std::uint64_t>(scaledMagnitude(parts, 0, Halves::AwayFromZero)),
                        false, false);
}

std::optional<Money> MoneyIfNumber(const QString &text)
{
    if (!IsNumberText(text))
        return std::nullopt;
    try {
        return MoneyFromText(text);
    } catch (const OutOfRangeError &) {
        return std::nullopt;
    }
}

std::optional<double> NumberIfNumber(const QString &text)
{
    if (!IsNumberText(text))
        return std::nullopt;
    try {
        return NumberFromText(text);
    } catch (const OutOfRangeError &) {
        return std::nullopt;
    }
}

} // namespace quorvane
