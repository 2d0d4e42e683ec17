#pragma once

#include "document/InventoryExportDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <optional>

namespace tallybrook::test {

using namespace Qt::StringLiterals;

inline const QString testSessionId = u"6B1F3A52-7C0D-4E59-9D3A-1F2E3D4C5B6A"_s;
/// Two more sessions, for tests that tell sessions apart.
inline const QString sessionA = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;
inline const QString sessionB = u"0A1B2C3D-4E5F-4607-8899-AABBCCDDEEFF"_s;

/// The fields of a row that tests usually vary; everything else at its default.
struct RowSpec {
    std::optional<QString> itemName{};
    std::optional<qint64> difference{};
    InventoryExportRowStatus status = InventoryExportRowStatus::counted;
    std::optional<QString> location{};
    std::optional<QString> barcode{};
};

inline InventoryExportRow makeRow(const RowSpec& spec) {
    InventoryExportRow row;
    row.sessionId = testSessionId, row.itemName = spec.itemName, row.difference = spec.difference;
    row.status = spec.status, row.location = spec.location, row.barcode = spec.barcode;
    return row;
}

/// A valid document of session `testSessionId` from the shop "Boutique".
inline InventoryExportDocument makeDocument(QList<InventoryExportRow> rows,
                                            std::optional<QString> sourceLocation = std::nullopt) {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-export"_s, document.formatVersion = 1;
    document.session.id = testSessionId;
    document.session.name = u"Printemps"_s;
    document.source = InventoryExportSource{u"woocommerce"_s, u"Boutique"_s, std::nullopt, sourceLocation};
    document.rows = std::move(rows);
    return document;
}

/// The item names of rows, in order (absent names as "-").
template <typename RowList> QStringList itemNames(const RowList& rows) {
    QStringList names;
    for (const InventoryExportRow* row : rows) {
        names.append(row->itemName.value_or(u"-"_s));
    }
    return names;
}

/// One row of a test file: product `product` (none for a row without id), counted and
/// reference quantities, at `location`; its status follows from the quantities.
inline QJsonObject rowJson(const QString& sessionId, const std::optional<QString>& product,
                           std::optional<qint64> counted, std::optional<qint64> reference, const QString& name,
                           const QString& location = u"Boutique"_s) {
    QJsonObject object{{u"sessionId"_s, sessionId}, {u"source"_s, u"woocommerce"_s}, {u"itemName"_s, name},
                       {u"location"_s, location}, {u"sku"_s, QString(u"SKU-"_s + name)}};
    if (product) {
        object.insert(u"externalProductId"_s, *product);
    }
    if (counted) {
        object.insert(u"countedQuantity"_s, *counted);
    }
    if (reference) {
        object.insert(u"referenceQuantity"_s, *reference);
    }
    const bool differs = counted && reference && *counted != *reference;
    object.insert(u"status"_s, !counted ? u"not_counted"_s : differs ? u"difference"_s : u"counted"_s);
    return object;
}

/// The bytes of a small valid `.tallybrook` file of session `sessionId`; `members` add to or
/// replace its top-level members.
inline QByteArray documentBytes(const QString& sessionId, const QJsonArray& rows = {},
                                const QString& name = u"Inventaire"_s, const QJsonObject& members = {}) {
    QJsonObject root{
        {u"format"_s, u"com.tallybrook.inventory-export"_s},
        {u"formatVersion"_s, 1},
        {u"exportedAt"_s, u"2024-05-01T10:20:30Z"_s},
        {u"source"_s, QJsonObject{{u"type"_s, u"woocommerce"_s}, {u"displayName"_s, u"Boutique"_s}}},
        {u"session"_s, QJsonObject{{u"id"_s, sessionId}, {u"name"_s, name}, {u"createdAt"_s, u"2024-04-30T08:00:00Z"_s}}},
        {u"rows"_s, rows}};
    for (auto it = members.begin(); it != members.end(); ++it) {
        root.insert(it.key(), it.value());
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace tallybrook::test
