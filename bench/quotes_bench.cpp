#include "quotes/http_fetch.h"
#include "quotes/stock_list.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringEncoder>

using namespace quorvane;

namespace {

const QString ShippedList = QStringLiteral(QUORVANE_SOURCE_DIR "/data/StockList.txt");

const StockListTable &shippedTable()
{
    static const StockListTable table = StockListTable::load(ShippedList);
    return table;
}

// One keystroke's search; the argument picks the box's text.
void BM_SearchShippedList(benchmark::State &state)
{
    static const QString texts[] = {
        QStringLiteral("6"),     QStringLiteral("6005"),   QStringLiteral("30175"),
        QStringLiteral("GZ"),    QStringLiteral("贵州"),   QStringLiteral("ZZZZZ"),
        QStringLiteral("68898"),
    };
    const QString &text = texts[state.range(0)];
    const StockListTable &table = shippedTable();
    if (table.entries().isEmpty()) {
        state.SkipWithError("StockList.txt not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(table.search(text));
    state.SetLabel(text.toStdString());
}
BENCHMARK(BM_SearchShippedList)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

void BM_LoadShippedList(benchmark::State &state)
{
    for (auto _ : state) {
        const StockListTable table = StockListTable::load(ShippedList);
        if (table.entries().size() != 5448)
            state.SkipWithError("unexpected list");
        benchmark::DoNotOptimize(table.entries().data());
    }
}
BENCHMARK(BM_LoadShippedList)->Unit(benchmark::kMillisecond);

// A quote reply's kind of text: Chinese names, digits and commas, 1 MiB.
void BM_Bytes2BstrChinese(benchmark::State &state)
{
    QString text;
    for (const StockListEntry &entry : shippedTable().entries())
        text += entry.name + u',' + entry.code + QStringLiteral(",10.00,\n");
    QStringEncoder gbk("GBK");
    QByteArray bytes = gbk(text);
    while (bytes.size() < 1024 * 1024)
        bytes += bytes;
    bytes.truncate(1024 * 1024);
    while (static_cast<unsigned char>(bytes.back()) >= 0x80)
        bytes.chop(1); // end on a whole character
    bytes2BSTR("warm up the table\xC4\xE3");
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes2BSTR(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Bytes2BstrChinese)->Unit(benchmark::kMicrosecond);

// Nothing but double-byte characters.
void BM_Bytes2BstrAllPairs(benchmark::State &state)
{
    QByteArray bytes;
    for (int i = 0; i < 512 * 1024; ++i)
        bytes += "\xB9\xC9"; // 股
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes2BSTR(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Bytes2BstrAllPairs)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
