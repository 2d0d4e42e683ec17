#pragma once

#include "storage/SaveScheduler.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

namespace tallybrook {

/// Writes the application's state off the main thread, so that saving the progress of a
/// 100,000-row session after each click never blocks the window.
///
/// One write runs at a time, on a worker thread, in the order asked. A write asked for a slot
/// that already has one waiting replaces it (each write holds the slot's whole state, so the
/// newest is enough): quick successions of edits end in one write of the last state, and the
/// last edit is never lost. `flush()` waits for the running write and runs the waiting ones
/// before returning: before quitting, before an import replaces the session, before a send.
///
/// A write is asked as a `prepare` function, called on the main thread when the write starts
/// (so a write waiting behind another one captures the newest state, and nothing is captured
/// for writes that a newer one replaces); it returns the job that runs on the worker, which
/// must only touch thread-safe stores and the data it captured.
///
/// Main thread only.
class BackgroundSaver : public QObject {
    Q_OBJECT

public:
    explicit BackgroundSaver(QObject* parent = nullptr);
    ~BackgroundSaver() override;

    using Job = std::function<void()>;
    using Prepare = std::function<Job()>;

    void schedule(const QString& slot, Prepare prepare);
    /// Blocks until every write asked so far is done.
    void flush();
    bool isIdle() const;

    /// A scheduler for the stores that hands their writes to this saver.
    SaveScheduler scheduler();

signals:
    /// Every write asked so far is done.
    void idle();

private:
    void startNext();

    QList<std::pair<QString, Prepare>> waiting_;
    QFutureWatcher<void> running_;
};

} // namespace tallybrook
