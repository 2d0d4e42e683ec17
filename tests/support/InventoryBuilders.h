#pragma once

#include "document/InventoryExportDocument.h"

#include <QStringList>

#include <optional>

namespace tallybrook::test {

using namespace Qt::StringLiterals;

inline const QString testSessionId = u"6B1F3A52-7C0D-4E59-9D3A-1F2E3D4C5B6A"_s;

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
    row.sessionId = testSessionId;
    row.itemName = spec.itemName;
    row.difference = spec.difference;
    row.status = spec.status;
    row.location = spec.location;
    row.barcode = spec.barcode;
    return row;
}

/// A valid document of session `testSessionId` from the shop "Boutique".
inline InventoryExportDocument makeDocument(QList<InventoryExportRow> rows,
                                            std::optional<QString> sourceLocation = std::nullopt) {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-export"_s;
    document.formatVersion = 1;
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

} // namespace tallybrook::test
