#pragma once

#include "storage/JsonTextWriter.h"

#include "core/Clock.h"
#include "storage/SessionBlobStore.h"

#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QString>
#include <memory>

namespace tallybrook {

struct InventoryExportTemporaryItem;

/// The locations the user gave to the temporary items of one session.
struct TemporaryItemLocationSession {
    QString sessionId; ///< the document's session id text, exactly as in the file
    QDateTime updatedAt;
    QMap<QString, QString> assignments; ///< temporary-item key -> location

    bool operator==(const TemporaryItemLocationSession&) const = default;
};

/// Remembers per session the location assigned to each temporary item, so it survives a
/// restart and a re-import. Keeps the 20 most recently saved sessions in one preferences blob,
/// read afresh on every call. Main thread only (through the control store).
class TemporaryItemLocationStore {
public:
    static QString defaultStorageKey() {
        return QStringLiteral("com.tallybrook.control.temporary-item-locations.v1");
    }
    static constexpr qsizetype defaultMaxSessionCount = 20;

    explicit TemporaryItemLocationStore(std::shared_ptr<PreferencesStore> defaults, Clock clock = systemNow);

    /// Sessions by session id text; empty when the blob is missing or undecodable.
    QHash<QString, TemporaryItemLocationSession> loadSessions() const;
    /// The session's assignments (looked up by the exact id text), empty when not stored.
    QMap<QString, QString> loadAssignments(const QString& sessionId) const;
    /// Stores the whole map for the session, stamped now.
    void saveAssignments(const QMap<QString, QString>& assignments, const QString& sessionId) const;

    /// The item's own session id ("legacy" when it has none; an empty one stays empty), its
    /// id, its scanned code (empty when none) and its provisional name, joined with "|".
    static QString itemKey(const InventoryExportTemporaryItem& item);

private:
    struct Codec {
        static TemporaryItemLocationSession decode(const QJsonObject& object);
        static QJsonObject encode(const TemporaryItemLocationSession& session);
        static void appendJson(QByteArray& out, const TemporaryItemLocationSession& session) {
            jsontext::appendObject(out, encode(session));
        }
        static QString key(const TemporaryItemLocationSession& session) { return session.sessionId; }
        static QDateTime updatedAt(const TemporaryItemLocationSession& session) { return session.updatedAt; }
    };

    SessionBlobStore<TemporaryItemLocationSession, Codec> blob_;
    Clock clock_;
};

} // namespace tallybrook
