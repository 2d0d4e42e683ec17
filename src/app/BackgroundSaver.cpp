#include "app/BackgroundSaver.h"

#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace tallybrook {

BackgroundSaver::BackgroundSaver(QObject* parent)
    : QObject(parent) {
    connect(&running_, &QFutureWatcher<void>::finished, this, &BackgroundSaver::startNext);
}

BackgroundSaver::~BackgroundSaver() {
    flush();
}

void BackgroundSaver::schedule(const QString& slot, Prepare prepare) {
    for (auto& [waitingSlot, waitingPrepare] : waiting_) {
        if (waitingSlot == slot) {
            waitingPrepare = std::move(prepare);
            return;
        }
    }
    waiting_.append({slot, std::move(prepare)});
    if (!running_.isRunning()) {
        startNext();
    }
}

void BackgroundSaver::startNext() {
    if (running_.isRunning()) {
        return;
    }
    if (waiting_.isEmpty()) {
        emit idle();
        return;
    }
    Job job = waiting_.takeFirst().second();
    running_.setFuture(QtConcurrent::run(std::move(job)));
}

void BackgroundSaver::flush() {
    running_.waitForFinished();
    // What is still waiting runs here, in order: the caller needs it written before it goes on.
    while (!waiting_.isEmpty()) {
        waiting_.takeFirst().second()();
    }
}

bool BackgroundSaver::isIdle() const {
    return !running_.isRunning() && waiting_.isEmpty();
}

SaveScheduler BackgroundSaver::scheduler() {
    QPointer<BackgroundSaver> saver(this);
    return [saver](const QString& slot, Prepare prepare) {
        if (saver) {
            saver->schedule(slot, std::move(prepare));
        } else {
            prepare()();
        }
    };
}

} // namespace tallybrook
