#pragma once

// The update check's decisions, apart from the windows: what the maker's
// version page says about the running version, and whether the start-up check
// is due. The main window asks the questions and opens the download page.

#include "quotes/http_fetch.h"

#include <QDateTime>
#include <QString>

namespace quorvane {

enum class PublishedVersion {
    Newer,    // the page names a greater number than the running version
    NotNewer, // the same number or a smaller one
    Unknown,  // no page (no server, time-out, too long) or a page that is not a number
};

// The page's text, blanks and line ends around it ignored, read as a decimal
// number against the running version's text: against "1.5", "1.6" is newer,
// "1.5" and "1.10" (the number 1.1) are not.
PublishedVersion ComparePublishedVersion(const QString &pageText, const QString &runningVersion);

// The two pages on the maker's server (a host may carry a port); the empty text
// when no host is configured.
QString VersionPageUrl(const QString &updateHost);
QString DownloadPageUrl(const QString &updateHost);

// Fetches the version page and compares it. Unknown without a host: then
// nothing is sent.
PublishedVersion FetchPublishedVersion(const QString &updateHost, const QString &runningVersion,
                                       const FetchOptions &options = {});

// Seven days: the silent check at start-up runs when more minutes than this
// have passed since the download page was last opened.
inline constexpr qint64 UpdateCheckIntervalMinutes = 10080;

// Minute boundaries passed from one time to the other, both taken to their
// whole minute (negative when `to` lies before `from`).
qint64 MinutesBetween(const QDateTime &from, const QDateTime &to);

// True when more than UpdateCheckIntervalMinutes lie between the last opening
// of the download page and now; never for a last opening in the future.
bool IsUpdateCheckDue(const QDateTime &lastOpened, const QDateTime &now);

} // namespace quorvane
