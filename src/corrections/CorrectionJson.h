#pragma once

#include "core/JsonObjectReader.h"
#include "core/ModelDecodingError.h"
#include "corrections/CommerceConnectorKind.h"
#include "corrections/CorrectionRecords.h"
#include "corrections/WooCorrectionStatus.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>

namespace tallybrook {

// JSON forms of the correction model, used by the progress store and the command-line tool.
// Keys are the field names; an optional field that is none is left out and a missing or null
// optional key reads as none. Decoding is strict and throws ModelDecodingError on a missing
// required key, a wrong JSON type or an unknown enumeration text. QJsonObject keeps its keys
// sorted, so the written member order is alphabetical; no reader depends on member order.

/// Enumerations are written as their raw text.
QJsonValue toJson(WooCorrectionStatus status);
QJsonValue toJson(CommerceConnectorKind kind);
WooCorrectionStatus wooCorrectionStatusFromJson(const QJsonValue& value);
CommerceConnectorKind commerceConnectorKindFromJson(const QJsonValue& value);

QJsonObject toJson(const RemoteStockLevel& level);
QJsonObject toJson(const WooCorrectionPreview& preview);
QJsonObject toJson(const WooUpdateResultLine& line);
QJsonObject toJson(const RemoteStockReloadIssue& issue);
/// `loadedItemCount` is derived from the levels and not written.
QJsonObject toJson(const RemoteStockReloadReport& report);

RemoteStockLevel remoteStockLevelFromJson(const QJsonObject& object);
WooCorrectionPreview previewFromJson(const QJsonObject& object);
WooUpdateResultLine resultLineFromJson(const QJsonObject& object);
RemoteStockReloadIssue reloadIssueFromJson(const QJsonObject& object);
RemoteStockReloadReport reloadReportFromJson(const QJsonObject& object);

/// Generic access to the record decoders above, for list helpers and templates.
template <typename T> T fromJson(const QJsonObject& object);
template <> inline RemoteStockLevel fromJson<RemoteStockLevel>(const QJsonObject& object) {
    return remoteStockLevelFromJson(object);
}
template <> inline WooCorrectionPreview fromJson<WooCorrectionPreview>(const QJsonObject& object) {
    return previewFromJson(object);
}
template <> inline WooUpdateResultLine fromJson<WooUpdateResultLine>(const QJsonObject& object) {
    return resultLineFromJson(object);
}
template <> inline RemoteStockReloadIssue fromJson<RemoteStockReloadIssue>(const QJsonObject& object) {
    return reloadIssueFromJson(object);
}
template <> inline RemoteStockReloadReport fromJson<RemoteStockReloadReport>(const QJsonObject& object) {
    return reloadReportFromJson(object);
}

/// A JSON array of the records, in list order.
template <typename T> QJsonArray toJsonArray(const QList<T>& records) {
    QJsonArray array;
    for (const T& record : records) {
        array.append(toJson(record));
    }
    return array;
}

/// The records of a JSON array; every element must be an object that decodes as T.
template <typename T> QList<T> listFromJson(const QJsonArray& array) {
    QList<T> records;
    records.reserve(array.size());
    for (const QJsonValue element : array) {
        if (!element.isObject()) {
            throw ModelDecodingError(QStringLiteral("array element is not an object"));
        }
        records.append(fromJson<T>(element.toObject()));
    }
    return records;
}

} // namespace tallybrook
