#include "storage/ImportedInventorySnapshot.h"

#include "core/JsonObjectReader.h"
#include "document/TallybrookFileDecoder.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <string_view>

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

/// Every field but the file's bytes.
QJsonObject metadataJson(const ImportedInventorySnapshot& snapshot) {
    QJsonObject object;
    object.insert(u"sessionId"_s, jsonUuid(snapshot.sessionId));
    object.insert(u"sessionName"_s, snapshot.sessionName);
    object.insert(u"importedAt"_s, jsonDate(snapshot.importedAt));
    object.insert(u"exportedAt"_s, jsonDate(snapshot.exportedAt));
    object.insert(u"sourceRaw"_s, snapshot.sourceRaw);
    insertOptional(object, u"originalFileName"_s, snapshot.originalFileName);
    return object;
}

void appendBase64(QByteArray& out, const QByteArray& bytes) {
    // Slices of a multiple of three bytes encode without padding, so their texts join up.
    constexpr qsizetype slice = 3 * 1024 * 1024;
    for (qsizetype start = 0; start < bytes.size(); start += slice) {
        out +=
            QByteArray::fromRawData(bytes.constData() + start, qMin(slice, bytes.size() - start)).toBase64();
    }
}

} // namespace

QJsonObject toJson(const ImportedInventorySnapshot& snapshot) {
    QJsonObject object = metadataJson(snapshot);
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
    // Room after the end now, once, lets the start-up reopen decode the file where it is
    // instead of copying it while the decoder's own memory is at its largest.
    if (!TallybrookFileDecoder::isReadableInPlace(snapshot.documentData)) {
        snapshot.documentData.reserve(snapshot.documentData.size() +
                                      TallybrookFileDecoder::roomAfterEndForReadingInPlace);
    }
    return snapshot;
}

QByteArray encodeImportHistory(const QList<ImportedInventorySnapshot>& snapshots) {
    // The same text as a QJsonDocument of toJson() objects, but each file's Base64 is written
    // straight into the result: through QJsonObject a large file would be held several times
    // over (Base64, UTF-16 text, JSON) while the history is saved. "documentData" sorts first
    // among the keys, so it opens each object as it would there.
    constexpr std::string_view dataKey = "{\"documentData\":\"";
    QList<QByteArray> metadata;
    metadata.reserve(snapshots.size());
    qsizetype size = 2;
    for (const ImportedInventorySnapshot& snapshot : snapshots) {
        metadata.append(QJsonDocument(metadataJson(snapshot)).toJson(QJsonDocument::Compact));
        size += 1 + qsizetype(dataKey.size()) + (snapshot.documentData.size() + 2) / 3 * 4 + 1 +
                metadata.constLast().size();
    }
    QByteArray out;
    out.reserve(size);
    out += '[';
    for (qsizetype i = 0; i < snapshots.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out.append(dataKey.data(), qsizetype(dataKey.size()));
        appendBase64(out, snapshots.at(i).documentData);
        out += "\",";
        out.append(QByteArrayView(metadata.at(i)).sliced(1)); // the other keys, after their "{"
    }
    out += ']';
    return out;
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
