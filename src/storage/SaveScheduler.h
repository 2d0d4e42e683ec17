#pragma once

#include <QString>
#include <functional>

namespace tallybrook {

/// Where a store hands a write of its state. `prepare` is called on the store's thread when the
/// write is about to happen and returns the job that writes the state it captured then (the
/// job may run on another thread). Writes of the same `slot` may be coalesced (only the newest
/// waiting one is prepared: it holds the whole state); writes run in the order they were asked.
/// The default, an empty scheduler, means "write now, on this thread".
using SaveScheduler =
    std::function<void(const QString& slot, std::function<std::function<void()>()> prepare)>;

/// Hands the write to `scheduler`, or does it at once when there is none.
inline void scheduleSave(const SaveScheduler& scheduler, const QString& slot,
                         std::function<std::function<void()>()> prepare) {
    if (scheduler) {
        scheduler(slot, std::move(prepare));
    } else {
        prepare()();
    }
}

} // namespace tallybrook
