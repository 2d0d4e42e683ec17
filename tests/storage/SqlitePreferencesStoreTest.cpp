#include "storage/SqlitePreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void runSql(const QString& path, const char* sql, sqlite3** keepOpen = nullptr) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    if (keepOpen) {
        *keepOpen = db;
    } else {
        sqlite3_close(db);
    }
}

} // namespace

TEST(SqlitePreferencesStoreTest, ValuesPersistAcrossReopeningAndKeepTheirKind) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nested/preferences.sqlite3"_s);
    const QByteArray blob("\x00\x01\xff{\"a\":1}", 11);
    {
        auto store = SqlitePreferencesStore::open(path);
        ASSERT_NE(store, nullptr);
        EXPECT_TRUE(store->movedAsidePath().isEmpty());
        store->setString(u"language"_s, u"fr"_s);
        store->setData(u"blob"_s, blob);
        store->setString(u"gone"_s, u"x"_s);
        store->remove(u"gone"_s);
        store->setString(u"replaced"_s, u"first"_s);
        store->setData(u"replaced"_s, "second");
        store->setString(u"empty"_s, QString());
    }
    auto store = SqlitePreferencesStore::open(path);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->string(u"language"_s), u"fr"_s);
    EXPECT_EQ(store->data(u"blob"_s), blob);
    // A value is read only as the kind it was written with.
    EXPECT_EQ(store->data(u"language"_s), std::nullopt);
    EXPECT_EQ(store->string(u"blob"_s), std::nullopt);
    EXPECT_EQ(store->string(u"gone"_s), std::nullopt);
    EXPECT_EQ(store->string(u"replaced"_s), std::nullopt);
    EXPECT_EQ(store->data(u"replaced"_s), QByteArray("second"));
    EXPECT_EQ(store->string(u"empty"_s), QString());
}

TEST(SqlitePreferencesStoreTest, ForeignOrCorruptFilesAreMovedAsideNeverDeleted) {
    QByteArray noise(64 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : noise) {
        byte = char(generator.generate() & 0xff);
    }
    for (const QByteArray& content : {noise, QByteArray(QByteArray("SQLite format 3\0", 16) + noise.left(8000)),
                                      QByteArray("key=value\n"), QByteArray()}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"preferences.sqlite3"_s);
        if (content.isEmpty()) {
            // A healthy database of some other program, even with a table of the same name.
            runSql(path, "CREATE TABLE preferences(id INTEGER); INSERT INTO preferences VALUES (7);");
        } else {
            writeFile(path, content);
        }
        const QByteArray original = fileBytes(path);
        auto store = SqlitePreferencesStore::open(path);
        ASSERT_NE(store, nullptr);
        ASSERT_FALSE(store->movedAsidePath().isEmpty());
        EXPECT_EQ(fileBytes(store->movedAsidePath()), original);
        store->setString(u"k"_s, u"v"_s);
        store.reset();
        // Our own file is recognised on reopening and keeps its values.
        auto reopened = SqlitePreferencesStore::open(path);
        ASSERT_NE(reopened, nullptr);
        EXPECT_TRUE(reopened->movedAsidePath().isEmpty());
        EXPECT_EQ(reopened->string(u"k"_s), u"v"_s);
    }
}

TEST(SqlitePreferencesStoreTest, ReadOnlyAccessSeesWritesAndNeverWrites) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    EXPECT_EQ(SqlitePreferencesStore::openReadOnly(path), nullptr);
    auto writer = SqlitePreferencesStore::open(path);
    ASSERT_NE(writer, nullptr);
    writer->setString(u"k"_s, u"en"_s);
    auto reader = SqlitePreferencesStore::openReadOnly(path);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->string(u"k"_s), u"en"_s);
    reader->setString(u"k"_s, u"fr"_s);
    reader->remove(u"k"_s);
    EXPECT_EQ(writer->string(u"k"_s), u"en"_s);
    writer->setString(u"k"_s, u"fr"_s);
    EXPECT_EQ(reader->string(u"k"_s), u"fr"_s) << "the writer's later changes are visible";

    QTemporaryDir other; // a damaged file is left alone by a reader
    writeFile(other.filePath(u"preferences.sqlite3"_s), "not a database");
    EXPECT_EQ(SqlitePreferencesStore::openReadOnly(other.filePath(u"preferences.sqlite3"_s)), nullptr);
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files).size(), 1);
}

// A store that another process holds locked past the busy timeout may be perfectly good: it is
// neither opened nor moved aside, and opens with its values once the lock is gone.
TEST(SqlitePreferencesStoreTest, ALockedStoreIsLeftWhereItIs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    SqlitePreferencesStore::open(path)->setString(u"k"_s, u"v"_s);
    sqlite3* holder = nullptr;
    runSql(path, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", &holder);
    EXPECT_EQ(SqlitePreferencesStore::open(path), nullptr);
    EXPECT_EQ(QDir(dir.path()).entryList({u"*.damaged-*"_s}, QDir::Files), QStringList());
    ASSERT_EQ(sqlite3_exec(holder, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(holder);
    auto reopened = SqlitePreferencesStore::open(path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->movedAsidePath().isEmpty());
    EXPECT_EQ(reopened->string(u"k"_s), u"v"_s);
}
