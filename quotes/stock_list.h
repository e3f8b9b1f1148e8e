#pragma once

#include <QString>
#include <QStringList>
#include <QList>

#include <array>

namespace quorvane {

struct StockListEntry
{
    QString code;
    QString name;
    QString key; // pinyin initials
};

// The stocks of StockList.txt in file order.
class StockListTable
{
public:
    // GBK, CR LF or LF. Unusable lines are skipped; a missing file gives an
    // empty table.
    static StockListTable load(const QString &path);

    // Up to ten "code name" lines whose code, key or name begins with the
    // trimmed text, in table order.
    QStringList search(const QString &text) const;

    const QList<StockListEntry> &entries() const { return m_entries; }
    void setEntries(QList<StockListEntry> entries);
    bool contains(const QString &code) const;
    // Inserted before the first entry with a higher code.
    void add(StockListEntry entry);

private:
    void index();

    QList<StockListEntry> m_entries;
    // The first four characters of each entry's code, key and name, side by
    // side: a keystroke's scan reads this array and touches an entry's texts
    // only when one of them can match.
    QList<std::array<quint64, 3>> m_starts;
};

// Writes the entries as StockList.txt (GBK, CR LF, "code name key") in one
// replacement of the file: a write cut short leaves the old list. False when
// it could not be written.
bool SaveStockList(const QString &path, const QList<StockListEntry> &entries);

} // namespace quorvane
