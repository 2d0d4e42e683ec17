#include "export/LabelPDFService.h"

#include "export/Ean13Encoder.h"
#include "export/LabelPDFError.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelRenderer.h"
#include "export/LabelSheetPainter.h"
#include "export/ZintEncoder.h"
#include "localization/AppText.h"

#include <QBuffer>
#include <QPdfWriter>
#include <algorithm>

namespace tallybrook {

namespace {

LabelPDFResult drawSheet(LabelPrintableItems printable, const LabelPrintConfiguration& configuration) {
    const LabelSheetPainter sheet(std::move(printable), configuration);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        throw LabelPDFError::renderingFailed();
    }
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QString());
        writer.setTitle(QString());
        // Painter units are then points: the smallest page description.
        writer.setResolution(72);
        sheet.paint(writer);
    }
    if (bytes.isEmpty()) {
        throw LabelPDFError::renderingFailed();
    }
    return LabelPDFResult{bytes, sheet.labelCount(), sheet.skippedRows()};
}

} // namespace

LabelPDFResult LabelPDFService::makeLabelPDF(const InventoryRowList& rows,
                                             const InventoryExportDocument* document,
                                             const LabelPrintConfiguration& configuration,
                                             AppLanguage language) const {
    return drawSheet(makePrintableItems(rows, document, configuration.codeKind, language), configuration);
}

LabelPDFResult LabelPDFService::makeLabelPDF(const QList<InventoryExportRow>& rows,
                                             const InventoryExportDocument* document,
                                             const LabelPrintConfiguration& configuration,
                                             AppLanguage language) const {
    return drawSheet(makePrintableItems(rows, document, configuration.codeKind, language), configuration);
}

QString labelsGeneratedMessage(qint64 labelsDrawn, qint64 rowsSkipped, std::optional<AppLanguage> language) {
    const QString suffix =
        rowsSkipped >= 1 ? AppText::formatted(u"labels.skippedSuffix", language, {rowsSkipped}) : QString();
    return AppText::formatted(u"labels.generated", language, {labelsDrawn, suffix});
}

QString labelsPrintedMessage(qint64 labelsPrinted, qint64 rowsSkipped, std::optional<AppLanguage> language) {
    const QString suffix =
        rowsSkipped >= 1 ? AppText::formatted(u"labels.skippedSuffix", language, {rowsSkipped}) : QString();
    return AppText::formatted(u"labels.printed", language, {labelsPrinted, suffix});
}

QString labelsCountMessage(qint64 printableLabels, qint64 displayedRows,
                           std::optional<AppLanguage> language) {
    return AppText::formatted(u"labels.count", language, {printableLabels, displayedRows});
}

QString labelsSkippedRowsMessage(LabelCodeKind codeKind, qint64 skippedRows,
                                 std::optional<AppLanguage> language) {
    return AppText::formatted(codeKind == LabelCodeKind::barcode ? u"labels.skippedBarcode"
                                                                 : u"labels.skippedQR",
                              language, {skippedRows});
}

int widestCode128Modules(const QList<LabelPrintableItem>& items) {
    int widest = 0;
    for (const LabelPrintableItem& item : items) {
        const QString& value = item.encodedValue;
        if (Ean13Encoder::modules(value)) {
            continue;
        }
        const bool ascii =
            std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (!ascii) {
            continue;
        }
        if (const auto matrix = ZintEncoder::code128(value.toLatin1())) {
            widest = std::max(widest, matrix->width);
        }
    }
    return widest;
}

bool barcodeTooDense(int widestCode128Modules, const LabelPrintConfiguration& configuration) {
    if (configuration.codeKind != LabelCodeKind::barcode || widestCode128Modules <= 0) {
        return false;
    }
    const QSizeF labelMM = configuration.labelSizeMM();
    const QSizeF labelPoints(pointsFromMM(labelMM.width()), pointsFromMM(labelMM.height()));
    return LabelRenderer::linearModuleWidthMM(widestCode128Modules, labelPoints) < minimumBarcodeModuleMM;
}

} // namespace tallybrook
