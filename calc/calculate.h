#pragma once

#include "sum_function.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace quorvane {

// Everything the Calculate command reads from the window, as texts.
struct CalculateInputs
{
    FeeInputs fees;
    QString buyPrice;       // buy_Price
    QString buyNumber;      // buy_Number
    QString sellPrice;      // sell_Price
    QString sellNumber;     // sell_Number
    QString isSumSamePrice = QStringLiteral("1");
};

struct CalculateRejection
{
    QString message;    // shown in a box captioned "提示" with the information icon
    QString focusField; // objectName of the field that gets the focus
};

// What one command does to the window. Either a rejection, or the new texts
// of the result fields in the order they are written (fields the command
// leaves alone are absent), the Frame3 caption when it changes, and whether
// a log entry is due.
struct CalculateOutcome
{
    std::optional<CalculateRejection> rejection;
    QList<std::pair<QString, QString>> fieldTexts; // objectName → display text
    std::optional<QString> frame3Caption;
    bool logDue = false;
};

CalculateOutcome Calculate(const CalculateInputs &inputs);

} // namespace quorvane
