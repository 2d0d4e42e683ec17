#include "export/LabelSheetGeometry.h"

#include <cmath>

namespace tallybrook {

double pointsFromMM(double millimetres) {
    return millimetres / 25.4 * 72.0;
}

namespace {

// Labels that fit along one axis; none when the division is meaningless or absurd.
std::optional<qint64> labelsAlong(double available, double label, double gap) {
    const double pitch = label + gap;
    if (!std::isfinite(pitch) || pitch <= 0) {
        return std::nullopt;
    }
    const double count = std::floor((available + gap) / pitch);
    if (!std::isfinite(count) || count < 1 || count > double(LabelSheetGeometry::maximumLabelsPerAxis)) {
        return std::nullopt;
    }
    return qint64(count);
}

} // namespace

std::optional<LabelSheetGeometry> LabelSheetGeometry::make(const LabelPrintConfiguration& configuration) {
    const QSizeF labelMM = configuration.labelSizeMM();
    LabelSheetGeometry geometry;
    geometry.pageSize =
        QSizeF(pointsFromMM(configuration.pageWidthMM), pointsFromMM(configuration.pageHeightMM));
    geometry.labelSize = QSizeF(pointsFromMM(labelMM.width()), pointsFromMM(labelMM.height()));
    geometry.margin = pointsFromMM(configuration.marginMM);
    geometry.horizontalGap = pointsFromMM(configuration.horizontalGapMM);
    geometry.verticalGap = pointsFromMM(configuration.verticalGapMM);

    for (const double length :
         {geometry.pageSize.width(), geometry.pageSize.height(), geometry.labelSize.width(),
          geometry.labelSize.height(), geometry.margin, geometry.horizontalGap, geometry.verticalGap}) {
        if (!std::isfinite(length)) {
            return std::nullopt;
        }
    }
    // A negative margin would push labels off the paper; a label without area prints nothing.
    if (geometry.margin < 0 || geometry.labelSize.width() <= 0 || geometry.labelSize.height() <= 0 ||
        geometry.pageSize.width() <= 0 || geometry.pageSize.height() <= 0) {
        return std::nullopt;
    }
    const auto columns = labelsAlong(geometry.pageSize.width() - 2 * geometry.margin,
                                     geometry.labelSize.width(), geometry.horizontalGap);
    const auto rows = labelsAlong(geometry.pageSize.height() - 2 * geometry.margin,
                                  geometry.labelSize.height(), geometry.verticalGap);
    if (!columns || !rows) {
        return std::nullopt;
    }
    geometry.columns = *columns;
    geometry.rows = *rows;
    return geometry;
}

QRectF LabelSheetGeometry::labelRect(qint64 index) const {
    const qint64 position = index % labelsPerPage();
    const qint64 row = position / columns;
    const qint64 column = position % columns;
    const QPointF topLeft(margin + double(column) * (labelSize.width() + horizontalGap),
                          margin + double(row) * (labelSize.height() + verticalGap));
    return QRectF(topLeft, labelSize);
}

} // namespace tallybrook
