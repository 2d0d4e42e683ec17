#include "app/BackgroundSaver.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <gtest/gtest.h>
#include <mutex>

namespace tallybrook {

using namespace Qt::StringLiterals;

// While one write runs, newer writes of the same slot replace the waiting one (which is never
// prepared); every slot's last write happens, in the order asked, and flush returns only once
// all are done.
TEST(BackgroundSaverTest, CoalescesWaitingWritesOfASlotAndKeepsTheLast) {
    BackgroundSaver saver;
    std::mutex mutex;
    QStringList written;
    QSemaphore started;
    QSemaphore release;
    QStringList prepared;
    const auto write = [&](const QString& what) {
        return [&, what] {
            prepared.append(what);
            return BackgroundSaver::Job([&, what] {
                std::lock_guard lock(mutex);
                written.append(what);
            });
        };
    };
    saver.schedule(u"progress"_s, [&] {
        return BackgroundSaver::Job([&] {
            started.release();
            release.acquire();
            std::lock_guard lock(mutex);
            written.append(u"progress 1"_s);
        });
    });
    ASSERT_TRUE(started.tryAcquire(1, 10000));
    saver.schedule(u"progress"_s, write(u"progress 2"_s));
    saver.schedule(u"history"_s, write(u"history 1"_s));
    saver.schedule(u"progress"_s, write(u"progress 3"_s));
    EXPECT_FALSE(saver.isIdle());
    release.release();
    saver.flush();
    EXPECT_TRUE(saver.isIdle());
    EXPECT_EQ(written, (QStringList{u"progress 1"_s, u"progress 3"_s, u"history 1"_s}));
    EXPECT_EQ(prepared, (QStringList{u"progress 3"_s, u"history 1"_s})) << "a replaced write captures nothing";

    // Without a saver, a store's write happens at once.
    bool now = false;
    scheduleSave({}, u"progress"_s, [&] { return BackgroundSaver::Job([&] { now = true; }); });
    EXPECT_TRUE(now);
}

} // namespace tallybrook
