#include "calc/money.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quorvane {
namespace {

Money yuan(std::int64_t units)
{
    return Money::fromUnits(units);
}

TEST(Money, SumsAreExactAndOverflowIsRefused)
{
    EXPECT_EQ(yuan(1) + yuan(2), yuan(3));
    EXPECT_EQ(yuan(1) - yuan(3), yuan(-2));
    const Money top = yuan(std::numeric_limits<std::int64_t>::max());
    const Money bottom = yuan(std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(top + yuan(1), OutOfRangeError);
    EXPECT_THROW(bottom - yuan(1), OutOfRangeError);
    EXPECT_THROW(Money::fromWhole(std::int64_t{1} << 60), OutOfRangeError);
    EXPECT_EQ(Money::fromWhole(-3), yuan(-30000));
}

TEST(Money, ProductsRoundHalvesToEven)
{
    // 10000.00 × 0.0030 = 30.0000 exactly
    EXPECT_EQ(yuan(100000000) * yuan(30), yuan(300000));
    // 0.0001 × 0.5 = 0.00005: half, goes to the even 0.0000
    EXPECT_EQ(yuan(1) * yuan(5000), yuan(0));
    // 0.0003 × 0.5 = 0.00015 → 0.0002 (even); 0.0001 × 0.5001 → 0.0001
    EXPECT_EQ(yuan(3) * yuan(5000), yuan(2));
    EXPECT_EQ(yuan(1) * yuan(5001), yuan(1));
    EXPECT_EQ(yuan(-3) * yuan(5000), yuan(-2));
    EXPECT_EQ(yuan(-1) * yuan(5001), yuan(-1));
    // The 128-bit intermediate carries products whose units exceed 64 bits.
    const Money big = Money::fromWhole(900000000000000); // 9e14 yuan
    EXPECT_EQ(big * yuan(5000), Money::fromWhole(450000000000000));
    EXPECT_THROW(big * Money::fromWhole(2), OutOfRangeError);
}

TEST(Money, DoubleConversions)
{
    EXPECT_DOUBLE_EQ(MoneyToDouble(yuan(100310)), 10.031);
    EXPECT_EQ(MoneyFromDouble(0.003), yuan(30));
    EXPECT_EQ(MoneyFromDouble(2.5 / 1000), yuan(25));
    // 1/32 and 3/32 yuan are exact halves of a unit: 312.5 → 312, 937.5 → 938.
    EXPECT_EQ(MoneyFromDouble(0.03125), yuan(312));
    EXPECT_EQ(MoneyFromDouble(0.09375), yuan(938));
    EXPECT_EQ(MoneyFromDouble(-0.03125), yuan(-312));
    EXPECT_THROW(MoneyFromDouble(1e300), OutOfRangeError);
    EXPECT_THROW(MoneyFromDouble(std::numeric_limits<double>::quiet_NaN()), OutOfRangeError);
    EXPECT_THROW(MoneyFromDouble(922337203685477.6), OutOfRangeError);
}

TEST(NumberText, AcceptsTheFormsTheProgramWritesAndRejectsTheRest)
{
    for (const char *good : {"1000", "1,000", "10.5", "￥1,234.50", "-￥1.00", "￥-1.00", "+3", " 12 ", "0",
                             "\t-1,234,567.891\t", ".5", "5.", "12,3456"})
        EXPECT_TRUE(IsNumberText(QString::fromUtf8(good))) << good;
    for (const char *bad : {"", " ", "￥", "-", "3‰", "1,", ",1", "1,,000", "1.2.3", "--1", "-￥-1", "1 000",
                            "1e3", "abc", ".", "￥ 1", "1-"})
        EXPECT_FALSE(IsNumberText(QString::fromUtf8(bad))) << bad;
}

TEST(NumberText, Conversions)
{
    EXPECT_EQ(MoneyFromText(QStringLiteral("￥1,234.50")), yuan(12345000));
    EXPECT_EQ(MoneyFromText(QStringLiteral("-￥1.00")), yuan(-10000));
    EXPECT_EQ(MoneyFromText(QStringLiteral("￥-0.5")), yuan(-5000));
    EXPECT_EQ(MoneyFromText(QStringLiteral("1.00005")), yuan(10000));  // half to even
    EXPECT_EQ(MoneyFromText(QStringLiteral("1.00015")), yuan(10002));
    EXPECT_EQ(MoneyFromText(QStringLiteral("1.000050001")), yuan(10001));
    EXPECT_EQ(MoneyFromText(QStringLiteral("-1.00015")), yuan(-10002));
    EXPECT_EQ(MoneyFromText(QStringLiteral("922,337,203,685,477.5807")), yuan(std::numeric_limits<std::int64_t>::max()));
    EXPECT_EQ(MoneyFromText(QStringLiteral("-922337203685477.5808")), yuan(std::numeric_limits<std::int64_t>::min()));
    EXPECT_THROW(MoneyFromText(QStringLiteral("922337203685477.5808")), OutOfRangeError);
    EXPECT_THROW(MoneyFromText(QStringLiteral("99999999999999999999999999")), OutOfRangeError);

    EXPECT_DOUBLE_EQ(NumberFromText(QStringLiteral("3.00")), 3.0);
    EXPECT_DOUBLE_EQ(NumberFromText(QStringLiteral("￥-1,234.5")), -1234.5);
    EXPECT_DOUBLE_EQ(NumberFromText(QStringLiteral(".25")), 0.25);
    EXPECT_EQ(NumberFromText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    EXPECT_THROW(NumberFromText(QString(400, u'9')), OutOfRangeError);

    // Halves to even: 100.5 → 100, 101.5 → 102.
    EXPECT_EQ(CountFromText(QStringLiteral("100.5")), 100);
    EXPECT_EQ(CountFromText(QStringLiteral("101.5")), 102);
    EXPECT_EQ(CountFromText(QStringLiteral("100.50001")), 101);
    EXPECT_EQ(CountFromText(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(CountFromText(QStringLiteral("1,000")), 1000);
    EXPECT_EQ(CountFromText(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(CountFromText(QStringLiteral("-2147483648")), std::numeric_limits<Quantity>::min());
    EXPECT_THROW(CountFromText(QStringLiteral("2147483647.5")), OutOfRangeError);
    EXPECT_THROW(CountFromText(QStringLiteral("-2147483649")), OutOfRangeError);
    EXPECT_THROW(CountFromText(QStringLiteral("abc")), OutOfRangeError);
}

TEST(Format, MoneyFigureAndWholeNumber)
{
    EXPECT_EQ(FormatMoney(Money()), QStringLiteral("￥0.00"));
    EXPECT_EQ(FormatMoney(yuan(12345000)), QStringLiteral("￥1,234.50"));
    EXPECT_EQ(FormatMoney(yuan(100310)), QStringLiteral("￥10.03"));
    EXPECT_EQ(FormatMoney(yuan(1250)), QStringLiteral("￥0.13"));      // half away from zero
    EXPECT_EQ(FormatMoney(yuan(-1250)), QStringLiteral("-￥0.13"));
    EXPECT_EQ(FormatMoney(yuan(-10000)), QStringLiteral("-￥1.00"));
    EXPECT_EQ(FormatMoney(yuan(-49)), QStringLiteral("￥0.00"));       // nothing to sign
    EXPECT_EQ(FormatMoney(yuan(12345675000)), QStringLiteral("￥1,234,567.50"));
    EXPECT_EQ(FormatMoney(yuan(9999950)), QStringLiteral("￥1,000.00")); // carry into a new group
    EXPECT_EQ(FormatMoney(yuan(-12345678900000)), QStringLiteral("-￥1,234,567,890.00"));
    EXPECT_EQ(FormatMoney(yuan(std::numeric_limits<std::int64_t>::min())),
              QStringLiteral("-￥922,337,203,685,477.58"));
    EXPECT_EQ(FormatMoney(yuan(std::numeric_limits<std::int64_t>::max())),
              QStringLiteral("￥922,337,203,685,477.58"));

    EXPECT_EQ(FormatFigure(yuan(92114)), QStringLiteral("9.21"));
    EXPECT_EQ(FormatFigure(yuan(-5000)), QStringLiteral("-0.50"));
    EXPECT_EQ(FormatFigure(9.2114), QStringLiteral("9.21"));
    EXPECT_EQ(FormatFigure(0.0), QStringLiteral("0.00"));
    EXPECT_EQ(FormatFigure(-0.0), QStringLiteral("0.00"));
    EXPECT_EQ(FormatFigure(1234.0), QStringLiteral("1,234.00"));
    EXPECT_EQ(FormatFigure(0.125), QStringLiteral("0.13"));  // an exact half
    EXPECT_EQ(FormatFigure(-0.125), QStringLiteral("-0.13"));
    EXPECT_EQ(FormatFigure(1.005), QStringLiteral("1.00"));  // really 1.00499999…
    EXPECT_EQ(FormatFigure(999.995), QStringLiteral("1,000.00")); // really 999.9950000000000045…
    EXPECT_EQ(FormatFigure(1e20), QStringLiteral("100,000,000,000,000,000,000.00"));

    EXPECT_EQ(FormatWholeNumber(MoneyFromText(QStringLiteral("1500.6"))), QStringLiteral("1,501"));
    EXPECT_EQ(FormatWholeNumber(MoneyFromText(QStringLiteral("2000"))), QStringLiteral("2,000"));
    EXPECT_EQ(FormatWholeNumber(MoneyFromText(QStringLiteral("2.5"))), QStringLiteral("3"));
    EXPECT_EQ(FormatWholeNumber(MoneyFromText(QStringLiteral("-2.5"))), QStringLiteral("-3"));
    EXPECT_EQ(FormatWholeNumber(MoneyFromText(QStringLiteral("-0.4"))), QStringLiteral("0"));
}

TEST(Format, DisplayFormsReadBackAsTheirRoundedValue)
{
    // What the fields show must pass the number test and read back to the
    // value rounded as shown, across the rounding boundaries.
    for (std::int64_t units : {0LL, 49LL, 50LL, 149LL, 150LL, 99950LL, 9999949LL, 9999950LL, 123456789LL}) {
        for (std::int64_t sign : {1LL, -1LL}) {
            const Money m = yuan(sign * units);
            const QString text = FormatMoney(m);
            ASSERT_TRUE(IsNumberText(text)) << text.toStdString();
            const std::int64_t cents = (units + 50) / 100 * 100;
            EXPECT_EQ(MoneyFromText(text), yuan(sign * cents)) << text.toStdString();
        }
    }
}

} // namespace
} // namespace quorvane
