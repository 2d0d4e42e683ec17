#pragma once

#include "document/InventoryExportDocument.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>
#include <ostream>

namespace tallybrook::test {

/// A row with the fields the labels read; everything else left at its default.
inline InventoryExportRow labelRow(std::optional<QString> barcode, std::optional<QString> inventoryCode = std::nullopt,
                                   std::optional<QString> sku = std::nullopt,
                                   std::optional<QString> itemName = QStringLiteral("Item"),
                                   std::optional<QString> variantName = std::nullopt) {
    InventoryExportRow row;
    row.localItemId = QStringLiteral("item-") + barcode.value_or(inventoryCode.value_or(sku.value_or(QString())));
    row.barcode = std::move(barcode), row.inventoryCode = std::move(inventoryCode), row.sku = std::move(sku);
    row.itemName = std::move(itemName), row.variantName = std::move(variantName);
    row.status = InventoryExportRowStatus::counted;
    return row;
}

/// One symbol the zbar scanner found: its symbology ("EAN-13", "CODE-128", "QR-Code") and text.
struct ScannedSymbol {
    QString symbology;
    QString text;
    bool operator==(const ScannedSymbol&) const = default;
};

inline void PrintTo(const ScannedSymbol& symbol, std::ostream* out) {
    *out << symbol.symbology.toStdString() << ":" << symbol.text.toStdString();
}

/// The pages of `pdf` rasterised by pdftoppm in grey at `dotsPerInch`, in page order.
QList<QImage> rasterisePdf(const QByteArray& pdf, int dotsPerInch);

/// Every symbol zbarimg finds in each image (EAN-13, Code 128 and QR Code only), in image order.
QList<QList<ScannedSymbol>> scanImages(const QList<QImage>& images);

/// The part of a page image that shows `rectPoints` (points, y downward).
QImage cropPoints(const QImage& page, const QRectF& rectPoints, int dotsPerInch);

} // namespace tallybrook::test
