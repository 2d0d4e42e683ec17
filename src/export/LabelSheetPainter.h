#pragma once

#include "export/CodeModuleMatrix.h"
#include "export/LabelPrintConfiguration.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelSheetGeometry.h"

#include <QList>
#include <functional>

class QPagedPaintDevice;

namespace tallybrook {

/// The label sheets of some printable items, ready to be painted on any paged device: the PDF
/// writer of an export or a printer. Painting is independent of the device's resolution: the
/// page is A4 paper used to its edges (no margins, no scaling), so labels land at the same
/// place on paper whatever the device.
///
/// Everything that can be wrong with the rows or the configuration is found when the sheet is
/// made, before any device is touched: a print job is then never started for a sheet that
/// cannot be finished. Main thread; needs a QGuiApplication (fonts).
class LabelSheetPainter {
public:
    /// Throws LabelPDFError, in this order: no printable item, no grid on the page, then the
    /// first value that the chosen code cannot carry.
    LabelSheetPainter(LabelPrintableItems printable, const LabelPrintConfiguration& configuration);

    qint64 labelCount() const { return qint64(printable_.items.size()); }
    qint64 skippedRows() const { return printable_.skippedRows; }
    qint64 pageCount() const;
    const LabelSheetGeometry& geometry() const { return geometry_; }

    /// Sets the device's page (the sheet's paper, full page) and paints every page on it.
    /// Throws LabelPDFError::renderingFailed when the device refuses to paint or to turn a page,
    /// or a label cannot be drawn; `abandon` is called first, while painting is still under
    /// way, so that a printer can cancel its job instead of printing half a sheet.
    void paint(QPagedPaintDevice& device, const std::function<void()>& abandon = {}) const;

private:
    LabelPrintableItems printable_;
    LabelPrintConfiguration configuration_;
    LabelSheetGeometry geometry_;
    QList<CodeModuleMatrix> codes_;
};

} // namespace tallybrook
