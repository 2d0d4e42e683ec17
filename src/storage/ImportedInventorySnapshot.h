#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

namespace tallybrook {

/// One entry of the import history: which session was imported when, and the file's bytes
/// exactly as read, so the import can be replayed at the next start.
struct ImportedInventorySnapshot {
    QUuid sessionId;
    QString sessionName;
    QDateTime importedAt;
    QDateTime exportedAt;
    QString sourceRaw;
    std::optional<QString> originalFileName;
    QByteArray documentData;

    bool operator==(const ImportedInventorySnapshot&) const = default;
};

/// JSON form: keys are the field names; UUID as upper-case text, dates as seconds since
/// 2001-01-01T00:00:00Z, bytes as Base64, `originalFileName` left out when none.
QJsonObject toJson(const ImportedInventorySnapshot& snapshot);
/// Strict reading; every key but `originalFileName` is required. Throws ModelDecodingError.
ImportedInventorySnapshot importedInventorySnapshotFromJson(const QJsonObject& object);

/// The bytes of the JSON array of snapshots, compact, in list order.
QByteArray encodeImportHistory(const QList<ImportedInventorySnapshot>& snapshots);
/// The snapshots of a stored history; throws ModelDecodingError when any part does not decode.
QList<ImportedInventorySnapshot> decodeImportHistory(const QByteArray& bytes);

} // namespace tallybrook
