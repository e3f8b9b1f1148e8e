// A monitor step on the offscreen platform against a stand-in service on
// 127.0.0.1: from the tick to the balloon requested, with the panel's refresh
// after it (goal: 20 ms), and the resident memory over 500 steps (goal: no growth).

#include "tests/ui/fake_platform.h"
#include "tests/ui/quote_stand_in.h"

#include "bench/window_bench.h"

#include "bench/ui_probe.h"
#include "ui/price_monitor.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

struct Window
{
    QuoteStandIn service;
    WindowFixture fixture;
    Form1 *form = nullptr;
    bool rising = false;

    Window()
    {
        // Every tick is a step, on stock 1 each time; the panel shows another stock.
        service.configure(fixture.path("setup.ini"),
                          QStringLiteral("ActiveTime=0\r\nstock1=600000\r\nstock1_Down=10.00\r\n"));
        service.setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("11.20"),
                         QStringLiteral("11.05"));
        form = &fixture.start(false);
        form->PanelCode = QStringLiteral("000001");
        form->show();
        QCoreApplication::processEvents();
    }
    // The next price differs from the last, so the step shows a balloon (and, at 9.98, asks for the alarm).
    void movePrice()
    {
        rising = !rising;
        service.setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                         rising ? QStringLiteral("10.20") : QStringLiteral("9.98"));
    }
    // From the tick to the step's replies applied.
    void step()
    {
        form->priceMonitor().ActiveTimer_Timer();
        while (form->priceMonitor().isStepping())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // Balloons and requests are recorded; the records are dropped so they do not count as growth.
    void forget()
    {
        fixture.tray->balloons.clear();
        fixture.sound->played.clear();
        service.takeRequests();
    }
};

Window *g_window = nullptr;

void BM_MonitorStepFromTickToBalloon(benchmark::State &state)
{
    Window &w = *g_window;
    for (auto _ : state) {
        state.PauseTiming();
        w.movePrice();
        w.forget();
        state.ResumeTiming();
        w.step();
    }
    if (w.fixture.tray->balloons.size() != 1)
        state.SkipWithError("the step showed no balloon");
}
BENCHMARK(BM_MonitorStepFromTickToBalloon)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ResidentMemoryOver500Steps(benchmark::State &state)
{
    Window &w = *g_window;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) { // settle first
            w.movePrice();
            w.step();
            w.forget();
        }
        const long before = bench::ResidentKb();
        for (int i = 0; i < 500; ++i) {
            w.movePrice();
            w.step();
            w.forget();
        }
        state.counters["rss_before_kb"] = double(before);
        state.counters["rss_growth_kb"] = double(bench::ResidentKb() - before);
    }
}
BENCHMARK(BM_ResidentMemoryOver500Steps)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return quorvane::bench::RunWindowBenchmarks(argc, argv, g_window);
}
