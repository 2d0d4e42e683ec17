#include "export/LabelSheetPainter.h"

#include "export/LabelPDFError.h"
#include "export/LabelRenderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace tallybrook {

namespace {

constexpr double pointsPerInch = 72.0;

} // namespace

LabelSheetPainter::LabelSheetPainter(LabelPrintableItems printable,
                                     const LabelPrintConfiguration& configuration)
    : printable_(std::move(printable))
    , configuration_(configuration) {
    if (printable_.items.isEmpty()) {
        throw LabelPDFError::noPrintableRows(configuration.codeKind);
    }
    const auto geometry = LabelSheetGeometry::make(configuration);
    if (!geometry) {
        throw LabelPDFError::invalidPageGeometry();
    }
    geometry_ = *geometry;
    codes_.reserve(printable_.items.size());
    for (const LabelPrintableItem& item : std::as_const(printable_.items)) {
        codes_.append(LabelRenderer::codeModules(item.encodedValue, configuration.codeKind));
    }
}

qint64 LabelSheetPainter::pageCount() const {
    return (labelCount() + geometry_.labelsPerPage() - 1) / geometry_.labelsPerPage();
}

void LabelSheetPainter::paint(QPagedPaintDevice& device, const std::function<void()>& abandon) const {
    // Full page with no margins: the painter's origin is the paper's corner, where the grid's
    // margins are measured from. A standard size is matched by name so that a printer is asked
    // for A4 rather than for a custom size.
    QPageLayout layout(QPageSize(geometry_.pageSize, QPageSize::Point, QString(), QPageSize::FuzzyMatch),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    if (!device.setPageLayout(layout)) {
        throw LabelPDFError::renderingFailed();
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        throw LabelPDFError::renderingFailed();
    }
    // Points to device pixels, whatever the device's resolution: 1 on a 72 dpi PDF writer,
    // 1200 / 72 on a high-resolution printer.
    painter.scale(device.logicalDpiX() / pointsPerInch, device.logicalDpiY() / pointsPerInch);
    // Lossless keeps bars sharp (the PDF engine would otherwise store colour images as JPEG); no
    // smoothing, so viewers and printers show each pixel as drawn.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    try {
        const LabelRenderer renderer(configuration_.codeKind, geometry_.labelSize);
        const qint64 perPage = geometry_.labelsPerPage();
        for (qsizetype i = 0; i < printable_.items.size(); ++i) {
            if (i > 0 && i % perPage == 0 && !device.newPage()) {
                throw LabelPDFError::renderingFailed();
            }
            const QRectF labelRect = geometry_.labelRect(i);
            painter.drawImage(labelRect, renderer.render(printable_.items.at(i), codes_.at(i)));
            if (configuration_.drawsLabelBorder) {
                LabelRenderer::drawOutline(painter, labelRect);
            }
        }
    } catch (...) {
        if (abandon) {
            abandon();
        }
        painter.end();
        throw;
    }
    if (!painter.end()) {
        throw LabelPDFError::renderingFailed();
    }
}

} // namespace tallybrook
