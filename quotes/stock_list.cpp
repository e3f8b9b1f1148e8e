#include "quotes/stock_list.h"

#include "quotes/http_fetch.h"
#include "quotes/quote.h"

#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>

#include <cstring>

namespace quorvane {

namespace {

constexpr qsizetype MaxMatches = 10;

constexpr qsizetype StartLength = 4;

// The first four characters of a text as one number, 0 for those it lacks.
quint64 startOf(QStringView text)
{
    quint64 start = 0;
    for (qsizetype i = 0; i < StartLength; ++i)
        start = start << 16 | (i < text.size() ? text[i].unicode() : 0);
    return start;
}

// Runs 15,000 times a keystroke: the first character settles almost every case.
bool beginsWith(const QString &field, QStringView text)
{
    const qsizetype n = text.size();
    if (field.size() < n)
        return false;
    if (n == 0)
        return true;
    const QChar *data = field.constData();
    return data[0] == text[0] && std::memcmp(data, text.data(), size_t(n) * sizeof(QChar)) == 0;
}

} // namespace

StockListTable StockListTable::load(const QString &path)
{
    StockListTable table;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return table;
    const QString text = DecodeGbkText(file.readAll());

    QList<StockListEntry> entries;
    entries.reserve(text.count(u'\n') + 1);
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // Split at every single space: two spaces in a row give an empty field.
        qsizetype firstSpace = line.indexOf(u' ');
        if (firstSpace < 0)
            continue;
        qsizetype secondSpace = line.indexOf(u' ', firstSpace + 1);
        if (secondSpace < 0)
            continue;
        qsizetype thirdSpace = line.indexOf(u' ', secondSpace + 1);
        QStringView code = line.first(firstSpace);
        if (code.isEmpty())
            continue; // an entry without a code could never be looked up
        StockListEntry entry;
        entry.code = code.toString();
        entry.name = line.sliced(firstSpace + 1, secondSpace - firstSpace - 1).toString();
        entry.key = (thirdSpace < 0 ? line.sliced(secondSpace + 1)
                                    : line.sliced(secondSpace + 1, thirdSpace - secondSpace - 1))
                        .toString();
        entries.append(std::move(entry));
    }
    table.setEntries(std::move(entries));
    return table;
}

QStringList StockListTable::search(const QString &text) const
{
    const QStringView wanted = TrimSpaces(text);
    // A field can begin with the text only where their starts agree on the
    // text's first four characters (or fewer when it is shorter).
    const quint64 start = startOf(wanted);
    const qsizetype compared = std::min(wanted.size(), StartLength);
    const quint64 mask = compared == 0 ? 0 : ~quint64(0) << (16 * (StartLength - compared));
    QStringList lines;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const std::array<quint64, 3> &starts = m_starts[i];
        if ((starts[0] & mask) != start && (starts[1] & mask) != start && (starts[2] & mask) != start)
            continue;
        const StockListEntry &entry = m_entries[i];
        if (beginsWith(entry.code, wanted) || beginsWith(entry.key, wanted)
            || beginsWith(entry.name, wanted)) {
            lines.append(entry.code + u' ' + entry.name);
            if (lines.size() == MaxMatches)
                break;
        }
    }
    return lines;
}

void StockListTable::setEntries(QList<StockListEntry> entries)
{
    m_entries = std::move(entries);
    index();
}

void StockListTable::index()
{
    m_starts.clear();
    m_starts.reserve(m_entries.size());
    for (const StockListEntry &entry : std::as_const(m_entries))
        m_starts.append({startOf(entry.code), startOf(entry.key), startOf(entry.name)});
}

bool StockListTable::contains(const QString &code) const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [&code](const StockListEntry &e) { return e.code == code; });
}

void StockListTable::add(StockListEntry entry)
{
    const auto after = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&entry](const StockListEntry &e) { return e.code > entry.code; });
    m_entries.insert(after, std::move(entry));
    index();
}

bool SaveStockList(const QString &path, const QList<StockListEntry> &entries)
{
    QString text;
    for (const StockListEntry &entry : entries)
        text += entry.code + u' ' + entry.name + u' ' + entry.key + QStringLiteral("\r\n");
    QStringEncoder toGbk("GBK");
    const QByteArray bytes = toGbk.encode(text);
    QSaveFile file(path);
    if (toGbk.hasError() || !file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

} // namespace quorvane
