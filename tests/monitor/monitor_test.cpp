#include "monitor/monitor.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;

namespace {

// The ticks (counted from 1) on which a step ran, from a count already reached.
std::vector<int> StepTicks(const QString &activeTime, int ticks, std::int16_t count = 0)
{
    std::vector<int> steps;
    for (int tick = 1; tick <= ticks; ++tick)
        if (MonitorTick(count, activeTime))
            steps.push_back(tick);
    return steps;
}

// The positions examined by the first steps, as the window turns them.
std::vector<int> Turns(const std::array<QString, 3> &codes, int steps)
{
    std::vector<int> examined;
    for (std::int16_t index = 0; int(examined.size()) < steps; ++index)
        examined.push_back(MonitorTurn(index, codes));
    return examined;
}

// A quote with previous close 10.00, high 10.30 and low 9.80.
QString Quote(const QString &price)
{
    return QStringLiteral("浦发银行,10.01,10.00,%1,10.30,9.80,0,0,100").arg(price);
}

} // namespace

TEST(MonitorTest, StepsRunEveryActiveTimePlusOneTicksAndTurnsSkipInvalidCodes)
{
    EXPECT_EQ(StepTicks(QStringLiteral("5"), 13), (std::vector<int>{6, 12}));
    EXPECT_EQ(StepTicks(QStringLiteral("5.5"), 14), (std::vector<int>{7, 14})); // rounds to 6
    EXPECT_EQ(StepTicks(QStringLiteral("abc"), 62), (std::vector<int>{31, 62})); // the default, 30
    EXPECT_EQ(StepTicks(QStringLiteral("-3"), 3), (std::vector<int>{1, 2, 3}));

    // A hand-edited interval beyond the counter's range, or beyond 32 bits, waits the longest.
    for (const QString huge : {"40000", "99999999999"})
        EXPECT_EQ(StepTicks(huge, 32768), (std::vector<int>{32768})) << huge.toStdString();
    // Lowered by the settings dialog below a count already reached: due at once, then counted afresh.
    EXPECT_EQ(StepTicks(QStringLiteral("5"), 7, 20), (std::vector<int>{1, 7}));
    const QString a = QStringLiteral("600000"), b = QStringLiteral("000001"), c = QStringLiteral("300750");
    const std::pair<std::array<QString, 3>, std::vector<int>> rows[] = {{{a, b, c}, {1, 2, 3, 1}},
        {{a, QString(), c}, {1, 3, 1, 3}}, {{QString(), b, QString()}, {2, 1, 2, 1}}, // 1 examines nothing
        {{QString(), QString(), QString()}, {1, 1}}, {{QStringLiteral("60000"), QStringLiteral("00000a"), c}, {3, 3}}};
    for (const auto &[codes, turns] : rows)
        EXPECT_EQ(Turns(codes, int(turns.size())), turns) << codes[0].toStdString();
}

TEST(MonitorTest, AlertOnEveryChangeAlarmAtTheThreshold)
{
    std::array<Money, 3> last{};
    const std::array<AlertLimits, 3> thresholds{{{}, {MoneyFromText(QStringLiteral("10.00")), {}, {}}, {}}};
    const QString range = QStringLiteral("  最高：￥10.30 最低：￥9.80");
    const QString why = QStringLiteral("\n提醒：已跌到最低价 ￥10.00");
    // No balloon when the text is null. Threshold 0.00 at position 1 never sounds; the last prices are per position.
    const std::tuple<int, const char *, const char16_t *, bool> checks[] = {{2, "10.20", u"当前价格：￥10.20↑", false},
        {2, "9.985", u"当前价格：￥9.99↓", true}, {2, "9.985", nullptr, false}, {2, "9.95", u"当前价格：￥9.95↓", true},
        {2, "0.000", nullptr, false}, {2, "10.000", u"当前价格：￥10.00", true}, {1, "9.985", u"当前价格：￥9.99↓", false}};
    for (const auto &[index, price, text, alarm] : checks) {
        const auto alert = CheckPriceAlert(Quote(QString::fromLatin1(price)), index, last, thresholds);
        ASSERT_EQ(alert.has_value(), text != nullptr) << price;
        if (alert) {
            EXPECT_EQ(alert->title + alert->text, "浦发银行" + QString::fromUtf16(text) + range + (alarm ? why : ""));
            EXPECT_EQ(alert->soundsAlarm, alarm) << price;
            last[index - 1] = alert->price;
        }
    }
}

TEST(MonitorTest, EachLimitAtAboveAndBelowTheLinesSayingWhyAndRepliesSkipped)
{
    // 最低价, 最高价, 涨跌幅 (0: off), the price against a close of 10.00, the lines after the first (none: no alarm).
    const std::tuple<const char *, const char *, const char *, const char *, const char16_t *> rows[] = {
        {"0", "10.60", "0", "10.60", u"提醒：已涨到最高价 ￥10.60"}, {"0", "10.60", "0", "10.61", u"提醒：已涨到最高价 ￥10.60"},
        {"0", "10.60", "0", "10.59", u""}, {"0", "0", "0", "10.60", u""},
        {"0", "0", "5", "10.50", u"提醒：涨跌幅 5.00%，已达 5%"}, {"0", "0", "5", "10.512", u"提醒：涨跌幅 5.12%，已达 5%"},
        {"0", "0", "5", "10.499", u""}, {"0", "0", "5", "9.50", u"提醒：涨跌幅 -5.00%，已达 5%"}, {"0", "0", "5", "9.501", u""},
        {"11.00", "10.00", "5", "10.60", u"提醒：已跌到最低价 ￥11.00\n提醒：已涨到最高价 ￥10.00\n提醒：涨跌幅 6.00%，已达 5%"}};
    for (const auto &[down, up, pct, price, why] : rows) {
        const AlertLimits limits{MoneyFromText(down), MoneyFromText(up), QString::fromLatin1(pct)};
        const auto alert = CheckPriceAlert(Quote(price), 3, {}, {{{}, {}, limits}});
        ASSERT_TRUE(alert) << price;
        EXPECT_EQ(alert->text.section(u'\n', 1), QString::fromUtf16(why)) << up << " " << pct << " " << price;
        EXPECT_EQ(alert->soundsAlarm, *why != u'\0') << price;
    }
    for (const QString &text : {QString(), QStringLiteral("\n"), QString(20, u','), QStringLiteral("a,b,1.00,1.00,1.00,1x"),
                               QStringLiteral("浦发银行,10.01,10.00,10.50"),
                               QStringLiteral("浦发银行,10.01,10.00,abc,10.30,9.80,0,0")})
        EXPECT_FALSE(CheckPriceAlert(text, 1, {}, {})) << text.toStdString();
    EXPECT_FALSE(CheckPriceAlert(Quote("10.20"), 0, {}, {}) || CheckPriceAlert(Quote("10.20"), 4, {}, {}));
}
