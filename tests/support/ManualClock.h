#pragma once

#include "core/Clock.h"

#include <QDateTime>

#include <memory>

namespace tallybrook::test {

inline QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

/// A clock the test moves by hand; starts at 2024-05-02T15:04:05.250Z.
struct ManualClock {
    std::shared_ptr<QDateTime> now =
        std::make_shared<QDateTime>(QDateTime(QDate(2024, 5, 2), QTime(15, 4, 5, 250), Qt::UTC));

    Clock clock() const {
        return [now = now] { return *now; };
    }
    void advance(qint64 seconds) { *now = now->addSecs(seconds); }
};

} // namespace tallybrook::test
