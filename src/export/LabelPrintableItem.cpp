#include "export/LabelPrintableItem.h"

#include "core/TextRules.h"
#include "localization/AppText.h"

namespace tallybrook {

namespace {

std::optional<QString> trimmedOptional(const std::optional<QString>& text) {
    return text ? std::optional<QString>(trimmedText(*text)) : std::nullopt;
}

// The rules of one label once the row's product code is known (first barcode-column code).
std::optional<LabelPrintableItem> itemWithProductCode(const InventoryExportRow& row,
                                                      const std::optional<QString>& productCode,
                                                      AppLanguage language) {
    QString encodedValue;
    for (const std::optional<QString>* candidate : {&productCode, &row.inventoryCode, &row.sku}) {
        if (*candidate) {
            encodedValue = trimmedText(**candidate);
            if (!encodedValue.isEmpty()) {
                break;
            }
        }
    }
    if (encodedValue.isEmpty()) {
        return std::nullopt;
    }

    LabelPrintableItem item;
    item.id = row.id();
    item.sku = trimmedOptional(row.sku);
    item.encodedValue = encodedValue;
    item.itemName =
        row.itemName ? trimmedText(*row.itemName) : AppText::localized(u"labels.unnamedItem", language);
    item.variantName = trimmedOptional(row.variantName);
    item.location = row.location;

    QStringList titleParts;
    for (const QString& part :
         {trimmedText(item.itemName), item.variantName ? trimmedText(*item.variantName) : QString()}) {
        if (!part.isEmpty()) {
            titleParts.append(part);
        }
    }
    if (!titleParts.isEmpty()) {
        item.title = titleParts.join(QStringLiteral(" - "));
    } else if (item.sku && !item.sku->isEmpty()) {
        item.title = *item.sku;
    } else {
        item.title = encodedValue;
    }
    return item;
}

std::optional<QString> firstCode(const QStringList& codes) {
    return codes.isEmpty() ? std::nullopt : std::optional<QString>(codes.first());
}

template <typename RowAt>
LabelPrintableItems collectItems(qsizetype count, RowAt rowAt, const InventoryExportDocument* document,
                                 AppLanguage language) {
    LabelPrintableItems result;
    std::optional<BarcodeColumnIndex> index;
    if (document) {
        index.emplace(*document);
    }
    result.items.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const InventoryExportRow& row = rowAt(i);
        const std::optional<QString> productCode =
            index ? firstCode(index->barcodeColumnCodes(row)) : row.barcode;
        if (auto item = itemWithProductCode(row, productCode, language)) {
            result.items.append(std::move(*item));
        } else {
            ++result.skippedRows;
        }
    }
    return result;
}

} // namespace

std::optional<LabelPrintableItem> makePrintableItem(const InventoryExportRow& row,
                                                    const InventoryExportDocument* document, LabelCodeKind,
                                                    AppLanguage language) {
    const std::optional<QString> productCode =
        document ? firstCode(InventoryAnalysisService::barcodeColumnCodes(row, *document)) : row.barcode;
    return itemWithProductCode(row, productCode, language);
}

LabelPrintableItems makePrintableItems(const InventoryRowList& rows, const InventoryExportDocument* document,
                                       LabelCodeKind, AppLanguage language) {
    return collectItems(
        rows.size(), [&rows](qsizetype i) -> const InventoryExportRow& { return *rows.at(i); }, document,
        language);
}

LabelPrintableItems makePrintableItems(const QList<InventoryExportRow>& rows,
                                       const InventoryExportDocument* document, LabelCodeKind,
                                       AppLanguage language) {
    return collectItems(
        rows.size(), [&rows](qsizetype i) -> const InventoryExportRow& { return rows.at(i); }, document,
        language);
}

} // namespace tallybrook
