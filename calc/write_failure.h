#pragma once

#include <QString>

class QFileDevice;

namespace quorvane {

// Why a file could not be written, in the words of the message that reports
// it. A write that came back short without an error is a full disk.
QString WriteFailureReason(const QFileDevice &file);

} // namespace quorvane
