#include "quotes/finance_sites.h"

#include "quotes/quote.h"

namespace quorvane {

const QList<FinanceSite> &FinanceSiteTable::sites()
{
    static const QList<FinanceSite> table = {
        {QStringLiteral("新浪财经"), QStringLiteral("finance.sina.com.cn"),
         [](const QString &prefix, const QString &code) {
             return QStringLiteral("/realstock/company/") + prefix + code + QStringLiteral("/nc.shtml");
         }},
        {QStringLiteral("网易财经"), QStringLiteral("quotes.money.163.com"),
         [](const QString &, const QString &code) {
             return QStringLiteral("/quote/") + code + QStringLiteral(".html");
         }},
        {QStringLiteral("搜狐证券"), QStringLiteral("q.stock.sohu.com"),
         [](const QString &, const QString &code) {
             return QStringLiteral("/cn/") + code + QStringLiteral("/index.shtml");
         }},
        {QStringLiteral("和讯"), QStringLiteral("stockdata.stock.hexun.com"),
         [](const QString &, const QString &code) { return u'/' + code + QStringLiteral(".shtml"); }},
        {QStringLiteral("东方财富"), QStringLiteral("quote.eastmoney.com"),
         [](const QString &prefix, const QString &code) {
             return u'/' + prefix + code + QStringLiteral(".html");
         }},
        {QStringLiteral("腾讯财经"), QStringLiteral("stock.finance.qq.com"),
         [](const QString &, const QString &code) {
             return QStringLiteral("/sstock/ggcx/") + code + QStringLiteral(".shtml");
         }},
    };
    return table;
}

QStringList FinanceSiteTable::names()
{
    QStringList list;
    for (const FinanceSite &site : sites())
        list.append(site.name);
    return list;
}

const FinanceSite &FinanceSiteTable::find(const QString &siteName)
{
    for (const FinanceSite &site : sites()) {
        if (site.name == siteName)
            return site;
    }
    return sites().front();
}

QString FinanceSiteTable::StockPageUrl(const QString &siteName, const QString &code)
{
    const FinanceSite &site = find(siteName);
    return QStringLiteral("http://") + site.host + site.path(MarketPrefix(code), EncodePathText(code));
}

std::optional<QString> SiteLinkUrl(const QString &codeCaption, const QString &defaultSite)
{
    const QString code = TrimSpaces(codeCaption).toString();
    if (!IsStockCode(code))
        return std::nullopt;
    return FinanceSiteTable::StockPageUrl(defaultSite, code);
}

QString ChartCode(const QString &code)
{
    return MarketPrefix(code) + code;
}

QString ChartUrl(const QString &chartHost, ChartKind kind, const QString &chartCode)
{
    QString path;
    switch (kind) {
    case ChartKind::Intraday:
        path = QStringLiteral("/newchart/min/n/");
        break;
    case ChartKind::Daily:
        path = QStringLiteral("/newchart/daily/n/");
        break;
    case ChartKind::Weekly:
        path = QStringLiteral("/newchart/weekly/n/");
        break;
    case ChartKind::Monthly:
        path = QStringLiteral("/newchart/monthly/n/");
        break;
    }
    return QStringLiteral("http://") + chartHost + path + EncodePathText(chartCode) + QStringLiteral(".gif");
}

} // namespace quorvane
