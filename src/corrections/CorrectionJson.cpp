#include "corrections/CorrectionJson.h"

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

template <typename Enum>
Enum enumFromJson(const QJsonValue& value, std::optional<Enum> (*fromRaw)(QStringView),
                  QStringView typeName) {
    if (!value.isString()) {
        throw ModelDecodingError(typeName.toString() + u": expected a string"_s);
    }
    const QString raw = value.toString();
    const std::optional<Enum> decoded = fromRaw(raw);
    if (!decoded) {
        throw ModelDecodingError(typeName.toString() + u": unknown value \""_s + raw + u"\""_s);
    }
    return *decoded;
}

/// Decodes an enumeration member; the member is required.
template <typename Enum>
Enum enumMember(const JsonObjectReader& reader, QStringView key, Enum (*decode)(const QJsonValue&)) {
    const QJsonValue value = reader.value(key);
    if (value.isUndefined() || value.isNull()) {
        reader.fail(key, u"missing required value");
    }
    return decode(value);
}

template <typename T> QList<T> listMember(const JsonObjectReader& reader, QStringView key) {
    return listFromJson<T>(reader.requiredArray(key));
}

} // namespace

QJsonValue toJson(WooCorrectionStatus status) {
    return rawValue(status);
}

QJsonValue toJson(CommerceConnectorKind kind) {
    return rawValue(kind);
}

WooCorrectionStatus wooCorrectionStatusFromJson(const QJsonValue& value) {
    return enumFromJson(value, &wooCorrectionStatusFromRawValue, u"WooCorrectionStatus");
}

CommerceConnectorKind commerceConnectorKindFromJson(const QJsonValue& value) {
    return enumFromJson(value, &commerceConnectorKindFromRawValue, u"CommerceConnectorKind");
}

QJsonObject toJson(const RemoteStockLevel& level) {
    QJsonObject object;
    insertOptional(object, u"localItemId"_s, level.localItemId);
    insertOptional(object, u"externalProductId"_s, level.externalProductId);
    insertOptional(object, u"externalVariantId"_s, level.externalVariantId);
    insertOptional(object, u"quantity"_s, level.quantity);
    insertOptional(object, u"stockManaged"_s, level.stockManaged);
    object.insert(u"fetchedAt"_s, jsonDate(level.fetchedAt));
    if (level.stockManagedByParent) {
        object.insert(u"stockManagedByParent"_s, true);
    }
    return object;
}

RemoteStockLevel remoteStockLevelFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"RemoteStockLevel"_s);
    return RemoteStockLevel{
        reader.optionalUuid(u"localItemId"),         reader.optionalString(u"externalProductId"),
        reader.optionalString(u"externalVariantId"), reader.optionalInteger(u"quantity"),
        reader.optionalBool(u"stockManaged"),        reader.requiredDate(u"fetchedAt"),
        reader.optionalBool(u"stockManagedByParent").value_or(false),
    };
}

QJsonObject toJson(const WooCorrectionPreview& preview) {
    QJsonObject object;
    object.insert(u"id"_s, jsonUuid(preview.id));
    object.insert(u"sessionId"_s, jsonUuid(preview.sessionId));
    insertOptional(object, u"localItemId"_s, preview.localItemId);
    insertOptional(object, u"externalProductId"_s, preview.externalProductId);
    insertOptional(object, u"externalVariantId"_s, preview.externalVariantId);
    object.insert(u"itemName"_s, preview.itemName);
    insertOptional(object, u"variantName"_s, preview.variantName);
    insertOptional(object, u"sku"_s, preview.sku);
    insertOptional(object, u"barcode"_s, preview.barcode);
    insertOptional(object, u"referenceQuantityAtInventory"_s, preview.referenceQuantityAtInventory);
    insertOptional(object, u"currentRemoteQuantity"_s, preview.currentRemoteQuantity);
    insertOptional(object, u"countedQuantity"_s, preview.countedQuantity);
    insertOptional(object, u"proposedQuantity"_s, preview.proposedQuantity);
    insertOptional(object, u"differenceFromReference"_s, preview.differenceFromReference);
    insertOptional(object, u"differenceFromCurrentRemote"_s, preview.differenceFromCurrentRemote);
    object.insert(u"status"_s, toJson(preview.status));
    object.insert(u"isSelected"_s, preview.isSelected);
    insertOptional(object, u"message"_s, preview.message);
    return object;
}

WooCorrectionPreview previewFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"WooCorrectionPreview"_s);
    WooCorrectionPreview preview;
    preview.id = reader.requiredUuid(u"id");
    preview.sessionId = reader.requiredUuid(u"sessionId");
    preview.localItemId = reader.optionalUuid(u"localItemId");
    preview.externalProductId = reader.optionalString(u"externalProductId");
    preview.externalVariantId = reader.optionalString(u"externalVariantId");
    preview.itemName = reader.requiredString(u"itemName");
    preview.variantName = reader.optionalString(u"variantName");
    preview.sku = reader.optionalString(u"sku");
    preview.barcode = reader.optionalString(u"barcode");
    preview.referenceQuantityAtInventory = reader.optionalInteger(u"referenceQuantityAtInventory");
    preview.currentRemoteQuantity = reader.optionalInteger(u"currentRemoteQuantity");
    preview.countedQuantity = reader.optionalInteger(u"countedQuantity");
    preview.proposedQuantity = reader.optionalInteger(u"proposedQuantity");
    preview.differenceFromReference = reader.optionalInteger(u"differenceFromReference");
    preview.differenceFromCurrentRemote = reader.optionalInteger(u"differenceFromCurrentRemote");
    preview.status = enumMember(reader, u"status", &wooCorrectionStatusFromJson);
    preview.isSelected = reader.requiredBool(u"isSelected");
    preview.message = reader.optionalString(u"message");
    return preview;
}

QJsonObject toJson(const WooUpdateResultLine& line) {
    QJsonObject object;
    object.insert(u"id"_s, jsonUuid(line.id));
    object.insert(u"correctionId"_s, jsonUuid(line.correctionId));
    insertOptional(object, u"externalProductId"_s, line.externalProductId);
    insertOptional(object, u"externalVariantId"_s, line.externalVariantId);
    object.insert(u"itemName"_s, line.itemName);
    insertOptional(object, u"requestedQuantity"_s, line.requestedQuantity);
    insertOptional(object, u"remoteQuantityAfterUpdate"_s, line.remoteQuantityAfterUpdate);
    object.insert(u"success"_s, line.success);
    insertOptional(object, u"message"_s, line.message);
    object.insert(u"updatedAt"_s, jsonDate(line.updatedAt));
    return object;
}

WooUpdateResultLine resultLineFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"WooUpdateResultLine"_s);
    WooUpdateResultLine line;
    line.id = reader.requiredUuid(u"id");
    line.correctionId = reader.requiredUuid(u"correctionId");
    line.externalProductId = reader.optionalString(u"externalProductId");
    line.externalVariantId = reader.optionalString(u"externalVariantId");
    line.itemName = reader.requiredString(u"itemName");
    line.requestedQuantity = reader.optionalInteger(u"requestedQuantity");
    line.remoteQuantityAfterUpdate = reader.optionalInteger(u"remoteQuantityAfterUpdate");
    line.success = reader.requiredBool(u"success");
    line.message = reader.optionalString(u"message");
    line.updatedAt = reader.requiredDate(u"updatedAt");
    return line;
}

QJsonObject toJson(const RemoteStockReloadIssue& issue) {
    QJsonObject object;
    object.insert(u"id"_s, jsonUuid(issue.id));
    insertOptional(object, u"externalProductId"_s, issue.externalProductId);
    insertOptional(object, u"externalVariantId"_s, issue.externalVariantId);
    object.insert(u"itemName"_s, issue.itemName);
    object.insert(u"message"_s, issue.message);
    return object;
}

RemoteStockReloadIssue reloadIssueFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"RemoteStockReloadIssue"_s);
    RemoteStockReloadIssue issue;
    issue.id = reader.requiredUuid(u"id");
    issue.externalProductId = reader.optionalString(u"externalProductId");
    issue.externalVariantId = reader.optionalString(u"externalVariantId");
    issue.itemName = reader.requiredString(u"itemName");
    issue.message = reader.requiredString(u"message");
    return issue;
}

QJsonObject toJson(const RemoteStockReloadReport& report) {
    QJsonObject object;
    object.insert(u"levels"_s, toJsonArray(report.levels));
    object.insert(u"requestedItemCount"_s, jsonInteger(report.requestedItemCount));
    object.insert(u"quantityCount"_s, jsonInteger(report.quantityCount));
    object.insert(u"issues"_s, toJsonArray(report.issues));
    return object;
}

RemoteStockReloadReport reloadReportFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"RemoteStockReloadReport"_s);
    RemoteStockReloadReport report;
    report.levels = listMember<RemoteStockLevel>(reader, u"levels");
    report.requestedItemCount = reader.requiredInteger(u"requestedItemCount");
    report.quantityCount = reader.requiredInteger(u"quantityCount");
    report.issues = listMember<RemoteStockReloadIssue>(reader, u"issues");
    return report;
}

} // namespace tallybrook
