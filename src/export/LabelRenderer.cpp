#include "export/LabelRenderer.h"

#include "export/Ean13Encoder.h"
#include "export/LabelPDFError.h"
#include "export/ZintEncoder.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tallybrook {

namespace {

using namespace Qt::StringLiterals;

// Images are painted at 72 dots per inch so that font point sizes are label points; the
// painter's scale then brings everything to the render resolution.
constexpr int dotsPerMeterAt72Dpi = 2835;

// A label image beyond this (a sheet-sized label is about 18 million pixels) is refused rather
// than allocated.
constexpr double maximumPixels = 64.0 * 1024 * 1024;

QString labelFontFamily() {
    static const QString preferred = u"DejaVu Sans"_s;
    if (QFontDatabase::families().contains(preferred)) {
        return preferred;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont labelFont(const QString& family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A title or value is printed on one line, whatever line breaks it carries.
QString singleLine(QString text) {
    for (QChar& c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return text;
}

void drawCenteredElided(QPainter& painter, const QFont& font, const QRectF& rect, const QString& text) {
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine,
                     metrics.elidedText(singleLine(text), Qt::ElideMiddle, rect.width()));
}

// The whole device pixels inside a rectangle given in points.
QRect pixelArea(const QRectF& points) {
    constexpr double tolerance = 1e-6;
    const double scale = LabelRenderer::renderScale;
    const int left = int(std::ceil(points.left() * scale - tolerance));
    const int top = int(std::ceil(points.top() * scale - tolerance));
    const int right = int(std::floor(points.right() * scale + tolerance));
    const int bottom = int(std::floor(points.bottom() * scale + tolerance));
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

// Edge of module `index` of `count` across `length` pixels starting at `origin`: exact
// multiples when the grid has whole pixels per module, spread evenly otherwise.
int moduleEdge(int origin, int length, int index, int count) {
    return origin + int(qint64(index) * length / count);
}

void paintModules(QPainter& painter, const CodeModuleMatrix& matrix, const QRect& grid) {
    const bool linear = matrix.height == 1;
    for (int y = 0; y < matrix.height; ++y) {
        const int top = linear ? grid.top() : moduleEdge(grid.top(), grid.height(), y, matrix.height);
        const int bottom =
            linear ? grid.top() + grid.height() : moduleEdge(grid.top(), grid.height(), y + 1, matrix.height);
        int x = 0;
        while (x < matrix.width) {
            if (!matrix.isDark(x, y)) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x < matrix.width && matrix.isDark(x, y)) {
                ++x;
            }
            const int left = moduleEdge(grid.left(), grid.width(), runStart, matrix.width);
            const int right = moduleEdge(grid.left(), grid.width(), x, matrix.width);
            painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::black);
        }
    }
}

// One bit per pixel, thresholded at half grey, with the black-then-white colour table the PDF
// engine stores as a compact 1-bit grey image (a 24-bit label would be 24 times larger to
// compress and store). Qt's own conversion to a given colour table goes pixel by pixel.
QImage monochrome(const QImage& rgb) {
    QImage mono(rgb.size(), QImage::Format_Mono);
    if (mono.isNull()) {
        return mono;
    }
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.setDotsPerMeterX(rgb.dotsPerMeterX());
    mono.setDotsPerMeterY(rgb.dotsPerMeterY());
    const int width = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* target = mono.scanLine(y);
        std::fill(target, target + mono.bytesPerLine(), uchar(0));
        for (int x = 0; x < width; ++x) {
            if (qGray(source[x]) >= 128) {
                target[x >> 3] |= uchar(0x80 >> (x & 7));
            }
        }
    }
    return mono;
}

} // namespace

void LabelRenderer::drawOutline(QPainter& painter, const QRectF& labelRect) {
    QPen outline(QColor::fromRgbF(0.84f, 0.84f, 0.84f), 0.35);
    outline.setJoinStyle(Qt::MiterJoin);
    painter.save();
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(labelRect.adjusted(0.25, 0.25, -0.25, -0.25));
    painter.restore();
}

LabelRenderer::LabelRenderer(LabelCodeKind codeKind, QSizeF labelSizePoints)
    : codeKind_(codeKind)
    , labelSize_(labelSizePoints)
    , layout_(layout(labelSizePoints, codeKind)) {
    const QString family = labelFontFamily();
    titleFont_ = labelFont(family, layout_.titleFontSize, true);
    smallFont_ = labelFont(family, layout_.smallFontSize, false);
}

LabelRenderer::Layout LabelRenderer::layout(QSizeF labelSizePoints, LabelCodeKind codeKind) {
    const double w = labelSizePoints.width();
    const double h = labelSizePoints.height();
    Layout result;
    const double inset = std::max(std::min(w, h) * 0.07, 2.2);
    result.titleFontSize = std::max(std::min(h * 0.18, 9.5), 5.5);
    result.smallFontSize = std::max(std::min(h * 0.12, 7.0), 4.8);
    const double titleHeight = std::max(std::min(h * 0.3, 14.0), result.titleFontSize + 2.0);
    const double textLineHeight =
        codeKind == LabelCodeKind::barcode ? std::max(result.smallFontSize + 1.0, 6.0) : 0.0;

    result.title = QRectF(inset, inset * 0.55, w - 2 * inset, titleHeight);
    const double codeTop = result.title.bottom() + inset * 0.15;
    const double codeHeight = std::max(h - codeTop - inset - textLineHeight, 4.0);
    if (codeKind == LabelCodeKind::barcode) {
        result.code = QRectF(inset, codeTop, w - 2 * inset, codeHeight);
        result.valueLine = QRectF(inset, result.code.bottom() + 0.5, w - 2 * inset, textLineHeight);
    } else {
        const double side = std::max(std::min(codeHeight, w - 2 * inset), 4.0);
        result.code = QRectF((w - side) / 2, codeTop, side, side);
    }
    return result;
}

QRect LabelRenderer::moduleGrid(const CodeModuleMatrix& matrix, const QRect& area) {
    if (matrix.width <= 0 || matrix.height <= 0 || area.isEmpty()) {
        return area;
    }
    const bool linear = matrix.height == 1;
    int pixelsPerModule = area.width() / matrix.width;
    if (!linear) {
        pixelsPerModule = std::min(pixelsPerModule, area.height() / matrix.height);
    }
    if (linear && pixelsPerModule < 2) {
        // With one pixel per module (or less) the bars would shrink by up to half; wider bars
        // spread evenly over the area (edges off by at most one pixel) print and read better.
        return area;
    }
    if (pixelsPerModule < 1) {
        // More modules than pixels: spread them over the largest centred square.
        const int side = std::min(area.width(), area.height());
        return QRect(area.left() + (area.width() - side) / 2, area.top() + (area.height() - side) / 2, side,
                     side);
    }
    const int width = pixelsPerModule * matrix.width;
    const int height = linear ? area.height() : pixelsPerModule * matrix.height;
    return QRect(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2, width,
                 height);
}

double LabelRenderer::linearModuleWidthMM(int moduleCount, QSizeF labelSizePoints) {
    if (moduleCount <= 0) {
        return 0;
    }
    // The grid the modules are painted on, without needing the modules themselves.
    const QRect area = pixelArea(layout(labelSizePoints, LabelCodeKind::barcode).code);
    const QRect grid = moduleGrid(CodeModuleMatrix(moduleCount, 1), area);
    const double points = double(grid.width()) / moduleCount / renderScale;
    return points / 72.0 * 25.4;
}

CodeModuleMatrix LabelRenderer::codeModules(const QString& value, LabelCodeKind codeKind) {
    if (codeKind == LabelCodeKind::qrCode) {
        auto matrix = ZintEncoder::qrCode(value);
        if (!matrix) {
            throw LabelPDFError::renderingFailed();
        }
        return std::move(*matrix);
    }
    if (auto ean = Ean13Encoder::modules(value)) {
        return std::move(*ean);
    }
    const bool ascii = std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        throw LabelPDFError::invalidBarcodeValue(value);
    }
    auto matrix = ZintEncoder::code128(value.toLatin1());
    if (!matrix) {
        // Only length can make Code 128 refuse ASCII; the value is named so it can be fixed.
        throw LabelPDFError::invalidBarcodeValue(value);
    }
    return std::move(*matrix);
}

QImage LabelRenderer::render(const LabelPrintableItem& item) const {
    // The code first: a value that cannot be encoded fails before any drawing.
    return render(item, codeModules(item.encodedValue, codeKind_));
}

QImage LabelRenderer::render(const LabelPrintableItem& item, const CodeModuleMatrix& modules) const {
    const double width = std::round(labelSize_.width() * renderScale);
    const double height = std::round(labelSize_.height() * renderScale);
    if (!(width * height <= maximumPixels)) {
        throw LabelPDFError::renderingFailed();
    }
    const QSize pixels(std::max(1, int(width)), std::max(1, int(height)));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull()) {
        throw LabelPDFError::renderingFailed();
    }
    image.setDotsPerMeterX(dotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(dotsPerMeterAt72Dpi);
    image.fill(Qt::white);

    QPainter painter;
    if (!painter.begin(&image)) {
        throw LabelPDFError::renderingFailed();
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.scale(renderScale, renderScale);

    painter.setPen(Qt::black);
    drawCenteredElided(painter, titleFont_, layout_.title, item.title);

    // Modules are painted in device pixels, without antialiasing, so every edge is sharp.
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintModules(painter, modules, moduleGrid(modules, pixelArea(layout_.code)));
    painter.restore();

    if (codeKind_ == LabelCodeKind::barcode && (!item.sku || *item.sku != item.encodedValue)) {
        drawCenteredElided(painter, smallFont_, layout_.valueLine, item.encodedValue);
    }
    painter.end();
    const QImage mono = monochrome(image);
    if (mono.isNull()) {
        throw LabelPDFError::renderingFailed();
    }
    return mono;
}

} // namespace tallybrook
