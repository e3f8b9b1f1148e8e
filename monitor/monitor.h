#pragma once

// The monitor's decisions, apart from the window that applies them. A one-second
// tick counts up (MonitorTick); every ActiveTime + 1 ticks a step runs: the turn
// picks one of the three positions (MonitorTurn), its quote is fetched and
// judged (CheckPriceAlert), and the window shows the balloon and sounds the
// alarm as told. Time is a count of ticks, never the clock.

#include "calc/money.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace quorvane {

// The idle ticks between two steps that an ActiveTime text asks for: its value
// rounded to a whole number, halves to even. A text that is not a number gives
// the default 30; values below 0 or above what ActiveCount can count are held
// at those bounds.
int IdleTicks(const QString &activeTime);

// One timer event. False while ActiveCount is below the idle ticks (it counts
// up); true when a step is due (it starts again from 0).
bool MonitorTick(std::int16_t &activeCount, const QString &activeTime);

// The position (1 to 3) whose stock this step examines. An ActiveIndex outside
// 1..3 counts as 1, and invalid codes are skipped in one pass (1 to 2, 2 to 3,
// 3 to 1, in that order), so the result may still name an invalid code. The
// caller adds 1 after the step.
int MonitorTurn(std::int16_t &activeIndex, const std::array<QString, 3> &codes);

// The limits of one position; each one at 0 is off.
struct AlertLimits
{
    Money down;  // the alarm at or below this price (最低价)
    Money up;    // at or above this price (最高价)
    QString pct; // the change from the previous close, in per cent, either way (涨跌幅), as stored
};

struct PriceAlert
{
    int index = 0;     // the position, 1 to 3
    Money price;       // becomes the position's last price
    QString title;     // the stock's name
    // "当前价格：￥9.98↓  最高：￥10.20 最低：￥9.90", and with the alarm one more
    // line per limit reached: "提醒：已跌到最低价 ￥9.90".
    QString text;
    bool soundsAlarm = false; // a limit is reached
};

// What one quote of position index (1 to 3) gives: nothing for a text of 20
// characters or fewer, one without the price fields or with non-numbers in
// them, a price of 0 or a price equal to the position's last price; otherwise
// a balloon, with the alarm when the price has reached one of its limits.
std::optional<PriceAlert> CheckPriceAlert(const QString &quoteText, int index,
                                          const std::array<Money, 3> &lastPrices,
                                          const std::array<AlertLimits, 3> &limits);

} // namespace quorvane
