#pragma once

#include <QDateTime>

#include <functional>

namespace tallybrook {

/// Source of "now" for every rule that stamps a time; tests pass a fixed or stepping clock.
using Clock = std::function<QDateTime()>;

/// The real clock, in UTC.
inline QDateTime systemNow() {
    return QDateTime::currentDateTimeUtc();
}

} // namespace tallybrook
