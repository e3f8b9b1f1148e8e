#include "update/update_check.h"

#include "calc/money.h"

#include <optional>

namespace quorvane {

namespace {

// The text read as a decimal number, or nothing when it is not one.
std::optional<double> DecimalNumber(const QString &text)
{
    return NumberIfNumber(text.trimmed());
}

QString PageUrl(const QString &updateHost, const QString &path)
{
    const QString host = updateHost.trimmed();
    if (host.isEmpty())
        return {};
    return QStringLiteral("http://") + host + path;
}

QDateTime ToWholeMinute(QDateTime when)
{
    when.setTime(QTime(when.time().hour(), when.time().minute()));
    return when;
}

} // namespace

PublishedVersion ComparePublishedVersion(const QString &pageText, const QString &runningVersion)
{
    const std::optional<double> published = DecimalNumber(pageText);
    const std::optional<double> running = DecimalNumber(runningVersion);
    if (!published || !running)
        return PublishedVersion::Unknown;
    return *running >= *published ? PublishedVersion::NotNewer : PublishedVersion::Newer;
}

QString VersionPageUrl(const QString &updateHost)
{
    return PageUrl(updateHost, QStringLiteral("/StockVersion.html"));
}

QString DownloadPageUrl(const QString &updateHost)
{
    return PageUrl(updateHost, QStringLiteral("/ark/index12.asp"));
}

PublishedVersion FetchPublishedVersion(const QString &updateHost, const QString &runningVersion,
                                       const FetchOptions &options)
{
    const QString url = VersionPageUrl(updateHost);
    if (url.isEmpty())
        return PublishedVersion::Unknown;
    const std::optional<QString> page = HttpFetch(options).viewSource(url);
    return page ? ComparePublishedVersion(*page, runningVersion) : PublishedVersion::Unknown;
}

qint64 MinutesBetween(const QDateTime &from, const QDateTime &to)
{
    return ToWholeMinute(from).secsTo(ToWholeMinute(to)) / 60;
}

bool IsUpdateCheckDue(const QDateTime &lastOpened, const QDateTime &now)
{
    // A time that cannot be read is no reason to stop checking.
    if (!lastOpened.isValid())
        return true;
    return MinutesBetween(lastOpened, now) > UpdateCheckIntervalMinutes;
}

} // namespace quorvane
