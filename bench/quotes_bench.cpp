#include "quotes/http_fetch.h"
#include "quotes/quote.h"
#include "quotes/stock_list.h"
#include "quotes/stock_list_refresh.h"

#include <benchmark/benchmark.h>

#include <httplib.h>

#include <QFile>
#include <QHash>
#include <QStringEncoder>

#include <thread>

using namespace quorvane;

namespace {

const QString ShippedList = QStringLiteral(QUORVANE_SOURCE_DIR "/data/StockList.txt");

const StockListTable &shippedTable()
{
    static const StockListTable table = StockListTable::load(ShippedList);
    return table;
}

// The shipped list grown to 6,000 lines with stocks listed after it.
const StockListTable &sixThousandLines()
{
    static const StockListTable table = [] {
        StockListTable grown = shippedTable();
        for (int n = 0; grown.entries().size() < 6000; ++n)
            grown.add({QString::number(605100 + n), QStringLiteral("新股%1").arg(n), QStringLiteral("XG%1").arg(n)});
        return grown;
    }();
    return table;
}

// One keystroke's search; the argument picks the box's text.
void BM_SearchSixThousandLines(benchmark::State &state)
{
    static const QString texts[] = {
        QStringLiteral("6"),     QStringLiteral("6005"),   QStringLiteral("30175"),
        QStringLiteral("GZ"),    QStringLiteral("贵州"),   QStringLiteral("ZZZZZ"),
        QStringLiteral("68898"),
    };
    const QString &text = texts[state.range(0)];
    const StockListTable &table = sixThousandLines();
    if (table.entries().size() != 6000) {
        state.SkipWithError("StockList.txt not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(table.search(text));
    state.SetLabel(text.toStdString());
}
BENCHMARK(BM_SearchSixThousandLines)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

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

// 更新股票列表 end to end against a local stand-in of the first service that
// answers every batch: each shipped stock with a full quote line, every other
// code with an empty quote. Fetching, decoding, parsing and merging.
void BM_RefreshAgainstStandIn(benchmark::State &state)
{
    QHash<QString, QByteArray> lines;
    QStringEncoder gbk("GBK");
    for (const StockListEntry &entry : shippedTable().entries()) {
        lines.insert(MarketPrefix(entry.code) + entry.code,
                     gbk(QStringLiteral("var hq_str_%1%2=\"%3,10.00,10.00,10.10,10.20,9.90,10.10,10.11,1234500,"
                                        "12345678.00,100,10.10,200,10.09,300,10.08,2026-12-04,15:00:00,00\";\n")
                             .arg(MarketPrefix(entry.code), entry.code, entry.name)));
    }
    httplib::Server server;
    server.Get(".*", [&lines](const httplib::Request &request, httplib::Response &response) {
        const QString path = QString::fromStdString(request.path);
        QByteArray body;
        for (const QString &symbol : path.section(u'=', 1).split(u','))
            body += lines.value(symbol, "var hq_str_" + symbol.toLatin1() + "=\"\";\n");
        response.set_content(body.constData(), size_t(body.size()), "text/plain; charset=GBK");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&server] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::yield();

    const QList<QuoteService> services{{QuoteFormat::List, QStringLiteral("127.0.0.1:%1").arg(port), {}}};
    QuoteFailover failover;
    auto fetchNames = [&](const QStringList &codes) -> std::optional<QuoteNames> {
        if (const auto texts = failover.lookUp(services, codes, FetchOptions()))
            return NamesOfQuoteTexts(*texts);
        return std::nullopt;
    };
    for (auto _ : state) {
        const StockListRefresh refresh = RefreshStockList(shippedTable().entries(), fetchNames, 40);
        if (refresh.entries.size() != shippedTable().entries().size() || refresh.renamed != 0)
            state.SkipWithError("the refresh changed the list");
    }
    server.stop();
    thread.join();
}
BENCHMARK(BM_RefreshAgainstStandIn)->Unit(benchmark::kMillisecond)->Iterations(3);

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
