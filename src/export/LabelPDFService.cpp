#include "export/LabelPDFService.h"

#include "export/LabelPDFError.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelRenderer.h"
#include "export/LabelSheetGeometry.h"
#include "localization/AppText.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace tallybrook {

namespace {

// Painter units on the PDF are points, so label positions need no conversion.
constexpr int pointsPerInch = 72;

LabelPDFResult drawSheet(const LabelPrintableItems& printable, const LabelPrintConfiguration& configuration) {
    if (printable.items.isEmpty()) {
        throw LabelPDFError::noPrintableRows(configuration.codeKind);
    }
    const auto geometry = LabelSheetGeometry::make(configuration);
    if (!geometry) {
        throw LabelPDFError::invalidPageGeometry();
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        throw LabelPDFError::renderingFailed();
    }
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QString());
        writer.setTitle(QString());
        writer.setResolution(pointsPerInch);
        const QPageLayout pageLayout(QPageSize(geometry->pageSize, QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        if (!writer.setPageLayout(pageLayout)) {
            throw LabelPDFError::renderingFailed();
        }
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw LabelPDFError::renderingFailed();
        }
        // Lossless keeps bars sharp (the PDF engine would otherwise store colour images as
        // JPEG); no smoothing, so viewers and printers show each pixel as drawn.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

        const LabelRenderer renderer(configuration.codeKind, geometry->labelSize);
        const qint64 perPage = geometry->labelsPerPage();
        for (qsizetype i = 0; i < printable.items.size(); ++i) {
            if (i > 0 && i % perPage == 0 && !writer.newPage()) {
                throw LabelPDFError::renderingFailed();
            }
            const QRectF labelRect = geometry->labelRect(i);
            painter.drawImage(labelRect, renderer.render(printable.items.at(i)));
            if (configuration.drawsLabelBorder) {
                LabelRenderer::drawOutline(painter, labelRect);
            }
        }
        if (!painter.end()) {
            throw LabelPDFError::renderingFailed();
        }
    }
    if (bytes.isEmpty()) {
        throw LabelPDFError::renderingFailed();
    }
    return LabelPDFResult{bytes, qint64(printable.items.size()), printable.skippedRows};
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

} // namespace tallybrook
