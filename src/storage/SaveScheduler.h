#pragma once

#include <QString>
#include <functional>

namespace tallybrook {

/// Where a store hands a write of its state: `job` writes the state it captured. Writes of the
/// same `slot` may be coalesced (only the newest pending one runs: it holds the whole state);
/// writes run in the order they were asked. The default, an empty scheduler, means "write now,
/// on this thread".
using SaveScheduler = std::function<void(const QString& slot, std::function<void()> job)>;

/// Runs `job` through `scheduler`, or at once when there is none.
inline void scheduleSave(const SaveScheduler& scheduler, const QString& slot, std::function<void()> job) {
    if (scheduler) {
        scheduler(slot, std::move(job));
    } else {
        job();
    }
}

} // namespace tallybrook
