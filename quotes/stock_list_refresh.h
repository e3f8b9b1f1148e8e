#pragma once

// Refreshing the stock list from the quote services. The list of codes in use
// is asked for in batches; each batch goes through a fetch function the caller
// passes in (the window's: HTTP with failover; a test's: a table), which says
// what the service answered for each code. The answers are then merged into
// the list:
//
//     const StockListRefresh refresh = RefreshStockList(table.entries(), fetchNames, progress);
//     if (refresh.status == StockListRefresh::Status::Done)
//         SaveStockList(path, refresh.entries); // and say RefreshMessage(refresh)

#include "quotes/stock_list.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quorvane {

// Code → the name the service answered, blanks removed; an empty name for an
// empty quote. A code missing from it was not answered.
using QuoteNames = QHash<QString, QString>;

// Every code of the ranges in use, ascending: 600000–605999, 688000–689999,
// 000001–003999, 300000–302999 and 920000–920999.
QStringList RefreshCodes();

// The codes in order, cut into groups whose requests stay under 8 KB of URL:
// a request is fixedLength characters ("http://" + host + "/list=") plus one
// symbol ("sh600000", eight characters) per code and a comma between them.
QList<QStringList> BatchCodes(const QStringList &codes, qsizetype fixedLength);

// The names in the QuoteTexts of a batch (QuoteFailover::lookUp): field 0 of
// each, blanks removed; empty for an empty quote.
QuoteNames NamesOfQuoteTexts(const QHash<QString, QString> &quoteTexts);

// A name as the list keeps it: blanks removed (the services pad some Shenzhen
// names: "万  科Ａ" is 万科Ａ).
QString ListName(const QString &serviceName);

// The length of the trading-day prefix a name carries ("XD", "XR", "DR";
// "N" or "C" in the first days after listing), 0 when none.
qsizetype TradingDayPrefixLength(const QString &name);

struct StockListRefresh
{
    enum class Status {
        Done,          // entries hold the refreshed list
        Cancelled,     // nothing changes
        NothingFetched // no batch could be fetched, or none named a stock: nothing changes
    };
    Status status = Status::Done;
    QList<StockListEntry> entries; // sorted by code
    int added = 0, renamed = 0, removed = 0;
};

// Merges the answers into the list: a new code is added (without a
// trading-day prefix); a changed name replaces the old one unless it carries
// such a prefix; a code answered with an empty quote is removed; a code not
// answered keeps its line.
StockListRefresh MergeQuoteNames(const QList<StockListEntry> &list, const QuoteNames &answers);

// Asks for every RefreshCodes() batch in turn and merges the answers.
// urlPrefixLength: the longest "http://" + host + path of the services asked.
// progress(done, total) is told before each batch and after the last; it
// returns false to cancel.
using FetchNames = std::function<std::optional<QuoteNames>(const QStringList &codes)>;
StockListRefresh RefreshStockList(const QList<StockListEntry> &list, const FetchNames &fetchNames,
                                  qsizetype urlPrefixLength,
                                  const std::function<bool(int done, int total)> &progress = {});

// "股票列表已更新：共 N 只，新增 A 只，更名 B 只，移除 C 只".
QString RefreshMessage(const StockListRefresh &refresh);

} // namespace quorvane
