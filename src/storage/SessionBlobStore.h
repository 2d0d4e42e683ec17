#pragma once

#include "core/ModelDecodingError.h"
#include "localization/PreferencesStore.h"
#include "storage/JsonTextWriter.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QList>
#include <QString>
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

namespace tallybrook {

/// The load / prune / save pattern that the per-session stores share: one JSON object under
/// one preferences key, whose members are session records keyed by session, rewritten whole
/// on every save and pruned to the most recently updated sessions.
///
/// `Codec` provides, as static functions: `Session decode(const QJsonObject&)` (throws
/// ModelDecodingError), `void appendJson(QByteArray&, const Session&)` (the session as one JSON
/// object; written as text because a session may hold a record for each of 100,000 rows and is
/// saved after every edit), `QString key(const Session&)`
/// and `QDateTime updatedAt(const Session&)`. Every call reads the blob; decoding is skipped
/// when the stored bytes are exactly those this store last decoded or wrote (large sessions
/// are saved after every edit, and decoding the same bytes again would give the same sessions).
template <typename Session, typename Codec> class SessionBlobStore {
public:
    SessionBlobStore(std::shared_ptr<PreferencesStore> defaults, QString storageKey,
                     qsizetype maxSessionCount)
        : defaults_(std::move(defaults))
        , storageKey_(std::move(storageKey))
        , maxSessionCount_(maxSessionCount) {}

    const QString& storageKey() const { return storageKey_; }
    qsizetype maxSessionCount() const { return maxSessionCount_; }

    /// Every stored session by its member name. A missing blob, or one in which anything fails
    /// to decode, reads as empty; the stored bytes are left alone until the next save.
    QHash<QString, Session> loadSessions() const {
        QHash<QString, Session> sessions;
        const std::optional<QByteArray> stored = defaults_->data(storageKey_);
        if (!stored) {
            return sessions;
        }
        {
            std::lock_guard lock(decoded_->mutex);
            if (decoded_->bytes && *decoded_->bytes == *stored) {
                return decoded_->sessions;
            }
        }
        sessions = decodeBlob(*stored);
        std::lock_guard lock(decoded_->mutex);
        decoded_->bytes = *stored;
        decoded_->sessions = sessions;
        return sessions;
    }

    /// Puts `session` in place of any earlier record of its key, keeps it and the most recently
    /// updated others up to `maxSessionCount` sessions, and writes the blob.
    void saveSession(const Session& session) const {
        // The rebuilt blob is keyed by each record's own key. A blob written elsewhere may hold
        // a record under another member name (a lower-case UUID, say) whose own key is the same
        // as another record's; merging by own key first, newer record kept, makes sure such a
        // record can never take the place of the session being saved.
        const QHash<QString, Session> loaded = loadSessions();
        QHash<QString, Session> sessions;
        sessions.reserve(loaded.size() + 1);
        for (const Session& stored : loaded) {
            const QString key = Codec::key(stored);
            const auto existing = sessions.constFind(key);
            if (existing == sessions.cend() || Codec::updatedAt(stored) > Codec::updatedAt(*existing)) {
                sessions.insert(key, stored);
            }
        }
        const QString savedKey = Codec::key(session);
        sessions.remove(savedKey);

        // The session being saved is the most recently saved one, whatever the clock says: a
        // blob whose sessions were stamped while the clock ran ahead must not push it out.
        QList<const Session*> ordered;
        ordered.reserve(sessions.size() + 1);
        for (const Session& stored : std::as_const(sessions)) {
            ordered.append(&stored);
        }
        // Newest first; equal times fall back to the key so the kept set does not depend on
        // hash order.
        std::sort(ordered.begin(), ordered.end(), [](const Session* left, const Session* right) {
            const QDateTime leftTime = Codec::updatedAt(*left);
            const QDateTime rightTime = Codec::updatedAt(*right);
            if (leftTime != rightTime) {
                return leftTime > rightTime;
            }
            return Codec::key(*left) < Codec::key(*right);
        });
        if (ordered.size() > maxSessionCount_ - 1) {
            ordered.resize(std::max<qsizetype>(maxSessionCount_ - 1, 0));
        }
        ordered.prepend(&session);

        QByteArray bytes;
        bytes.append('{');
        QHash<QString, Session> kept;
        kept.reserve(ordered.size());
        for (const Session* session : std::as_const(ordered)) {
            if (bytes.size() > 1) {
                bytes.append(',');
            }
            const QString key = Codec::key(*session);
            jsontext::appendString(bytes, key);
            bytes.append(':');
            Codec::appendJson(bytes, *session);
            kept.insert(key, *session);
        }
        bytes.append('}');
        defaults_->setData(storageKey_, bytes);
        std::lock_guard lock(decoded_->mutex);
        decoded_->bytes = bytes;
        decoded_->sessions = std::move(kept);
    }

private:
    static QHash<QString, Session> decodeBlob(const QByteArray& stored) {
        QHash<QString, Session> sessions;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(stored, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            return sessions;
        }
        const QJsonObject object = document.object();
        sessions.reserve(object.size());
        try {
            for (auto it = object.begin(); it != object.end(); ++it) {
                if (!it->isObject()) {
                    return {};
                }
                sessions.insert(it.key(), Codec::decode(it->toObject()));
            }
        } catch (const ModelDecodingError&) {
            return {};
        }
        return sessions;
    }

    std::shared_ptr<PreferencesStore> defaults_;
    QString storageKey_;
    qsizetype maxSessionCount_;
    // Shared by copies of the store, which read and write the same blob.
    struct DecodedBlob {
        std::mutex mutex;
        std::optional<QByteArray> bytes;
        QHash<QString, Session> sessions;
    };
    std::shared_ptr<DecodedBlob> decoded_ = std::make_shared<DecodedBlob>();
};

} // namespace tallybrook
