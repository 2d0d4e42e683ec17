#pragma once

#include "core/Clock.h"
#include "storage/SessionBlobStore.h"
#include "storage/WooCorrectionProgressSession.h"

#include <QHash>
#include <memory>

namespace tallybrook {

/// Remembers per inventory session what the user did on the corrections page (selections and
/// proposals that differ from the defaults), the store stock last known per row and the
/// outcome of sends, so that all of it survives a restart and a re-import. Rows are identified
/// across rebuilds by their record key, never by the preview id.
///
/// Keeps the 20 most recently saved sessions in one preferences blob, read afresh on every call.
/// Main thread only (through the control store).
class WooCorrectionProgressStore {
public:
    static QString defaultStorageKey() {
        return QStringLiteral("com.tallybrook.control.woo-correction-progress.v1");
    }
    static constexpr qsizetype defaultMaxSessionCount = 20;

    explicit WooCorrectionProgressStore(std::shared_ptr<PreferencesStore> defaults, Clock clock = systemNow);

    /// Sessions by upper-case session UUID text; empty when the blob is missing or undecodable.
    QHash<QString, WooCorrectionProgressSession> loadSessions() const;
    /// `previews` with the session's saved progress laid over them, in the same order. A row
    /// whose last send failed shows `failed` until previews are built from freshly read stock:
    /// then it keeps the status its stock gives it, so that it can be sent again.
    QList<WooCorrectionPreview> applyProgress(const QList<WooCorrectionPreview>& previews,
                                              const QUuid& sessionId) const;
    /// Merges the current previews into the session's records and stores the send results.
    void saveProgress(const QUuid& sessionId, const QList<WooCorrectionPreview>& corrections,
                      const QList<WooUpdateResultLine>& updateResults) const;

    /// Local item, product id, variation id, SKU, barcode (each empty when none) and item name
    /// joined with "|".
    static QString recordKey(const WooCorrectionPreview& preview);
    /// The date of the sent-on message: abbreviated date and short time, in the local time
    /// zone and the system locale (not the application language), e.g. "5/2/24 3:04 PM".
    static QString sentDateText(const QDateTime& sentAt);
    /// The message of a row restored as sent: sent-on (or plain sent) text, followed by the
    /// mismatch text when the store's stock no longer equals the quantity sent.
    static QString sentMessage(const WooCorrectionProgressRecord& record,
                               const WooCorrectionPreview& preview);

private:
    struct Codec {
        static WooCorrectionProgressSession decode(const QJsonObject& object) {
            return progressSessionFromJson(object);
        }
        static void appendJson(QByteArray& out, const WooCorrectionProgressSession& session) {
            appendProgressSessionJson(out, session);
        }
        static QString key(const WooCorrectionProgressSession& session);
        static QDateTime updatedAt(const WooCorrectionProgressSession& session) { return session.updatedAt; }
    };

    SessionBlobStore<WooCorrectionProgressSession, Codec> blob_;
    Clock clock_;
};

} // namespace tallybrook
