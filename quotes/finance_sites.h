#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// A finance site and the path of a stock's page on it.
struct FinanceSite
{
    QString name; // the DefaultSite value
    QString host;
    // prefix is MarketPrefix(code); code is already percent-encoded.
    QString (*path)(const QString &prefix, const QString &code);
};

class FinanceSiteTable
{
public:
    // The six sites, in the settings dialog's order; "新浪财经" first.
    static const QList<FinanceSite> &sites();
    static QStringList names();
    // Exact, case-sensitive match on the name; any other name gives "新浪财经".
    static const FinanceSite &find(const QString &siteName);
    // "http://" + host + path of the code's page.
    static QString StockPageUrl(const QString &siteName, const QString &code);
};

// The address a click on the panel opens: none unless the code label, without
// its surrounding spaces, holds a valid code.
std::optional<QString> SiteLinkUrl(const QString &codeCaption, const QString &defaultSite);

// The four charts of the chart window.
enum class ChartKind { Intraday, Daily, Weekly, Monthly };

// MarketPrefix(code) + code: "sz000001".
QString ChartCode(const QString &code);
// "http://" + chartHost + "/newchart/<kind>/n/" + chartCode + ".gif".
QString ChartUrl(const QString &chartHost, ChartKind kind, const QString &chartCode);

} // namespace quorvane
