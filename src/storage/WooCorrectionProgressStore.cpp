#include "storage/WooCorrectionProgressStore.h"

#include "core/TextRules.h"
#include "corrections/WooCorrectionBuilder.h"
#include "localization/AppText.h"

#include <QLocale>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

/// The record a save writes for one correction, or none when the row is back at its defaults.
std::optional<WooCorrectionProgressRecord> newRecord(const WooCorrectionPreview& correction,
                                                     const QString& key,
                                                     const WooCorrectionProgressRecord* existing,
                                                     const QDateTime& now) {
    const std::optional<QDateTime> existingReloadAt = existing ? existing->lastRemoteReloadAt : std::nullopt;
    const std::optional<QDateTime> lastRemoteReloadAt =
        correction.currentRemoteQuantity ? std::optional<QDateTime>(now) : existingReloadAt;

    if (correction.status == WooCorrectionStatus::sent || correction.status == WooCorrectionStatus::failed) {
        const bool sent = correction.status == WooCorrectionStatus::sent;
        std::optional<QDateTime> sentAt = existing ? existing->sentAt : std::nullopt;
        if (sent && !sentAt) {
            sentAt = now;
        }
        return WooCorrectionProgressRecord{key,
                                           correction.status,
                                           correction.proposedQuantity,
                                           correction.proposedQuantity,
                                           false,
                                           correction.message,
                                           now,
                                           sentAt,
                                           correction.currentRemoteQuantity,
                                           lastRemoteReloadAt,
                                           sent};
    }

    const bool proposalIsDefault = correction.proposedQuantity == correction.countedQuantity;
    const bool selectionIsDefault =
        correction.isSelected == (correction.status == WooCorrectionStatus::ready);
    if (!correction.currentRemoteQuantity && proposalIsDefault && selectionIsDefault) {
        return std::nullopt;
    }
    return WooCorrectionProgressRecord{key,
                                       std::nullopt,
                                       proposalIsDefault ? std::nullopt : correction.proposedQuantity,
                                       existing ? existing->requestedQuantity : std::nullopt,
                                       selectionIsDefault ? std::nullopt
                                                          : std::optional<bool>(correction.isSelected),
                                       proposalIsDefault ? std::nullopt : correction.message,
                                       now,
                                       existing ? existing->sentAt : std::nullopt,
                                       correction.currentRemoteQuantity,
                                       lastRemoteReloadAt,
                                       existing ? existing->success : std::nullopt};
}

} // namespace

QString WooCorrectionProgressStore::Codec::key(const WooCorrectionProgressSession& session) {
    return uuidText(session.sessionId);
}

WooCorrectionProgressStore::WooCorrectionProgressStore(std::shared_ptr<PreferencesStore> defaults,
                                                       Clock clock)
    : blob_(std::move(defaults), defaultStorageKey(), defaultMaxSessionCount)
    , clock_(std::move(clock)) {}

QHash<QString, WooCorrectionProgressSession> WooCorrectionProgressStore::loadSessions() const {
    return blob_.loadSessions();
}

QString WooCorrectionProgressStore::recordKey(const WooCorrectionPreview& preview) {
    const QString empty;
    return (preview.localItemId ? uuidText(*preview.localItemId) : empty) + u'|' +
           preview.externalProductId.value_or(empty) + u'|' + preview.externalVariantId.value_or(empty) +
           u'|' + preview.sku.value_or(empty) + u'|' + preview.barcode.value_or(empty) + u'|' +
           preview.itemName;
}

QString WooCorrectionProgressStore::sentDateText(const QDateTime& sentAt) {
    // Qt has no "abbreviated" date style; the short style of the system locale is the closest
    // compact rendering and follows the user's regional settings like the rest of the system.
    return QLocale::system().toString(sentAt.toLocalTime(), QLocale::ShortFormat);
}

QString WooCorrectionProgressStore::sentMessage(const WooCorrectionProgressRecord& record,
                                                const WooCorrectionPreview& preview) {
    const QString base = record.sentAt
                             ? AppText::formatted(u"wooUpdate.sentOn", {sentDateText(*record.sentAt)})
                             : AppText::localized(u"wooUpdate.sent");
    if (!record.requestedQuantity || !preview.currentRemoteQuantity ||
        *preview.currentRemoteQuantity == *record.requestedQuantity) {
        return base;
    }
    return AppText::formatted(u"wooUpdate.remoteMismatch",
                              {base, *preview.currentRemoteQuantity, *record.requestedQuantity});
}

QList<WooCorrectionPreview>
WooCorrectionProgressStore::applyProgress(const QList<WooCorrectionPreview>& previews,
                                          const QUuid& sessionId) const {
    const QHash<QString, WooCorrectionProgressSession> sessions = loadSessions();
    const auto session = sessions.constFind(uuidText(sessionId));
    if (session == sessions.cend()) {
        return previews;
    }
    QHash<QString, const WooCorrectionProgressRecord*> records;
    records.reserve(session->records.size());
    for (const WooCorrectionProgressRecord& record : session->records) {
        records.insert(record.key, &record);
    }

    QList<WooCorrectionPreview> result = previews;
    for (WooCorrectionPreview& preview : result) {
        const auto found = records.constFind(recordKey(preview));
        if (found == records.cend()) {
            continue;
        }
        const WooCorrectionProgressRecord& record = **found;
        // A stock read in this very rebuild (a reload) rather than remembered from an earlier one.
        const bool stockJustRead = preview.currentRemoteQuantity.has_value();
        if (!preview.currentRemoteQuantity) {
            preview.currentRemoteQuantity = record.lastRemoteQuantity;
        }
        if (record.proposedQuantity || record.requestedQuantity) {
            preview.proposedQuantity =
                record.proposedQuantity ? record.proposedQuantity : record.requestedQuantity;
            if (preview.currentRemoteQuantity) {
                preview.differenceFromCurrentRemote =
                    checkedDifference(preview.proposedQuantity, preview.currentRemoteQuantity);
            }
        }
        if (record.status == WooCorrectionStatus::failed && !stockJustRead) {
            preview.status = WooCorrectionStatus::failed;
            preview.isSelected = false;
            preview.message = record.message ? *record.message : AppText::localized(u"wooUpdate.lastFailed");
        } else if (record.status == WooCorrectionStatus::failed) {
            // A failed send is shown until the shop's stock is read again; after that the row
            // stands as the builder made it from that stock, so it can be sent again (a failed
            // row can be neither selected nor sent, and would otherwise stay failed for good).
        } else if (record.status == WooCorrectionStatus::sent) {
            preview.status = WooCorrectionStatus::sent;
            preview.isSelected = false;
            preview.message = sentMessage(record, preview);
        } else {
            if (record.isSelected && isManuallyCorrectable(preview.status)) {
                preview.isSelected = *record.isSelected;
            }
            if (record.message && record.proposedQuantity) {
                preview.message = record.message;
            }
        }
    }
    return result;
}

void WooCorrectionProgressStore::saveProgress(const QUuid& sessionId,
                                              const QList<WooCorrectionPreview>& corrections,
                                              const QList<WooUpdateResultLine>& updateResults) const {
    const QString sessionKey = uuidText(sessionId);
    const QHash<QString, WooCorrectionProgressSession> sessions = loadSessions();
    QHash<QString, WooCorrectionProgressRecord> index;
    if (const auto stored = sessions.constFind(sessionKey); stored != sessions.cend()) {
        index.reserve(stored->records.size() + corrections.size());
        for (const WooCorrectionProgressRecord& record : stored->records) {
            index.insert(record.key, record);
        }
    }

    const QDateTime now = clock_();
    for (const WooCorrectionPreview& correction : corrections) {
        const QString key = recordKey(correction);
        const auto existing = index.constFind(key);
        std::optional<WooCorrectionProgressRecord> record =
            newRecord(correction, key, existing == index.cend() ? nullptr : &*existing, now);
        if (record) {
            index.insert(key, std::move(*record));
        } else {
            index.remove(key);
        }
    }

    WooCorrectionProgressSession session{sessionId, now, {}, updateResults};
    session.records.reserve(index.size());
    for (WooCorrectionProgressRecord& record : index) {
        session.records.append(std::move(record));
    }
    // Newest first; the key breaks ties so the stored order does not depend on hash order.
    std::sort(session.records.begin(), session.records.end(), [](const auto& left, const auto& right) {
        if (left.updatedAt != right.updatedAt) {
            return left.updatedAt > right.updatedAt;
        }
        return left.key < right.key;
    });
    blob_.saveSession(session);
}

} // namespace tallybrook
