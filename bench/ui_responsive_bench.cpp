// The window's answer to the keyboard while the monitor is on (ActiveTime 5)
// and the quote service takes requests without answering: keystrokes due
// every 20 ms into buy_Price for a minute, each timed from when it was due to
// the field showing it (goal: p99 under 50 ms). And a lookup with the first
// service refusing and the second answering (goal: under 100 ms). Offscreen,
// stand-ins in the same process. QUORVANE_BENCH_SECONDS shortens the minute.

#include "tests/ui/fake_platform.h"
#include "tests/ui/quote_stand_in.h"

#include "bench/window_bench.h"

#include "quotes/http_fetch.h"
#include "ui/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

struct Window
{
    QuoteStandIn stalled, answering;
    WindowFixture fixture;
    Form1 *form = nullptr;

    Window()
    {
        stalled.setStalled(true);
        stalled.configure(fixture.path("setup.ini"),
                          QStringLiteral("IsActive=-1\r\nActiveTime=5\r\nstock1=600000\r\nstock2=000001\r\n"));
        answering.setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                           QStringLiteral("10.50"));
        form = &fixture.start(false);
        form->PanelCode = QStringLiteral("600000");
        form->show();
        QCoreApplication::processEvents();
    }
};

Window *g_window = nullptr;

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p / 100.0 * double(values.size())))];
}

void BM_KeyPressToFieldWithTheMonitorOnAgainstAStalledService(benchmark::State &state)
{
    Window &w = *g_window;
    const int seconds = qEnvironmentVariableIsSet("QUORVANE_BENCH_SECONDS")
        ? qEnvironmentVariableIntValue("QUORVANE_BENCH_SECONDS") : 60;
    QLineEdit *field = w.form->ui().buy_Price;
    for (auto _ : state) {
        std::vector<double> latencies;
        QElapsedTimer clock;
        clock.start();
        qint64 due = 0;
        QTimer keys;
        keys.setTimerType(Qt::PreciseTimer);
        keys.setInterval(1);
        QObject::connect(&keys, &QTimer::timeout, field, [&] {
            // Every keystroke that fell due meanwhile, each timed from its due time.
            while (due <= clock.elapsed()) {
                const bool erase = field->text().endsWith(u'1');
                const QString before = field->text();
                QKeyEvent press(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_1, Qt::NoModifier,
                                erase ? QString() : QStringLiteral("1"));
                QCoreApplication::sendEvent(field, &press);
                if (field->text() != before)
                    latencies.push_back(double(clock.nsecsElapsed()) / 1e6 - double(due));
                due += 20;
            }
        });
        field->setFocus();
        keys.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        keys.stop();
        state.counters["keystrokes"] = double(latencies.size());
        state.counters["p50_ms"] = Percentile(latencies, 50);
        state.counters["p99_ms"] = Percentile(latencies, 99);
        state.counters["max_ms"] = Percentile(latencies, 100);
    }
}
BENCHMARK(BM_KeyPressToFieldWithTheMonitorOnAgainstAStalledService)
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef QUORVANE_HAS_FAILOVER
// A fresh run's failover each time: the first service is asked first, refuses, then the second answers.
void BM_LookUpWithTheFirstRefusingAndTheSecondAnswering(benchmark::State &state)
{
    Window &w = *g_window;
    w.form->ui().ActiveTimer->stop();
    const QString refusing = QuoteStandIn().host(); // nobody listens there any more
    const QList<QuoteService> services{{QuoteFormat::List, refusing, {}}, {QuoteFormat::Q, w.answering.host(), {}}};
    for (auto _ : state) {
        QuoteFailover failover;
        if (failover.lookUp(services, QStringLiteral("600000"), {}).value_or(QString()).size() <= 20)
            state.SkipWithError("no quote from the second service");
    }
}
BENCHMARK(BM_LookUpWithTheFirstRefusingAndTheSecondAnswering)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

} // namespace

int main(int argc, char **argv)
{
    return quorvane::bench::RunWindowBenchmarks(argc, argv, g_window);
}
