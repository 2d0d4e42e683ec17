#include "storage/ImportedInventorySnapshot.h"

#include "corrections/JsonObjectReader.h"

#include <QJsonDocument>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

namespace tallybrook {

QJsonObject toJson(const ImportedInventorySnapshot& snapshot) {
    QJsonObject object;
    object.insert(u"sessionId"_s, jsonUuid(snapshot.sessionId));
    object.insert(u"sessionName"_s, snapshot.sessionName);
    object.insert(u"importedAt"_s, jsonDate(snapshot.importedAt));
    object.insert(u"exportedAt"_s, jsonDate(snapshot.exportedAt));
    object.insert(u"sourceRaw"_s, snapshot.sourceRaw);
    insertOptional(object, u"originalFileName"_s, snapshot.originalFileName);
    object.insert(u"documentData"_s, QString::fromLatin1(snapshot.documentData.toBase64()));
    return object;
}

ImportedInventorySnapshot importedInventorySnapshotFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"ImportedInventorySnapshot"_s);
    ImportedInventorySnapshot snapshot;
    snapshot.sessionId = reader.requiredUuid(u"sessionId");
    snapshot.sessionName = reader.requiredString(u"sessionName");
    snapshot.importedAt = reader.requiredDate(u"importedAt");
    snapshot.exportedAt = reader.requiredDate(u"exportedAt");
    snapshot.sourceRaw = reader.requiredString(u"sourceRaw");
    snapshot.originalFileName = reader.optionalString(u"originalFileName");
    const QString base64 = reader.requiredString(u"documentData");
    auto decoded = QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        reader.fail(u"documentData", u"expected Base64 text");
    }
    snapshot.documentData = std::move(*decoded);
    return snapshot;
}

QByteArray encodeImportHistory(const QList<ImportedInventorySnapshot>& snapshots) {
    QJsonArray array;
    for (const ImportedInventorySnapshot& snapshot : snapshots) {
        array.append(toJson(snapshot));
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<ImportedInventorySnapshot> decodeImportHistory(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        throw ModelDecodingError(u"import history: not a JSON array"_s);
    }
    QList<ImportedInventorySnapshot> snapshots;
    const QJsonArray array = document.array();
    snapshots.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isObject()) {
            throw ModelDecodingError(u"import history: element is not an object"_s);
        }
        snapshots.append(importedInventorySnapshotFromJson(element.toObject()));
    }
    return snapshots;
}

} // namespace tallybrook
