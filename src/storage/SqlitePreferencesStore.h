#pragma once

#include "localization/PreferencesStore.h"

#include <QMutex>
#include <QString>

#include <memory>

struct sqlite3;

namespace tallybrook {

/// The user's preferences in one SQLite file (WAL, one key/value table, each write one
/// transaction). Safe from any thread; a busy timeout lets the command-line tool read while
/// the window writes.
class SqlitePreferencesStore final : public PreferencesStore {
public:
    /// Opens or creates the store at `path` for reading and writing. A file that SQLite cannot
    /// open, or that is not a preferences store of ours, is moved aside (renamed with a time
    /// stamp, never deleted) and a fresh store is started. Returns null when even a fresh file
    /// cannot be created (for example a read-only folder), and when the file cannot be looked
    /// at right now (locked by another process past the busy timeout, an I/O error): such a
    /// file is left where it is, since it may be a good store.
    static std::shared_ptr<SqlitePreferencesStore> open(const QString& path);
    /// Opens an existing store without ever writing to it; null when it cannot be read.
    static std::shared_ptr<SqlitePreferencesStore> openReadOnly(const QString& path);
    /// preferences.sqlite3 in the application data folder (organisation "Tallybrook",
    /// application "Tallybrook Control").
    static QString defaultPath();

    ~SqlitePreferencesStore() override;
    SqlitePreferencesStore(const SqlitePreferencesStore&) = delete;
    SqlitePreferencesStore& operator=(const SqlitePreferencesStore&) = delete;

    std::optional<QString> string(const QString& key) const override;
    std::optional<QByteArray> data(const QString& key) const override;
    void setString(const QString& key, const QString& value) override;
    void setData(const QString& key, const QByteArray& value) override;
    void remove(const QString& key) override;

    /// Where a damaged file was moved at opening, if one was.
    const QString& movedAsidePath() const { return movedAsidePath_; }
    const QString& path() const { return path_; }

private:
    enum class Kind { text = 0, data = 1 };

    SqlitePreferencesStore(sqlite3* db, QString path, bool readOnly);
    std::optional<QByteArray> read(const QString& key, Kind kind) const;
    void write(const QString& key, Kind kind, const QByteArray& value);

    sqlite3* db_;
    QString path_;
    QString movedAsidePath_;
    bool readOnly_;
    mutable QMutex mutex_;
};

} // namespace tallybrook
