// The stock list loads from any bytes, and its search agrees with a plain
// reference and gives at most ten lines. Input: the search text (UTF-8), a
// NUL byte, the file's bytes.
#include "fuzz_support.h"

#include "quotes/quote.h"
#include "quotes/stock_list.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts = FuzzParts(data, size, 2);
    const QString path = ScratchFile(QStringLiteral("StockList.txt"), parts[1]);
    const QString wanted = QString::fromUtf8(parts[0]);
    const StockListTable table = StockListTable::load(path);
    const QStringView trimmed = TrimSpaces(wanted);
    QStringList reference;
    for (const StockListEntry &entry : table.entries()) {
        FUZZ_CHECK(!entry.code.isEmpty());
        for (const QString &field : {entry.code, entry.name, entry.key})
            FUZZ_CHECK(!field.contains(u' ') && !field.contains(u'\n'));
        if (reference.size() < 10
            && (entry.code.startsWith(trimmed) || entry.key.startsWith(trimmed) || entry.name.startsWith(trimmed)))
            reference.append(entry.code + u' ' + entry.name);
    }
    FUZZ_CHECK(table.search(wanted) == reference);
    return 0;
}
