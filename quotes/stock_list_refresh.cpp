#include "quotes/stock_list_refresh.h"

#include "quotes/pinyin_initials.h"
#include "quotes/quote.h"

#include <QMap>

#include <algorithm>

namespace quorvane {

namespace {

constexpr qsizetype MaxUrlLength = 8191; // under 8 KB
constexpr qsizetype SymbolLength = 8;    // "sh600000"

struct CodeRange
{
    int first, last;
};

constexpr CodeRange RangesInUse[] = {
    {1, 3999}, {300000, 302999}, {600000, 605999}, {688000, 689999}, {920000, 920999},
};

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

QStringList RefreshCodes()
{
    QStringList codes;
    for (const CodeRange &range : RangesInUse) {
        for (int code = range.first; code <= range.last; ++code)
            codes.append(QStringLiteral("%1").arg(code, 6, 10, QLatin1Char('0')));
    }
    return codes;
}

QList<QStringList> BatchCodes(const QStringList &codes, qsizetype fixedLength)
{
    QList<QStringList> batches;
    qsizetype length = 0;
    for (const QString &code : codes) {
        if (batches.isEmpty() || length + 1 + SymbolLength > MaxUrlLength) {
            batches.append(QStringList());
            length = fixedLength + SymbolLength;
        } else {
            length += 1 + SymbolLength;
        }
        batches.last().append(code);
    }
    return batches;
}

QuoteNames NamesOfQuoteTexts(const QHash<QString, QString> &quoteTexts)
{
    QuoteNames names;
    for (auto text = quoteTexts.cbegin(); text != quoteTexts.cend(); ++text)
        names.insert(text.key(), ListName(QuoteRecord::fromText(text.value()).name()));
    return names;
}

QString ListName(const QString &serviceName)
{
    QString name;
    for (const QChar c : serviceName) {
        if (!c.isSpace())
            name += c;
    }
    return name;
}

qsizetype TradingDayPrefixLength(const QString &name)
{
    for (const QLatin1StringView prefix : {QLatin1StringView("XD"), QLatin1StringView("XR"), QLatin1StringView("DR")}) {
        if (name.startsWith(prefix) && name.size() > 2)
            return 2;
    }
    // "N" or "C" before the name proper, not the start of a Latin name.
    if ((name.startsWith(u'N') || name.startsWith(u'C')) && name.size() > 1 && !isAsciiLetter(name[1]))
        return 1;
    return 0;
}

StockListRefresh MergeQuoteNames(const QList<StockListEntry> &list, const QuoteNames &answers)
{
    StockListRefresh refresh;
    QMap<QString, StockListEntry> merged;
    for (const StockListEntry &entry : list)
        merged.insert(entry.code, entry);
    for (auto answer = answers.cbegin(); answer != answers.cend(); ++answer) {
        const QString &code = answer.key();
        const QString &name = answer.value();
        const auto known = merged.find(code);
        if (name.isEmpty()) {
            if (known != merged.end()) {
                merged.erase(known);
                ++refresh.removed;
            }
        } else if (known == merged.end()) {
            const QString plain = name.mid(TradingDayPrefixLength(name));
            merged.insert(code, {code, plain, PinyinInitials(plain)});
            ++refresh.added;
        } else if (known->name != name && TradingDayPrefixLength(name) == 0) {
            *known = {code, name, PinyinInitials(name)};
            ++refresh.renamed;
        }
    }
    refresh.entries = merged.values();
    return refresh;
}

StockListRefresh RefreshStockList(const QList<StockListEntry> &list, const FetchNames &fetchNames,
                                  qsizetype urlPrefixLength, const std::function<bool(int done, int total)> &progress)
{
    const QList<QStringList> batches = BatchCodes(RefreshCodes(), urlPrefixLength);
    const int total = int(batches.size());
    QuoteNames answers;
    bool anyNamed = false;
    for (int done = 0; done < total; ++done) {
        if (progress && !progress(done, total))
            return {StockListRefresh::Status::Cancelled, {}, 0, 0, 0};
        if (const std::optional<QuoteNames> names = fetchNames(batches[done])) {
            for (const QString &code : batches[done]) { // what was not asked for is not taken
                if (const auto name = names->constFind(code); name != names->cend()) {
                    answers.insert(code, *name);
                    anyNamed = anyNamed || !name->isEmpty();
                }
            }
        }
    }
    if (progress && !progress(total, total))
        return {StockListRefresh::Status::Cancelled, {}, 0, 0, 0};
    // A service that answers every code with an empty quote is not answering:
    // it would empty the list.
    if (!anyNamed)
        return {StockListRefresh::Status::NothingFetched, {}, 0, 0, 0};
    return MergeQuoteNames(list, answers);
}

QString RefreshMessage(const StockListRefresh &refresh)
{
    return QStringLiteral("股票列表已更新：共 %1 只，新增 %2 只，更名 %3 只，移除 %4 只")
        .arg(refresh.entries.size())
        .arg(refresh.added)
        .arg(refresh.renamed)
        .arg(refresh.removed);
}

} // namespace quorvane
