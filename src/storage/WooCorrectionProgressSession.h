#pragma once

#include "corrections/CorrectionRecords.h"
#include "corrections/WooCorrectionStatus.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

namespace tallybrook {

/// What is remembered of one correction row across rebuilds: the user's changes that differ
/// from the defaults, the store stock last known, and the outcome of the last send.
struct WooCorrectionProgressRecord {
    QString key;
    std::optional<WooCorrectionStatus> status;
    std::optional<qint64> proposedQuantity;
    std::optional<qint64> requestedQuantity;
    std::optional<bool> isSelected;
    std::optional<QString> message;
    QDateTime updatedAt;
    std::optional<QDateTime> sentAt;
    std::optional<qint64> lastRemoteQuantity;
    std::optional<QDateTime> lastRemoteReloadAt;
    std::optional<bool> success;

    bool operator==(const WooCorrectionProgressRecord&) const = default;
};

/// The saved correction progress of one inventory session.
struct WooCorrectionProgressSession {
    QUuid sessionId;
    QDateTime updatedAt;
    QList<WooCorrectionProgressRecord> records; ///< newest `updatedAt` first
    QList<WooUpdateResultLine> updateResults;   ///< the last send run's lines

    bool operator==(const WooCorrectionProgressSession&) const = default;
};

/// JSON forms (keys are the field names, none left out). Readers throw ModelDecodingError:
/// a record needs `key` and `updatedAt`, a session all four of its keys.
WooCorrectionProgressRecord progressRecordFromJson(const QJsonObject& object);
/// Appends the session as one JSON object (written as text: a session may hold a record for
/// each of 100,000 rows and is saved after every edit). Optional fields that are none are left out.
void appendProgressSessionJson(QByteArray& out, const WooCorrectionProgressSession& session);
WooCorrectionProgressSession progressSessionFromJson(const QJsonObject& object);

} // namespace tallybrook
