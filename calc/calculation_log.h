#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace quorvane {

// Gives the current text of a control by objectName: the result and entry
// fields, and the panel labels Label54 (code) and Label52 (name).
using ControlText = std::function<QString(const QString &objectName)>;

// The six lines of one entry, GBK encoded, each ended by CR LF.
QByteArray BuildCalculationLog(const ControlText &textOf);

// Appends one entry to folder/Log.txt, whole or not at all. Returns why it
// could not, empty when it did (or when there is no folder to write to).
QString WriteCalculationLog(const QString &folder, const ControlText &textOf);

} // namespace quorvane
