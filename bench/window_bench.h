#pragma once

// The main() of a benchmark that works on one window: offscreen, no proxies,
// the window made after the QApplication and reachable through `current`
// while the registered benchmarks run.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace quorvane::bench {

template <typename Window>
int RunWindowBenchmarks(int argc, char **argv, Window *&current)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("no_proxy", "*");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    auto window = std::make_unique<Window>();
    current = window.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current = nullptr;
    return 0;
}

} // namespace quorvane::bench
