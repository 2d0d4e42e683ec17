#include "document/TallybrookDocumentWriter.h"

#include "document/InternetDateTime.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tallybrook {

namespace {

// Collects one record's keys; absent optionals are skipped.
class ObjectBuilder {
public:
    ObjectBuilder& text(const QString& key, const QString& value) {
        object_.insert(key, value);
        return *this;
    }
    ObjectBuilder& text(const QString& key, const std::optional<QString>& value) {
        if (value) {
            object_.insert(key, *value);
        }
        return *this;
    }
    ObjectBuilder& integer(const QString& key, qint64 value) {
        object_.insert(key, QJsonValue(value));
        return *this;
    }
    ObjectBuilder& integer(const QString& key, const std::optional<qint64>& value) {
        if (value) {
            object_.insert(key, QJsonValue(*value));
        }
        return *this;
    }
    ObjectBuilder& date(const QString& key, const QDateTime& value) {
        object_.insert(key, internetDateTimeText(value));
        return *this;
    }
    ObjectBuilder& date(const QString& key, const std::optional<QDateTime>& value) {
        if (value) {
            date(key, *value);
        }
        return *this;
    }
    ObjectBuilder& value(const QString& key, const QJsonValue& value) {
        object_.insert(key, value);
        return *this;
    }
    QJsonObject build() const { return object_; }

private:
    QJsonObject object_;
};

template <class Record, class ToJson> QJsonArray array(const QList<Record>& records, ToJson toJson) {
    QJsonArray result;
    for (const Record& record : records) {
        result.append(toJson(record));
    }
    return result;
}

QJsonObject sourceJson(const InventoryExportSource& source) {
    return ObjectBuilder()
        .text(QStringLiteral("type"), source.type)
        .text(QStringLiteral("displayName"), source.displayName)
        .text(QStringLiteral("locationId"), source.locationId)
        .text(QStringLiteral("locationName"), source.locationName)
        .build();
}

QJsonObject sessionJson(const InventoryExportSession& session) {
    return ObjectBuilder()
        .text(QStringLiteral("id"), session.id)
        .text(QStringLiteral("name"), session.name)
        .text(QStringLiteral("status"), session.status)
        .date(QStringLiteral("createdAt"), session.createdAt)
        .date(QStringLiteral("startedAt"), session.startedAt)
        .date(QStringLiteral("closedAt"), session.closedAt)
        .date(QStringLiteral("inventoryDate"), session.inventoryDate)
        .date(QStringLiteral("stockReferenceDate"), session.stockReferenceDate)
        .build();
}

QJsonObject summaryJson(const InventoryExportSummary& summary) {
    return ObjectBuilder()
        .integer(QStringLiteral("totalRows"), summary.totalRows)
        .integer(QStringLiteral("countedRows"), summary.countedRows)
        .integer(QStringLiteral("notCountedRows"), summary.notCountedRows)
        .integer(QStringLiteral("differenceRows"), summary.differenceRows)
        .integer(QStringLiteral("unknownCodeRows"), summary.unknownCodeRows)
        .integer(QStringLiteral("temporaryItemRows"), summary.temporaryItemRows)
        .integer(QStringLiteral("errorRows"), summary.errorRows)
        .integer(QStringLiteral("totalCountedQuantity"), summary.totalCountedQuantity)
        .integer(QStringLiteral("unknownCodesCount"), summary.unknownCodesCount)
        .integer(QStringLiteral("temporaryItemsCount"), summary.temporaryItemsCount)
        .integer(QStringLiteral("scanAliasesCreatedCount"), summary.scanAliasesCreatedCount)
        .build();
}

QJsonObject rowJson(const InventoryExportRow& row) {
    return ObjectBuilder()
        .text(QStringLiteral("sessionId"), row.sessionId)
        .text(QStringLiteral("sessionName"), row.sessionName)
        .date(QStringLiteral("inventoryDate"), row.inventoryDate)
        .text(QStringLiteral("source"), row.source)
        .text(QStringLiteral("externalProductId"), row.externalProductId)
        .text(QStringLiteral("externalVariantId"), row.externalVariantId)
        .text(QStringLiteral("localItemId"), row.localItemId)
        .text(QStringLiteral("itemName"), row.itemName)
        .text(QStringLiteral("variantName"), row.variantName)
        .text(QStringLiteral("sku"), row.sku)
        .text(QStringLiteral("barcode"), row.barcode)
        .text(QStringLiteral("inventoryCode"), row.inventoryCode)
        .text(QStringLiteral("category"), row.category)
        .text(QStringLiteral("location"), row.location)
        .integer(QStringLiteral("referenceQuantity"), row.referenceQuantity)
        .integer(QStringLiteral("countedQuantity"), row.countedQuantity)
        .integer(QStringLiteral("difference"), row.difference)
        .text(QStringLiteral("status"), rawValue(row.status))
        .text(QStringLiteral("note"), row.note)
        .date(QStringLiteral("lastScannedAt"), row.lastScannedAt)
        .build();
}

QJsonObject unknownCodeJson(const InventoryExportUnknownCode& code) {
    return ObjectBuilder()
        .text(QStringLiteral("sessionId"), code.sessionId)
        .text(QStringLiteral("code"), code.code)
        .integer(QStringLiteral("quantity"), code.quantity)
        .text(QStringLiteral("location"), code.location)
        .text(QStringLiteral("note"), code.note)
        .date(QStringLiteral("lastScannedAt"), code.lastScannedAt)
        .build();
}

QJsonObject temporaryItemJson(const InventoryExportTemporaryItem& item) {
    return ObjectBuilder()
        .text(QStringLiteral("id"), item.id)
        .text(QStringLiteral("sessionId"), item.sessionId)
        .text(QStringLiteral("scannedCode"), item.scannedCode)
        .text(QStringLiteral("provisionalName"), item.provisionalName)
        .integer(QStringLiteral("quantity"), item.quantity)
        .text(QStringLiteral("location"), item.location)
        .text(QStringLiteral("note"), item.note)
        .text(QStringLiteral("photoLocalPath"), item.photoLocalPath)
        .date(QStringLiteral("createdAt"), item.createdAt)
        .text(QStringLiteral("status"), item.status)
        .build();
}

QJsonObject scanAliasJson(const InventoryExportScanAlias& alias) {
    return ObjectBuilder()
        .text(QStringLiteral("id"), alias.id)
        .text(QStringLiteral("code"), alias.code)
        .text(QStringLiteral("itemLocalId"), alias.itemLocalId)
        .text(QStringLiteral("itemName"), alias.itemName)
        .text(QStringLiteral("source"), alias.source)
        .date(QStringLiteral("createdAt"), alias.createdAt)
        .build();
}

} // namespace

QByteArray TallybrookDocumentWriter::write(const InventoryExportDocument& document) const {
    const QJsonObject root =
        ObjectBuilder()
            .text(QStringLiteral("format"), document.format)
            .integer(QStringLiteral("formatVersion"), document.formatVersion)
            .date(QStringLiteral("exportedAt"), document.exportedAt)
            .text(QStringLiteral("appName"), document.appName)
            .text(QStringLiteral("appVersion"), document.appVersion)
            .text(QStringLiteral("deviceName"), document.deviceName)
            .value(QStringLiteral("source"), sourceJson(document.source))
            .value(QStringLiteral("session"), sessionJson(document.session))
            .value(QStringLiteral("summary"), summaryJson(document.summary))
            .value(QStringLiteral("rows"), array(document.rows, rowJson))
            .value(QStringLiteral("unknownCodes"), array(document.unknownCodes, unknownCodeJson))
            .value(QStringLiteral("temporaryItems"), array(document.temporaryItems, temporaryItemJson))
            .value(QStringLiteral("scanAliasesCreated"), array(document.scanAliasesCreated, scanAliasJson))
            .build();
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace tallybrook
