#pragma once

#include <QString>

namespace quorvane {

// The search key of a stock name: one upper-case letter for each Chinese
// character (the first letter of the reading stock names use), letters and
// digits kept in upper-case ASCII (full-width ones made ASCII), every other
// sign dropped. "*ST国华" → "STGH", "万科Ａ" → "WKA", "平安银行" → "PAYH".
QString PinyinInitials(const QString &name);

} // namespace quorvane
