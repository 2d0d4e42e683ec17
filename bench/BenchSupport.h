#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <functional>

namespace tallybrook::bench {

/// The main thread's own CPU time, in milliseconds: unlike the wall clock, it does not count
/// the time other processes of a busy machine held the core.
inline double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

/// Runs the event loop until `done`; returns the longest stretch of work the main thread did
/// without coming back to the loop (its CPU time, in milliseconds).
inline double runUntil(const std::function<bool()>& done) {
    double last = threadCpuMs();
    double longest = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = threadCpuMs();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return longest;
}

} // namespace tallybrook::bench
