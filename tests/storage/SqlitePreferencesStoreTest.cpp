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
    EXPECT_EQ(store->string(u"missing"_s), std::nullopt);
}

TEST(SqlitePreferencesStoreTest, ForeignOrCorruptFilesAreMovedAsideNeverDeleted) {
    struct Case {
        const char* name;
        QByteArray content;
    };
    QByteArray randomBytes(64 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : randomBytes) {
        byte = char(generator.generate() & 0xff);
    }
    QByteArray sqliteHeaderThenNoise = QByteArray("SQLite format 3\0", 16) + randomBytes.left(8000);

    for (const Case& c : {Case{"random bytes", randomBytes}, Case{"sqlite header then noise", sqliteHeaderThenNoise},
                          Case{"text file", QByteArray("key=value\n")}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"preferences.sqlite3"_s);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        auto store = SqlitePreferencesStore::open(path);
        ASSERT_NE(store, nullptr);
        ASSERT_FALSE(store->movedAsidePath().isEmpty());
        EXPECT_EQ(fileBytes(store->movedAsidePath()), c.content);
        store->setString(u"k"_s, u"v"_s);
        EXPECT_EQ(store->string(u"k"_s), u"v"_s);
    }
}

TEST(SqlitePreferencesStoreTest, AnotherProgramsDatabaseIsMovedAsideIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    {
        // A healthy SQLite database of some other program, even with a table of the same name.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE preferences(id INTEGER); INSERT INTO preferences VALUES (7);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    const QByteArray original = fileBytes(path);
    auto store = SqlitePreferencesStore::open(path);
    ASSERT_NE(store, nullptr);
    ASSERT_FALSE(store->movedAsidePath().isEmpty());
    EXPECT_EQ(fileBytes(store->movedAsidePath()), original);
    store->setString(u"k"_s, u"v"_s);

    // Our own file is recognised on reopening and keeps its values.
    store.reset();
    auto reopened = SqlitePreferencesStore::open(path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->movedAsidePath().isEmpty());
    EXPECT_EQ(reopened->string(u"k"_s), u"v"_s);
}

TEST(SqlitePreferencesStoreTest, ReadOnlyAccessSeesWritesAndNeverWrites) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    EXPECT_EQ(SqlitePreferencesStore::openReadOnly(path), nullptr);

    auto writer = SqlitePreferencesStore::open(path);
    ASSERT_NE(writer, nullptr);
    writer->setString(u"com.tallybrook.control.language"_s, u"en"_s);

    auto reader = SqlitePreferencesStore::openReadOnly(path);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->string(u"com.tallybrook.control.language"_s), u"en"_s);
    reader->setString(u"com.tallybrook.control.language"_s, u"fr"_s);
    reader->remove(u"com.tallybrook.control.language"_s);
    EXPECT_EQ(writer->string(u"com.tallybrook.control.language"_s), u"en"_s);

    // The writer's later changes are visible to the open reader.
    writer->setString(u"com.tallybrook.control.language"_s, u"fr"_s);
    EXPECT_EQ(reader->string(u"com.tallybrook.control.language"_s), u"fr"_s);

    // A damaged file is left alone by a reader.
    QTemporaryDir other;
    const QString junk = other.filePath(u"preferences.sqlite3"_s);
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    EXPECT_EQ(SqlitePreferencesStore::openReadOnly(junk), nullptr);
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files).size(), 1);
}

// A store that another process holds locked past the busy timeout may be perfectly good: it is
// neither opened nor moved aside, and opens with its values once the lock is gone.
TEST(SqlitePreferencesStoreTest, ALockedStoreIsLeftWhereItIs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite3"_s);
    {
        auto store = SqlitePreferencesStore::open(path);
        ASSERT_NE(store, nullptr);
        store->setString(u"k"_s, u"v"_s);
    }
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &holder), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
        SQLITE_OK);

    EXPECT_EQ(SqlitePreferencesStore::open(path), nullptr);
    EXPECT_EQ(QDir(dir.path()).entryList({u"*.damaged-*"_s}, QDir::Files), QStringList());

    ASSERT_EQ(sqlite3_exec(holder, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(holder);
    auto reopened = SqlitePreferencesStore::open(path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->movedAsidePath().isEmpty());
    EXPECT_EQ(reopened->string(u"k"_s), u"v"_s);
}
