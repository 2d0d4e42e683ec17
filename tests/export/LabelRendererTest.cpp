#include "export/LabelRenderer.h"

#include "export/Ean13Encoder.h"
#include "export/LabelPDFError.h"
#include "export/LabelSheetGeometry.h"

#include <QFontDatabase>
#include <cmath>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

QSizeF pointsOf(LabelSizePreset preset) {
    LabelPrintConfiguration configuration;
    configuration.sizePreset = preset;
    const QSizeF mm = configuration.labelSizeMM();
    return QSizeF(pointsFromMM(mm.width()), pointsFromMM(mm.height()));
}

LabelPrintableItem item(const QString& value, std::optional<QString> sku = std::nullopt) {
    LabelPrintableItem result;
    result.id = u"row"_s;
    result.encodedValue = value;
    result.title = u"Organic cotton tee - Forest green - XL"_s;
    result.itemName = result.title;
    result.sku = std::move(sku);
    return result;
}

QRect pixelsOf(const QRectF& points) {
    const double s = LabelRenderer::renderScale;
    return QRect(int(std::ceil(points.left() * s - 1e-6)), int(std::ceil(points.top() * s - 1e-6)),
                 int(std::floor(points.right() * s + 1e-6)) - int(std::ceil(points.left() * s - 1e-6)),
                 int(std::floor(points.bottom() * s + 1e-6)) - int(std::ceil(points.top() * s - 1e-6)));
}

int darkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y) {
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x) {
            count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(LabelRendererTest, LayoutFollowsTheLabelSize) {
    const auto standard =
        LabelRenderer::layout(pointsOf(LabelSizePreset::standard381x212), LabelCodeKind::barcode);
    const double h = 21.2 / 25.4 * 72;
    const double inset = h * 0.07;
    EXPECT_NEAR(standard.titleFontSize, 9.5, 1e-9);
    EXPECT_NEAR(standard.smallFontSize, 7.0, 1e-9);
    EXPECT_NEAR(standard.title.top(), inset * 0.55, 1e-9);
    EXPECT_NEAR(standard.title.height(), 14.0, 1e-9);
    EXPECT_NEAR(standard.code.left(), inset, 1e-9);
    EXPECT_NEAR(standard.code.top(), inset * 0.55 + 14.0 + inset * 0.15, 1e-9);
    EXPECT_NEAR(standard.code.bottom(), h - inset - 8.0, 1e-9);
    EXPECT_NEAR(standard.valueLine.top(), standard.code.bottom() + 0.5, 1e-9);

    const auto avery = LabelRenderer::layout(pointsOf(LabelSizePreset::avery5167), LabelCodeKind::barcode);
    EXPECT_NEAR(avery.titleFontSize, 12.7 / 25.4 * 72 * 0.18, 1e-9);
    EXPECT_NEAR(avery.smallFontSize, 4.8, 1e-9);
    EXPECT_NEAR(avery.code.height(), 36.0 - (2.52 * 0.55 + 36.0 * 0.3 + 2.52 * 0.15) - 2.52 - 6.0, 1e-9);
    // Below the smallest label the options allow, the code keeps a floor of 4 points.
    EXPECT_NEAR(LabelRenderer::layout(QSizeF(28.35, 15), LabelCodeKind::barcode).code.height(), 4.0, 1e-9);

    const QSizeF qrSize = pointsOf(LabelSizePreset::qr35);
    const auto qr = LabelRenderer::layout(qrSize, LabelCodeKind::qrCode);
    EXPECT_NEAR(qr.code.width(), qr.code.height(), 1e-9);
    EXPECT_NEAR(qr.code.center().x(), qrSize.width() / 2, 1e-9);
    EXPECT_TRUE(qr.valueLine.isEmpty());
}

TEST(LabelRendererTest, ModuleGridUsesWholePixelsPerModuleAndStaysInsideItsArea) {
    struct Case {
        int modules;
        int rows;
        QRect area;
        QRect grid;
    };
    for (const Case& c : {Case{113, 1, QRect(25, 110, 597, 80), QRect(25 + (597 - 565) / 2, 110, 565, 80)},
                          Case{37, 37, QRect(100, 100, 440, 400), QRect(135, 115, 370, 370)},
                          Case{198, 1, QRect(40, 5, 512, 300), QRect(40 + 58, 5, 396, 300)},
                          Case{275, 1, QRect(40, 5, 512, 300), QRect(40, 5, 512, 300)},
                          Case{300, 1, QRect(0, 0, 200, 10), QRect(0, 0, 200, 10)},
                          Case{41, 41, QRect(0, 0, 30, 40), QRect(0, 5, 30, 30)}}) {
        CodeModuleMatrix matrix(c.modules, c.rows);
        EXPECT_EQ(LabelRenderer::moduleGrid(matrix, c.area), c.grid);
    }
}

TEST(LabelRendererTest, CodeChoiceFollowsTheKindAndTheValue) {
    const auto ean = LabelRenderer::codeModules(u"4006381333931"_s, LabelCodeKind::barcode);
    EXPECT_EQ(ean, *Ean13Encoder::modules(u"4006381333931"));
    // A wrong check digit is no EAN-13: Code 128 with its 10-module quiet zones.
    const auto code128 = LabelRenderer::codeModules(u"4006381333932"_s, LabelCodeKind::barcode);
    EXPECT_EQ(code128.height, 1);
    EXPECT_NE(code128.width, Ean13Encoder::moduleCount);
    for (int x = 0; x < 10; ++x) {
        EXPECT_FALSE(code128.isDark(x, 0));
        EXPECT_FALSE(code128.isDark(code128.width - 1 - x, 0));
    }
    EXPECT_TRUE(code128.isDark(10, 0));
    const auto qr = LabelRenderer::codeModules(u"4006381333931"_s, LabelCodeKind::qrCode);
    EXPECT_EQ(qr.width, 21 + 8);
    EXPECT_EQ(qr.height, 21 + 8);

    for (const QString& value : {u"Café"_s, u"tab\u00a0"_s, u"\u20ac5"_s}) {
        try {
            LabelRenderer::codeModules(value, LabelCodeKind::barcode);
            ADD_FAILURE() << "no error for " << value.toStdString();
        } catch (const LabelPDFError& error) {
            EXPECT_EQ(error, LabelPDFError::invalidBarcodeValue(value));
        }
        EXPECT_GT(LabelRenderer::codeModules(value, LabelCodeKind::qrCode).width, 0);
    }
    // Longer than Code 128 can carry: the value is named, as for other values it cannot encode.
    const QString tooLong = u"X"_s.repeated(400);
    EXPECT_THROW(LabelRenderer::codeModules(tooLong, LabelCodeKind::barcode), LabelPDFError);
    EXPECT_THROW(LabelRenderer::codeModules(u"X"_s.repeated(5000), LabelCodeKind::qrCode), LabelPDFError);
}

TEST(LabelRendererTest, BarsAreCrispWholePixelModules) {
    const QSizeF size = pointsOf(LabelSizePreset::standard381x212);
    const LabelRenderer renderer(LabelCodeKind::barcode, size);
    const QImage image = renderer.render(item(u"5901234123457"_s));
    EXPECT_EQ(image.size(), QSize(int(std::lround(size.width() * 6)), int(std::lround(size.height() * 6))));

    const auto layout = LabelRenderer::layout(size, LabelCodeKind::barcode);
    const CodeModuleMatrix modules = *Ean13Encoder::modules(u"5901234123457");
    const QRect grid = LabelRenderer::moduleGrid(modules, pixelsOf(layout.code));
    const int perModule = grid.width() / modules.width;
    ASSERT_GE(perModule, 3);
    for (const int y : {grid.top(), grid.center().y(), grid.bottom()}) {
        for (int x = grid.left() - 5; x < grid.right() + 5; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool insideGrid = x >= grid.left() && x <= grid.right();
            const bool dark = insideGrid && modules.isDark((x - grid.left()) / perModule, 0);
            // Pure black or pure white: no smoothing at module edges.
            ASSERT_EQ(pixel, dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << "x " << x << " y " << y;
        }
    }
}

TEST(LabelRendererTest, ValueLineOnlyUnderALinearCodeWhoseValueIsNotTheSku) {
    const QSizeF size = pointsOf(LabelSizePreset::standard381x212);
    const auto layout = LabelRenderer::layout(size, LabelCodeKind::barcode);
    const QRect valueLine = pixelsOf(layout.valueLine);
    const QRect title = pixelsOf(layout.title);
    const LabelRenderer barcode(LabelCodeKind::barcode, size);
    EXPECT_GT(darkPixels(barcode.render(item(u"INV-42"_s)), valueLine), 50);
    EXPECT_GT(darkPixels(barcode.render(item(u"INV-42"_s, u"SKU-1"_s)), valueLine), 50);
    EXPECT_EQ(darkPixels(barcode.render(item(u"SKU-1"_s, u"SKU-1"_s)), valueLine), 0);
    EXPECT_GT(darkPixels(barcode.render(item(u"SKU-1"_s, u"SKU-1"_s)), title), 200);
}

TEST(LabelRendererTest, LabelsAreOneBitBlackAndWhiteImagesAtSixTimesTheirSize) {
    for (const LabelSizePreset preset : {LabelSizePreset::qr35, LabelSizePreset::avery5167}) {
        const QSizeF size = pointsOf(preset);
        for (const LabelCodeKind kind : allLabelCodeKinds) {
            const QImage image = LabelRenderer(kind, size).render(item(u"ABC-123"_s));
            EXPECT_EQ(image.format(), QImage::Format_Mono);
            EXPECT_EQ(image.colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
            EXPECT_EQ(image.size(),
                      QSize(int(std::lround(size.width() * 6)), int(std::lround(size.height() * 6))));
            // White all round the edges: no outline in the image.
            EXPECT_EQ(darkPixels(image, QRect(0, 0, image.width(), 3)), 0);
            EXPECT_EQ(darkPixels(image, QRect(0, 0, 3, image.height())), 0);
        }
    }
}

TEST(LabelRendererTest, LabelFontIsDejaVuSansHere) {
    EXPECT_TRUE(QFontDatabase::families().contains(u"DejaVu Sans"_s));
}
