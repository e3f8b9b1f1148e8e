#pragma once

#include "settings/settings_store.h"

#include <QStringList>

namespace quorvane {

// "使用现行费率": the rates in force since 28 August 2023 that do not depend on
// the broker. Stamp duty 0.50‰ and the transfer fee 0.01‰ of the trade amount,
// both without a minimum, the transfer fee charged on all three exchanges. The
// commission and its minimum are the broker's and stay as they are. Returns
// one line for each value that changed, in the words of the window.
QStringList UseCurrentRates(FeeSettings &fees);

// The text of the box that follows the command.
QString CurrentRatesMessage(const QStringList &changes);

} // namespace quorvane
