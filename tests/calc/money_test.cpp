#include "calc/money.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <tuple>

using namespace quorvane;

namespace {

constexpr std::int64_t Top = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Bottom = std::numeric_limits<std::int64_t>::min();

Money units(std::int64_t n) { return Money::fromUnits(n); }
Money money(const char *text) { return MoneyFromText(QString::fromUtf8(text)); }

TEST(Money, ProductsAndDoublesRoundHalvesToEvenAndNothingWraps)
{
    for (const auto &[a, b, product] : {std::tuple{1LL, 5000LL, 0LL}, {3LL, 5000LL, 2LL}, {-3LL, 5000LL, -2LL},
                                        {1LL, 5001LL, 1LL}, {-1LL, 5001LL, -1LL}})
        EXPECT_EQ(units(a) * units(b), units(product)) << a << " × " << b << " units → " << product;
    const Money big = Money::fromWhole(900000000000000); // its units need a 128-bit product
    EXPECT_EQ(big * units(5000), Money::fromWhole(450000000000000));
    // 1/32 and 3/32 yuan are exact halves of a unit.
    for (const auto &[value, result] : {std::pair{0.03125, 312LL}, {0.09375, 938LL}, {-0.03125, -312LL}})
        EXPECT_EQ(MoneyFromDouble(value), units(result)) << value << " → " << result;

    EXPECT_THROW(big * Money::fromWhole(2), OutOfRangeError);
    EXPECT_THROW(units(Top) + units(1), OutOfRangeError);
    EXPECT_THROW(units(Bottom) - units(1), OutOfRangeError);
    EXPECT_THROW(Money::fromWhole(std::int64_t{1} << 60), OutOfRangeError);
    for (double bad : {1e300, std::numeric_limits<double>::quiet_NaN(), 922337203685477.6})
        EXPECT_THROW(MoneyFromDouble(bad), OutOfRangeError) << bad;
}

TEST(NumberText, FormsConversionsAndRange)
{
    for (const char *good : {"1000", "1,000", "10.5", "￥1,234.50", "-￥1.00", "￥-1.00", "+3", " 12 ", "0",
                             "\t-1,234,567.891\t", ".5", "5.", "12,3456"})
        EXPECT_TRUE(IsNumberText(QString::fromUtf8(good))) << good;
    for (const char *bad : {"", " ", "￥", "-", "3‰", "1,", ",1", "1,,000", "1.2.3", "--1", "-￥-1", "1 000",
                            "1e3", "abc", ".", "￥ 1", "1-"})
        EXPECT_FALSE(IsNumberText(QString::fromUtf8(bad))) << bad;

    for (const auto &[text, value] : {std::pair{"￥-0.5", -5000LL}, {"1.00005", 10000LL}, {"1.00015", 10002LL},
                                      {"1.000050001", 10001LL}, {"-1.00015", -10002LL},
                                      {"922,337,203,685,477.5807", Top}, {"-922337203685477.5808", Bottom}})
        EXPECT_EQ(money(text), units(value)) << text << " → " << value;
    for (const char *text : {"922337203685477.5808", "99999999999999999999999999"})
        EXPECT_THROW(money(text), OutOfRangeError) << text;
    EXPECT_EQ(NumberFromText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    EXPECT_THROW(NumberFromText(QString(400, u'9')), OutOfRangeError);
    // 100.5 → 100 and 101.5 → 102 are checked with the Calculate command.
    for (const auto &[text, count] : {std::pair{"100.50001", 101}, {"-2.5", -2}, {"2147483647", 2147483647},
                                      {"-2147483648", std::numeric_limits<Quantity>::min()}})
        EXPECT_EQ(CountFromText(QString::fromUtf8(text)), count) << text << " → " << count;
    for (const char *text : {"2147483647.5", "-2147483649"})
        EXPECT_THROW(CountFromText(QString::fromUtf8(text)), OutOfRangeError) << text;
}

TEST(Format, TwoDecimalsHalvesAwayFromZeroAndReadBackAsShown)
{
    const std::pair<std::int64_t, const char *> rows[] = {
        {0, "￥0.00"}, {49, "￥0.00"}, {-49, "￥0.00"}, {50, "￥0.01"}, {-150, "-￥0.02"}, {1250, "￥0.13"},
        {-1250, "-￥0.13"}, {100310, "￥10.03"}, {-10000, "-￥1.00"}, {12345000, "￥1,234.50"},
        {9999949, "￥999.99"}, {9999950, "￥1,000.00"}, {12345675000, "￥1,234,567.50"},
        {-12345678900000, "-￥1,234,567,890.00"}, {Bottom, "-￥922,337,203,685,477.58"},
        {Top, "￥922,337,203,685,477.58"}};
    for (const auto &[value, shown] : rows) {
        const QString text = QString::fromUtf8(shown);
        EXPECT_EQ(FormatMoney(units(value)), text) << value << " units → " << shown;
        // The result fields are read again as numbers: the shown value must come back.
        ASSERT_TRUE(IsNumberText(text)) << shown;
        if (value == Top || value == Bottom)
            continue;
        const std::int64_t cents = (std::abs(value) + 50) / 100 * 100;
        EXPECT_EQ(MoneyFromText(text), units(value < 0 ? -cents : cents)) << shown;
    }
    // 1.005 is really 1.00499…, 999.995 really 999.99500…0045.
    for (const auto &[value, shown] : {std::pair{-0.0, "0.00"}, {0.125, "0.13"}, {-0.125, "-0.13"}, {1.005, "1.00"},
                                       {999.995, "1,000.00"}, {1e20, "100,000,000,000,000,000,000.00"}})
        EXPECT_EQ(FormatFigure(value), QString::fromUtf8(shown)) << value << " → " << shown;
    EXPECT_EQ(FormatFigure(units(-5000)), QStringLiteral("-0.50"));
    for (const auto &[text, shown] : {std::pair{"1500.6", "1,501"}, {"2.5", "3"}, {"-2.5", "-3"}, {"-0.4", "0"}})
        EXPECT_EQ(FormatWholeNumber(money(text)), QString::fromUtf8(shown)) << text << " → " << shown;
}

} // namespace
