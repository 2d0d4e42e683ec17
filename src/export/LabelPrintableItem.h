#pragma once

#include "analysis/InventoryAnalysisService.h"
#include "document/InventoryExportDocument.h"
#include "export/LabelCodeKind.h"
#include "localization/AppLanguage.h"

#include <QList>
#include <QString>
#include <optional>

namespace tallybrook {

/// The content of one label: the code's value and the texts printed around it.
struct LabelPrintableItem {
    QString id;                 ///< the row's identifier
    std::optional<QString> sku; ///< trimmed
    QString encodedValue;       ///< the value put into the code; never empty
    QString title;              ///< printed on top
    QString itemName;
    std::optional<QString> variantName;
    std::optional<QString> location; ///< the row's location, untrimmed

    bool operator==(const LabelPrintableItem&) const = default;
};

/// The label of `row`, or none when it has no product code, inventory code or SKU. The
/// product code is the first code of the row's barcode column when `document` is given, else
/// the row's barcode. Texts that depend on the language use `language`. The choice does not
/// depend on `codeKind` (kept so both kinds ask the same question).
std::optional<LabelPrintableItem> makePrintableItem(const InventoryExportRow& row,
                                                    const InventoryExportDocument* document,
                                                    LabelCodeKind codeKind, AppLanguage language);

/// The labels of many rows, in row order, and how many rows yield none.
struct LabelPrintableItems {
    QList<LabelPrintableItem> items;
    qint64 skippedRows = 0;
};

/// `makePrintableItem` over `rows` in one pass: the document's scan aliases are indexed once
/// instead of walked for every row. `rows` point into `document` or elsewhere; none is null.
LabelPrintableItems makePrintableItems(const InventoryRowList& rows, const InventoryExportDocument* document,
                                       LabelCodeKind codeKind, AppLanguage language);
LabelPrintableItems makePrintableItems(const QList<InventoryExportRow>& rows,
                                       const InventoryExportDocument* document, LabelCodeKind codeKind,
                                       AppLanguage language);

} // namespace tallybrook
