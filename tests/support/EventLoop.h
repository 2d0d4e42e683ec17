#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace tallybrook::test {

/// Runs the event loop until `done` holds; false when it still does not after a minute
/// (a hung run, reported as a failure rather than a hang).
inline bool waitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

} // namespace tallybrook::test
