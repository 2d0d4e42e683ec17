#pragma once

#include "export/CodeModuleMatrix.h"
#include "export/LabelCodeKind.h"
#include "export/LabelPrintableItem.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>

namespace tallybrook {

/// Draws one label as a black and white raster image at `renderScale` times its size in
/// points: white ground, bold title, the code, and for a linear code its value underneath.
/// Codes are painted module by module on whole pixels so that scanners read them; nothing is
/// interpolated. The grey outline is not part of the image (one bit per pixel cannot carry
/// grey): the sheet strokes it with `drawOutline`.
///
/// Needs a QGuiApplication (fonts). Main thread. Holds only the fonts and sizes of one
/// generation.
class LabelRenderer {
public:
    /// Pixels per point of the label images (432 dots per inch).
    static constexpr double renderScale = 6.0;

    LabelRenderer(LabelCodeKind codeKind, QSizeF labelSizePoints);

    /// The label of `item`, one bit per pixel (QImage::Format_Mono, black then white in the
    /// colour table); throws LabelPDFError (invalidBarcodeValue, renderingFailed).
    QImage render(const LabelPrintableItem& item) const;
    /// The same with the item's code already encoded (`codeModules` of its value).
    QImage render(const LabelPrintableItem& item, const CodeModuleMatrix& modules) const;

    /// The thin light-grey outline of a label (0.35 pt wide, 0.25 pt inside its edges).
    static void drawOutline(QPainter& painter, const QRectF& labelRect);

    /// The modules of the code carrying `value`: EAN-13 for a valid EAN-13 and Code 128
    /// otherwise in barcode mode, QR Code in QR mode. Throws LabelPDFError.
    static CodeModuleMatrix codeModules(const QString& value, LabelCodeKind codeKind);

    /// The rectangles of the label's parts, in points with y downward.
    struct Layout {
        QRectF title;
        QRectF code;
        QRectF valueLine; ///< empty for a QR code
        double titleFontSize = 0;
        double smallFontSize = 0;
    };
    static Layout layout(QSizeF labelSizePoints, LabelCodeKind codeKind);

    /// Where `matrix` is drawn inside `area` (pixels): the largest whole number of pixels per
    /// module that fits, centred, so every module edge falls on a pixel edge. A linear code
    /// takes the full height, and the full width when fewer than 2 whole pixels per module
    /// fit (modules are then spread evenly, edges rounded to pixels).
    static QRect moduleGrid(const CodeModuleMatrix& matrix, const QRect& area);

    /// The width, in millimetres, of one module of a linear code `moduleCount` modules wide
    /// (quiet zones included) as it is drawn on a label of `labelSizePoints`.
    static double linearModuleWidthMM(int moduleCount, QSizeF labelSizePoints);

private:
    LabelCodeKind codeKind_;
    QSizeF labelSize_;
    Layout layout_;
    QFont titleFont_;
    QFont smallFont_;
};

} // namespace tallybrook
