#include "storage/SqlitePreferencesStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>

#include <sqlite3.h>

namespace tallybrook {

namespace {

// Marks the file as ours ("TBPR"), so that another program's database is never taken over.
constexpr int applicationId = 0x54425052;
constexpr int busyTimeoutMs = 5000;

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The one integer a query yields, or the SQLite error code that stopped it.
struct QueryResult {
    int error = SQLITE_OK;
    qint64 value = 0;
};

QueryResult queryInteger(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    QueryResult result;
    result.error = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (result.error != SQLITE_OK) {
        sqlite3_finalize(statement);
        return result;
    }
    const int step = sqlite3_step(statement);
    if (step == SQLITE_ROW) {
        result.value = sqlite3_column_int64(statement, 0);
    } else if (step != SQLITE_DONE) {
        result.error = step;
    }
    sqlite3_finalize(statement);
    return result;
}

// Whether a failure says something about this moment or this machine (a lock held by another
// process, an I/O, memory or permission error) rather than about the file: such a file may be
// a good store and must not be replaced.
bool isPassingFailure(int error) {
    switch (error & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_NOMEM:
    case SQLITE_IOERR:
    case SQLITE_INTERRUPT:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_PROTOCOL:
        return true;
    default:
        return false;
    }
}

enum class StoreCheck { ours, notOurs, unavailable };

// Whether the open database is one of our stores (or is brand new and was made one), is
// something else, or cannot be looked at right now.
StoreCheck checkStore(sqlite3* db, bool mayInitialise) {
    const QueryResult id = queryInteger(db, "PRAGMA application_id");
    const QueryResult tables =
        id.error == SQLITE_OK ? queryInteger(db, "SELECT count(*) FROM sqlite_master") : id;
    if (tables.error != SQLITE_OK) {
        return isPassingFailure(tables.error) ? StoreCheck::unavailable : StoreCheck::notOurs;
    }
    if (id.value == 0 && tables.value == 0) {
        if (!mayInitialise) {
            return StoreCheck::notOurs;
        }
        const bool created =
            exec(db, "PRAGMA journal_mode=WAL") &&
            exec(db,
                 "BEGIN IMMEDIATE;"
                 "CREATE TABLE IF NOT EXISTS preferences("
                 "key TEXT PRIMARY KEY NOT NULL, kind INTEGER NOT NULL, value BLOB NOT NULL) WITHOUT ROWID;"
                 "PRAGMA application_id=1413632082;"
                 "COMMIT;");
        return created ? StoreCheck::ours : StoreCheck::unavailable;
    }
    if (id.value != applicationId) {
        return StoreCheck::notOurs;
    }
    const QueryResult columns = queryInteger(
        db, "SELECT count(*) FROM pragma_table_info('preferences') WHERE name IN ('key','kind','value')");
    if (columns.error != SQLITE_OK) {
        return isPassingFailure(columns.error) ? StoreCheck::unavailable : StoreCheck::notOurs;
    }
    return columns.value == 3 ? StoreCheck::ours : StoreCheck::notOurs;
}

sqlite3* openDatabase(const QString& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    return db;
}

// Renames the damaged file (and its journal files) with a time stamp; never deletes anything.
QString moveAside(const QString& path) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    }
    if (!QFile::rename(path, target)) {
        return {};
    }
    for (const char16_t* suffix : {u"-wal", u"-shm"}) {
        if (QFileInfo::exists(path + QString::fromUtf16(suffix))) {
            QFile::rename(path + QString::fromUtf16(suffix), target + QString::fromUtf16(suffix));
        }
    }
    return target;
}

} // namespace

static_assert(applicationId == 1413632082, "the CREATE statement spells the id in decimal");

QString SqlitePreferencesStore::defaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (QCoreApplication::organizationName().isEmpty() || QCoreApplication::applicationName().isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/Tallybrook/Tallybrook Control");
    }
    return folder + QStringLiteral("/preferences.sqlite3");
}

std::shared_ptr<SqlitePreferencesStore> SqlitePreferencesStore::open(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString movedAside;
    sqlite3* db = openDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const StoreCheck check = db ? checkStore(db, true) : StoreCheck::notOurs;
    if (check == StoreCheck::unavailable) {
        // Busy or failing right now: the file may well be a good store, so it is left alone.
        sqlite3_close(db);
        return nullptr;
    }
    if (check == StoreCheck::notOurs) {
        sqlite3_close(db);
        movedAside = moveAside(path);
        if (movedAside.isEmpty()) {
            return nullptr;
        }
        db = openDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!db || checkStore(db, true) != StoreCheck::ours) {
            sqlite3_close(db);
            return nullptr;
        }
    }
    std::shared_ptr<SqlitePreferencesStore> store(new SqlitePreferencesStore(db, path, false));
    store->movedAsidePath_ = movedAside;
    return store;
}

std::shared_ptr<SqlitePreferencesStore> SqlitePreferencesStore::openReadOnly(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return nullptr;
    }
    sqlite3* db = openDatabase(path, SQLITE_OPEN_READONLY);
    if (!db || checkStore(db, false) != StoreCheck::ours) {
        sqlite3_close(db);
        return nullptr;
    }
    return std::shared_ptr<SqlitePreferencesStore>(new SqlitePreferencesStore(db, path, true));
}

SqlitePreferencesStore::SqlitePreferencesStore(sqlite3* db, QString path, bool readOnly)
    : db_(db)
    , path_(std::move(path))
    , readOnly_(readOnly) {}

SqlitePreferencesStore::~SqlitePreferencesStore() {
    sqlite3_close(db_);
}

std::optional<QByteArray> SqlitePreferencesStore::read(const QString& key, Kind kind) const {
    QMutexLocker lock(&mutex_);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT kind, value FROM preferences WHERE key = ?1", -1, &statement, nullptr) !=
        SQLITE_OK) {
        return std::nullopt;
    }
    const QByteArray keyBytes = key.toUtf8();
    sqlite3_bind_text(statement, 1, keyBytes.constData(), int(keyBytes.size()), SQLITE_STATIC);
    std::optional<QByteArray> result;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) == int(kind)) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 1));
        result = QByteArray(bytes ? bytes : "", sqlite3_column_bytes(statement, 1));
    }
    sqlite3_finalize(statement);
    return result;
}

void SqlitePreferencesStore::write(const QString& key, Kind kind, const QByteArray& value) {
    if (readOnly_) {
        return;
    }
    QMutexLocker lock(&mutex_);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO preferences(key, kind, value) VALUES (?1, ?2, ?3)", -1,
                           &statement, nullptr) != SQLITE_OK) {
        return;
    }
    const QByteArray keyBytes = key.toUtf8();
    sqlite3_bind_text(statement, 1, keyBytes.constData(), int(keyBytes.size()), SQLITE_STATIC);
    sqlite3_bind_int(statement, 2, int(kind));
    sqlite3_bind_blob64(statement, 3, value.constData(), sqlite3_uint64(value.size()), SQLITE_STATIC);
    sqlite3_step(statement); // a single statement is its own transaction
    sqlite3_finalize(statement);
}

std::optional<QString> SqlitePreferencesStore::string(const QString& key) const {
    const auto bytes = read(key, Kind::text);
    return bytes ? std::optional<QString>(QString::fromUtf8(*bytes)) : std::nullopt;
}

std::optional<QByteArray> SqlitePreferencesStore::data(const QString& key) const {
    return read(key, Kind::data);
}

void SqlitePreferencesStore::setString(const QString& key, const QString& value) {
    write(key, Kind::text, value.toUtf8());
}

void SqlitePreferencesStore::setData(const QString& key, const QByteArray& value) {
    write(key, Kind::data, value);
}

void SqlitePreferencesStore::remove(const QString& key) {
    if (readOnly_) {
        return;
    }
    QMutexLocker lock(&mutex_);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "DELETE FROM preferences WHERE key = ?1", -1, &statement, nullptr) != SQLITE_OK) {
        return;
    }
    const QByteArray keyBytes = key.toUtf8();
    sqlite3_bind_text(statement, 1, keyBytes.constData(), int(keyBytes.size()), SQLITE_STATIC);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
}

} // namespace tallybrook
