#pragma once

#include "analysis/InventoryAnalysisService.h"
#include "document/InventoryExportDocument.h"
#include "export/LabelPrintConfiguration.h"
#include "export/LabelPrintableItem.h"
#include "localization/AppLanguage.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace tallybrook {

/// A generated label sheet.
struct LabelPDFResult {
    QByteArray pdf;
    qint64 labelsDrawn = 0;
    qint64 rowsSkipped = 0; ///< rows without a label

    bool operator==(const LabelPDFResult&) const = default;
};

/// Makes the A4 label sheet PDF of the rows a page shows: one label per row that has a code,
/// in row order, filling each page row by row from the top-left margin. Every label is a
/// raster image (see LabelRenderer) placed without smoothing and compressed losslessly.
///
/// Holds nothing between generations. Needs a QGuiApplication (fonts); main thread. Throws
/// LabelPDFError: no printable row first, then the page geometry, then each label in order.
class LabelPDFService {
public:
    /// `document` (may be null) is the document the rows come from; it supplies the codes of
    /// scan aliases. `language` words the "unnamed item" title.
    LabelPDFResult makeLabelPDF(const InventoryRowList& rows, const InventoryExportDocument* document,
                                const LabelPrintConfiguration& configuration, AppLanguage language) const;
    LabelPDFResult makeLabelPDF(const QList<InventoryExportRow>& rows,
                                const InventoryExportDocument* document,
                                const LabelPrintConfiguration& configuration, AppLanguage language) const;
};

/// The thinnest bar (module) that common scanners still read on a 300 dpi print.
inline constexpr double minimumBarcodeModuleMM = 0.19;

/// The width, in modules and quiet zones included, of the widest Code 128 among `items` in
/// barcode mode; EAN-13 values and values Code 128 cannot carry do not count. 0 when none.
int widestCode128Modules(const QList<LabelPrintableItem>& items);

/// Whether a Code 128 of `widestCode128Modules` modules would be drawn with modules thinner
/// than minimumBarcodeModuleMM on the labels of `configuration`. Never in QR mode.
bool barcodeTooDense(int widestCode128Modules, const LabelPrintConfiguration& configuration);

/// The line shown after a generation: labels drawn, then the skipped rows when there are any.
QString labelsGeneratedMessage(qint64 labelsDrawn, qint64 rowsSkipped,
                               std::optional<AppLanguage> language = std::nullopt);
/// The line shown after printing: labels printed, then the skipped rows when there are any.
QString labelsPrintedMessage(qint64 labelsPrinted, qint64 rowsSkipped,
                             std::optional<AppLanguage> language = std::nullopt);
/// The options page's count line: printable labels out of the displayed rows.
QString labelsCountMessage(qint64 printableLabels, qint64 displayedRows,
                           std::optional<AppLanguage> language = std::nullopt);
/// The options page's note on rows that will get no label, for the chosen code kind.
QString labelsSkippedRowsMessage(LabelCodeKind codeKind, qint64 skippedRows,
                                 std::optional<AppLanguage> language = std::nullopt);

} // namespace tallybrook
