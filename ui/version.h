#pragma once

#include <QString>

namespace quorvane {

inline constexpr int VersionMajor = QUORVANE_VERSION_MAJOR;
inline constexpr int VersionMinor = QUORVANE_VERSION_MINOR;
inline constexpr int VersionRevision = QUORVANE_VERSION_PATCH;

// "1.5": what the caption, the update check and the usage report show.
inline QString ShortVersion()
{
    return QStringLiteral("%1.%2").arg(VersionMajor).arg(VersionMinor);
}

} // namespace quorvane
