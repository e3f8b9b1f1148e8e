#pragma once

// Reports the moment a program's first window is on screen, and its resident
// memory shortly after, then ends the program without its exit sequence.

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace quorvane::bench {

inline long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

inline long long NowNs()
{
    return std::chrono::nanoseconds(std::chrono::system_clock::now().time_since_epoch()).count();
}

// The libraries are loaded and the program's own code begins.
inline void ReportMainEntered()
{
    std::printf("main_ns %lld\n", NowNs());
}

inline void ReportShown(QWidget *window)
{
    std::printf("shown_ns %lld\n", NowNs());
    std::printf("rss_at_show_kb %ld\n", ResidentKb());
    std::fflush(stdout);
    // Settled: after the first paints and any deferred start-up work.
    QTimer::singleShot(1000, window, [] {
        std::printf("rss_settled_kb %ld\n", ResidentKb());
        std::fflush(stdout);
        std::_Exit(0);
    });
}

} // namespace quorvane::bench
