#pragma once

#include <QString>

#include <compare>
#include <optional>
#include <cstdint>
#include <stdexcept>

namespace quorvane {

// Raised when a value would leave the range of its type (a Money result,
// a share count beyond 32 bits). The Calculate command turns it into a
// rejection of the command; nothing ever wraps around.
class OutOfRangeError : public std::range_error
{
public:
    OutOfRangeError() : std::range_error("value out of range") {}
};

// An amount in units of 1/10000 yuan. Sums are exact; products are rounded
// to four decimals with halves going to the even neighbour.
class Money
{
public:
    static constexpr std::int64_t UnitsPerYuan = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units)
    {
        Money m;
        m.m_units = units;
        return m;
    }
    static Money fromWhole(std::int64_t yuan); // throws OutOfRangeError

    constexpr std::int64_t units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }

    friend constexpr auto operator<=>(Money, Money) = default;
    friend constexpr bool operator==(Money, Money) = default;

    // All three throw OutOfRangeError instead of overflowing.
    friend Money operator+(Money a, Money b);
    friend Money operator-(Money a, Money b);
    friend Money operator*(Money a, Money b);
    Money &operator+=(Money other) { return *this = *this + other; }
    Money &operator-=(Money other) { return *this = *this - other; }

private:
    std::int64_t m_units = 0;
};

using Quantity = std::int32_t;

// A fee rate as the exact fraction of the amount, in units of 10^-12: a rate
// typed in per mille keeps nine decimals (0.25‰ is 250,000,000 units).
class FeeRate
{
public:
    static constexpr std::int64_t UnitsPerWhole = 1'000'000'000'000;

    constexpr FeeRate() = default;
    static constexpr FeeRate fromUnits(std::int64_t units)
    {
        FeeRate r;
        r.m_units = units;
        return r;
    }
    constexpr std::int64_t units() const { return m_units; }
    friend constexpr auto operator<=>(FeeRate, FeeRate) = default;

    // amount × rate rounded to four decimals, halves to even, from the exact
    // product; throws OutOfRangeError when the fee leaves Money.
    friend Money operator*(Money amount, FeeRate rate);

private:
    std::int64_t m_units = 0;
};

// A per-mille text (IsNumberText) read exactly, further digits rounded half
// to even; throws OutOfRangeError when it does not fit.
FeeRate FeeRateFromPerMilleText(const QString &text);

double MoneyToDouble(Money value);
// value × 10000 rounded half to even; throws OutOfRangeError when not finite or too large.
Money MoneyFromDouble(double value);

// Blanks, a sign, "￥" (the minus before or after it), digits with "," between
// groups, an optional fraction, blanks. The empty text is not a number.
bool IsNumberText(const QString &text);
// The conversions expect IsNumberText(text); they throw OutOfRangeError when
// the value does not fit.
Money MoneyFromText(const QString &text);    // four decimals, halves to even
double NumberFromText(const QString &text);  // nearest double
Quantity CountFromText(const QString &text); // whole number, halves to even
// For texts from outside (a quote, a page, a hand-edited file): the value, or
// nothing when the text is not a number or does not fit.
std::optional<Money> MoneyIfNumber(const QString &text);
std::optional<double> NumberIfNumber(const QString &text);

// "￥1,234.50", "-￥1.00": two decimals, halves away from zero.
QString FormatMoney(Money value);
// "9.21", "-0.50", "1,234.00": as FormatMoney without the currency sign.
// A value that is not finite gives the empty text.
QString FormatFigure(double value);
QString FormatFigure(Money value);
// The display forms of a typed price ("￥1,234.50") and quantity ("1,501"),
// rounded once from the text with halves away from zero: 0.004999 shows
// ￥0.00 and 2.49995 shares 2. They expect IsNumberText(text) and throw
// OutOfRangeError when the value does not fit.
QString FormatMoneyText(const QString &text);
QString FormatWholeNumberText(const QString &text);

} // namespace quorvane
