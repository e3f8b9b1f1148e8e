#include "ui/usage_report.h"

#include "quotes/http_fetch.h"
#include "ui/version.h"

namespace quorvane {

QString UsageReportUrl(const QString &updateHost)
{
    const QString host = updateHost.trimmed();
    if (host.isEmpty())
        return {};
    return QStringLiteral("http://%1/AddStockVisitRecordToDB.aspx?str=Ver%2").arg(host, ShortVersion());
}

void SendUsageReport(const QString &updateHost, int timeoutMs)
{
    const QString url = UsageReportUrl(updateHost);
    if (url.isEmpty())
        return;
    FetchOptions options;
    options.connectTimeoutMs = qMin(options.connectTimeoutMs, timeoutMs);
    options.totalTimeoutMs = timeoutMs;
    HttpFetch(options).viewSource(url);
}

} // namespace quorvane
