// The application is killed (SIGKILL: no clean-up of any kind) while it saves the correction
// progress of a large session. Twenty times, at random moments, a child process that saves ever
// newer progress into one preferences file dies; after each death the file must open as it is,
// pass SQLite's integrity check, and hold the session's progress of the last announced save or
// of the one after it, whole: never a mix of two saves, never nothing.

#include "DrillSupport.h"
#include "core/TextRules.h"
#include "storage/WooCorrectionProgressStore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <sqlite3.h>

namespace tallybrook::drills {

namespace {

const QUuid drillSession = QUuid::fromString(u"3F6B2C1E-8D4A-4F7B-9E2C-5A1D0B7C4E93");
// Some 300 kB of progress: each save writes dozens of database pages.
constexpr qint64 rowCount = 2000;

/// State `state` of the session: every row proposes `state` units.
QList<WooCorrectionPreview> progressState(qint64 rows, qint64 state) {
    QList<WooCorrectionPreview> previews(rows);
    for (qint64 i = 0; i < rows; ++i) {
        previews[i].externalProductId = QString::number(1000 + i);
        previews[i].itemName = u"Article "_s + QString::number(i);
        previews[i].countedQuantity = 0;
        previews[i].proposedQuantity = state;
    }
    return previews;
}

QString integrityCheck(const QString& path) {
    sqlite3* db = nullptr;
    QString result;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto collect = [](void* out, int, char** values, char**) {
        *static_cast<QString*>(out) += QString::fromUtf8(values[0]);
        return 0;
    };
    sqlite3_exec(db, "PRAGMA integrity_check", collect, &result, nullptr);
    sqlite3_close(db);
    return result;
}

/// The one state all rows of the stored session share; none when the session is not stored.
/// A mix of states, or missing rows, fails the drill.
std::optional<qint64> storedState(const std::shared_ptr<PreferencesStore>& preferences) {
    const auto sessions = WooCorrectionProgressStore(preferences).loadSessions();
    const auto session = sessions.constFind(uuidText(drillSession));
    if (session == sessions.cend()) {
        return std::nullopt;
    }
    EXPECT_EQ(session->records.size(), rowCount);
    QSet<qint64> states;
    for (const WooCorrectionProgressRecord& record : session->records) {
        states.insert(record.proposedQuantity.value_or(-1));
    }
    EXPECT_EQ(states.size(), 1) << "a mix of two saves";
    return states.isEmpty() ? std::nullopt : std::optional<qint64>(*states.cbegin());
}

/// The child's preferences: announces each write on stdout just before it starts, so the
/// drill can kill the process while the database is being written.
class AnnouncedWrites final : public PreferencesStore {
public:
    explicit AnnouncedWrites(std::shared_ptr<PreferencesStore> store)
        : store_(std::move(store)) {}
    std::optional<QString> string(const QString& key) const override { return store_->string(key); }
    std::optional<QByteArray> data(const QString& key) const override { return store_->data(key); }
    void setString(const QString& key, const QString& value) override { store_->setString(key, value); }
    void setData(const QString& key, const QByteArray& value) override {
        std::printf("writing\n");
        std::fflush(stdout);
        store_->setData(key, value);
    }
    void remove(const QString& key) override { store_->remove(key); }

private:
    std::shared_ptr<PreferencesStore> store_;
};

} // namespace

int saveProgressUntilKilled(const QString& path, qint64 rows, qint64 first) {
    auto preferences = SqlitePreferencesStore::open(path);
    if (!preferences) {
        return 2;
    }
    const WooCorrectionProgressStore progress(std::make_shared<AnnouncedWrites>(std::move(preferences)));
    for (qint64 state = first;; ++state) {
        progress.saveProgress(drillSession, progressState(rows, state), {});
        std::printf("saved %lld\n", static_cast<long long>(state));
        std::fflush(stdout);
    }
}

TEST(ProgressKillDrill, AKillWhileSavingLeavesTheLastOrTheNextProgressWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE("random seed " + std::to_string(seed));

    std::optional<qint64> before; // what the file held before the round
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const qint64 first = (round + 1) * 1000;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--save-progress"_s, path, QString::number(rowCount), QString::number(first)});
        ASSERT_TRUE(child.waitForStarted());
        // A random moment: during, or just after, the database write of the first or second save.
        const qsizetype skippedSaves = random.bounded(2);
        QByteArray output;
        while (!(output.count("saved") >= skippedSaves && output.endsWith("writing\n")) &&
               child.waitForReadyRead(30000)) {
            output += child.readAllStandardOutput();
        }
        QThread::usleep(random.bounded(8000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished());
        output += child.readAllStandardOutput();
        // The last save the child announced as done (none yet: the file's state before it).
        const qsizetype last = output.lastIndexOf("saved ");
        const std::optional<qint64> done =
            last < 0
                ? before
                : std::optional(output.mid(last + 6, output.indexOf('\n', last) - last - 6).toLongLong());
        const qint64 next = last < 0 ? first : *done + 1;

        EXPECT_EQ(integrityCheck(path).toStdString(), "ok");
        const auto preferences = SqlitePreferencesStore::open(path);
        ASSERT_NE(preferences, nullptr) << "the preferences file no longer opens";
        EXPECT_EQ(preferences->movedAsidePath(), QString()) << "the file was taken for damaged";
        const std::optional<qint64> after = storedState(preferences);
        EXPECT_TRUE(after == done || after == next) << after.value_or(-1) << " after " << done.value_or(-1);
        before = after;
    }
    EXPECT_TRUE(before.has_value()) << "twenty rounds never saved once";
}

} // namespace tallybrook::drills
