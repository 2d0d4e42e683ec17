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
/// Main thread only; the jobs themselves run on the worker and must only touch thread-safe
/// stores and the data they captured.
class BackgroundSaver : public QObject {
    Q_OBJECT

public:
    explicit BackgroundSaver(QObject* parent = nullptr);
    ~BackgroundSaver() override;

    void schedule(const QString& slot, std::function<void()> job);
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

    QList<std::pair<QString, std::function<void()>>> waiting_;
    QFutureWatcher<void> running_;
};

} // namespace tallybrook
