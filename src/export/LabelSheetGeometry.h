#pragma once

#include "export/LabelPrintConfiguration.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace tallybrook {

/// Millimetres to PDF points (1/72 inch).
double pointsFromMM(double millimetres);

/// The grid of labels on one page, in points, measured from the page's top-left corner.
///
/// Made only from configurations that give a sensible sheet: every length finite, a positive
/// label size, a margin that is not negative, a positive pitch (label plus gap) on both axes,
/// at least one column and one row, and no more than `maximumLabelsPerAxis` of either. Within
/// those rules every label lies on the page.
struct LabelSheetGeometry {
    /// Columns or rows beyond this count are treated as an invalid grid (a near-zero pitch
    /// from a negative gap would otherwise ask for millions of labels per page).
    static constexpr qint64 maximumLabelsPerAxis = 1000;

    QSizeF pageSize;
    QSizeF labelSize;
    double margin = 0;
    double horizontalGap = 0;
    double verticalGap = 0;
    qint64 columns = 0;
    qint64 rows = 0;

    /// The grid for `configuration`, or none when it cannot make one (invalid page geometry).
    static std::optional<LabelSheetGeometry> make(const LabelPrintConfiguration& configuration);

    qint64 labelsPerPage() const { return columns * rows; }
    /// The page (from 0) that holds the label with `index` (from 0).
    qint64 pageIndex(qint64 index) const { return index / labelsPerPage(); }
    /// The label rectangle of `index` on its page, y measured downward from the top edge.
    /// Labels fill a page row by row, left to right.
    QRectF labelRect(qint64 index) const;
};

} // namespace tallybrook
