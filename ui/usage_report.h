#pragma once

#include <QString>

namespace quorvane {

// The usage report's address on the maker's server, or the empty text when no
// server is configured (then nothing is sent).
QString UsageReportUrl(const QString &updateHost);

// One GET of that address, given at most timeoutMs so that the exit never hangs;
// the reply and any failure are ignored.
void SendUsageReport(const QString &updateHost, int timeoutMs = 3000);

} // namespace quorvane
