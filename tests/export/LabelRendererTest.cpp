#include "export/LabelRenderer.h"

#include "LabelTestSupport.h"
#include "export/Ean13Encoder.h"
#include "export/LabelPDFError.h"
#include "export/LabelPDFService.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelSheetGeometry.h"
#include "support/TestLanguage.h"

#include <QFontDatabase>

#include <cmath>
#include <memory>
#include <zint.h>

using namespace tallybrook;
using namespace tallybrook::test;
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
    result.id = u"row"_s, result.encodedValue = value;
    result.title = result.itemName = u"Organic cotton tee - Forest green - XL"_s, result.sku = std::move(sku);
    return result;
}

QRect pixelsOf(const QRectF& points) {
    const double s = LabelRenderer::renderScale;
    const int left = int(std::ceil(points.left() * s - 1e-6));
    const int top = int(std::ceil(points.top() * s - 1e-6));
    return QRect(left, top, int(std::floor(points.right() * s + 1e-6)) - left, int(std::floor(points.bottom() * s + 1e-6)) - top);
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

QString moduleText(const CodeModuleMatrix& matrix, int from, int count) {
    QString text;
    for (int x = from; x < from + count; ++x) {
        text += matrix.isDark(x, 0) ? u'1' : u'0';
    }
    return text;
}

// The 95 modules (guards included, no quiet zone) that Zint, an independent encoder, gives.
QString zintEan13(const QString& value) {
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    symbol->symbology = BARCODE_EANX;
    const QByteArray bytes = value.toLatin1();
    EXPECT_LT(ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size())), ZINT_ERROR);
    QString text;
    for (int x = 0; x < symbol->width; ++x) {
        text += ((symbol->encoded_data[0][x >> 3] >> (x & 7)) & 1) ? u'1' : u'0';
    }
    return text;
}

} // namespace

TEST(LabelRendererTest, Ean13CheckDigitsAndModules) {
    for (const auto& [twelve, check] : {std::pair{u"400638133393", 1}, {u"978030640615", 7}, {u"001234567890", 5},
                                        {u"000000000000", 0}, {u"871125300120", 2}}) {
        EXPECT_EQ(Ean13Encoder::checkDigit(twelve), check);
    }
    EXPECT_FALSE(Ean13Encoder::checkDigit(u"40063813339x"));
    for (const char16_t* invalid : {u"4006381333932", u"400638133393", u"40063813339310", u" 4006381333931",
                                    u"\u0664006381333931" /* an Arabic-Indic digit */, u""}) {
        EXPECT_FALSE(Ean13Encoder::isValid(invalid));
        EXPECT_FALSE(Ean13Encoder::modules(invalid));
    }
    for (const char16_t* value : {u"0012345678905", u"1234567890128", u"2000000000008", u"3014260115531", u"4006381333931",
                                  u"5901234123457", u"6291041500213", u"7622210449283", u"8711253001202", u"9780306406157"}) {
        const auto matrix = Ean13Encoder::modules(value);
        ASSERT_TRUE(matrix);
        ASSERT_EQ(std::pair(matrix->width, matrix->height), std::pair(Ean13Encoder::moduleCount, 1));
        EXPECT_EQ(moduleText(*matrix, 0, 113),
                  u"0"_s.repeated(11) + zintEan13(QString::fromUtf16(value)) + u"0"_s.repeated(7));
    }
}

TEST(LabelRendererTest, LayoutAndModuleGridFollowTheLabelSize) {
    // (The exact sizes are the renderer's constants; the pixel and scan tests prove they work together.)
    const auto standard = LabelRenderer::layout(pointsOf(LabelSizePreset::standard381x212), LabelCodeKind::barcode);
    EXPECT_GT(standard.valueLine.top(), standard.code.bottom());
    EXPECT_GT(standard.code.top(), standard.title.bottom());
    // Below the smallest label the options allow, the code keeps a floor of 4 points.
    EXPECT_NEAR(LabelRenderer::layout(QSizeF(28.35, 15), LabelCodeKind::barcode).code.height(), 4.0, 1e-9);
    const QSizeF qrSize = pointsOf(LabelSizePreset::qr35);
    const auto qr = LabelRenderer::layout(qrSize, LabelCodeKind::qrCode);
    EXPECT_NEAR(qr.code.width(), qr.code.height(), 1e-9);
    EXPECT_NEAR(qr.code.center().x(), qrSize.width() / 2, 1e-9);
    EXPECT_TRUE(qr.valueLine.isEmpty());

    // Whole pixels per module, centred, inside the area: modules, rows, area, grid.
    for (const auto& [modules, rows, area, grid] :
         {std::tuple{113, 1, QRect(25, 110, 597, 80), QRect(41, 110, 565, 80)}, {37, 37, QRect(100, 100, 440, 400), QRect(135, 115, 370, 370)},
          {198, 1, QRect(40, 5, 512, 300), QRect(98, 5, 396, 300)}, {275, 1, QRect(40, 5, 512, 300), QRect(40, 5, 512, 300)},
          {300, 1, QRect(0, 0, 200, 10), QRect(0, 0, 200, 10)}, {41, 41, QRect(0, 0, 30, 40), QRect(0, 5, 30, 30)}}) {
        EXPECT_EQ(LabelRenderer::moduleGrid(CodeModuleMatrix(modules, rows), area), grid) << modules;
    }
}

TEST(LabelRendererTest, CodeChoiceFollowsTheKindAndTheValue) {
    // (The scan test proves which symbology each value gets.) Code 128 has 10-module quiet zones.
    const auto code128 = LabelRenderer::codeModules(u"4006381333932"_s, LabelCodeKind::barcode);
    EXPECT_EQ(moduleText(code128, 0, 11), u"00000000001"_s);
    EXPECT_EQ(moduleText(code128, code128.width - 10, 10), u"0"_s.repeated(10));
    const auto qr = LabelRenderer::codeModules(u"4006381333931"_s, LabelCodeKind::qrCode);
    EXPECT_EQ(std::pair(qr.width, qr.height), std::pair(21 + 8, 21 + 8));
    for (const QString& value : {u"Café"_s, u"\u0080"_s, u"tab\u00a0"_s, u"\u20ac5"_s, u"X"_s.repeated(400)}) {
        try {
            LabelRenderer::codeModules(value, LabelCodeKind::barcode);
            ADD_FAILURE() << "no error for " << value.toStdString();
        } catch (const LabelPDFError& error) {
            EXPECT_EQ(error, LabelPDFError::invalidBarcodeValue(value));
        }
    }
    EXPECT_GT(LabelRenderer::codeModules(u"Café"_s, LabelCodeKind::qrCode).width, 0);
    EXPECT_THROW(LabelRenderer::codeModules(u"X"_s.repeated(5000), LabelCodeKind::qrCode), LabelPDFError);
}

TEST(LabelRendererTest, LabelsAreCrispOneBitImagesWithAValueLineOnlyWhereItHelps) {
    EXPECT_TRUE(QFontDatabase::families().contains(u"DejaVu Sans"_s));
    const QSizeF size = pointsOf(LabelSizePreset::standard381x212);
    const LabelRenderer barcode(LabelCodeKind::barcode, size);
    const QImage image = barcode.render(item(u"5901234123457"_s));
    EXPECT_EQ(image.format(), QImage::Format_Mono);
    EXPECT_EQ(image.size(), QSize(int(std::lround(size.width() * 6)), int(std::lround(size.height() * 6))));
    EXPECT_EQ(darkPixels(image, QRect(0, 0, image.width(), 3)) + darkPixels(image, QRect(0, 0, 3, image.height())), 0)
        << "white all round: no outline in the image";
    const auto layout = LabelRenderer::layout(size, LabelCodeKind::barcode);
    const CodeModuleMatrix modules = *Ean13Encoder::modules(u"5901234123457");
    const QRect grid = LabelRenderer::moduleGrid(modules, pixelsOf(layout.code));
    const int perModule = grid.width() / modules.width;
    ASSERT_GE(perModule, 3);
    for (const int y : {grid.top(), grid.center().y(), grid.bottom()}) {
        for (int x = grid.left() - 5; x < grid.right() + 5; ++x) {
            const bool dark = x >= grid.left() && x <= grid.right() && modules.isDark((x - grid.left()) / perModule, 0);
            ASSERT_EQ(image.pixel(x, y), dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << "x " << x << " y " << y;
        }
    }
    // The value is written under a linear code unless it is the SKU already shown.
    const QRect valueLine = pixelsOf(layout.valueLine);
    EXPECT_GT(darkPixels(barcode.render(item(u"INV-42"_s, u"SKU-1"_s)), valueLine), 50);
    EXPECT_EQ(darkPixels(barcode.render(item(u"SKU-1"_s, u"SKU-1"_s)), valueLine), 0);
    EXPECT_GT(darkPixels(barcode.render(item(u"SKU-1"_s, u"SKU-1"_s)), pixelsOf(layout.title)), 200);
}

TEST(LabelRendererTest, PrintableItemsTakeTheFirstUsableCodeAndATitle) {
    InventoryExportDocument document;
    for (const auto& [code, itemId] : {std::pair{u"  "_s, u"item-a"_s}, {u" 3700000000001 "_s, u" item-a "_s},
                                       {u"3700000000002"_s, u"item-a"_s}, {u"999"_s, u"item-b"_s}}) {
        document.scanAliasesCreated.append(InventoryExportScanAlias());
        document.scanAliasesCreated.last().code = code;
        document.scanAliasesCreated.last().itemLocalId = itemId;
    }
    const auto aliased = [](std::optional<QString> barcode) {
        InventoryExportRow row = labelRow(std::move(barcode), u"INV-1"_s, u"SKU-1"_s);
        row.localItemId = u"item-a"_s;
        return row;
    };
    const std::tuple<InventoryExportRow, const InventoryExportDocument*, std::optional<QString>> codes[] = {
        {labelRow(u" 4006381333931 "_s, u"INV-1"_s), &document, u"4006381333931"_s},
        {aliased(std::nullopt), &document, u"3700000000001"_s},
        {aliased(u"   "_s), &document, u"3700000000001"_s},
        {aliased(std::nullopt), nullptr, u"INV-1"_s},
        {labelRow(u"  "_s, u" INV-2 "_s, u"SKU-1"_s), &document, u"INV-2"_s},
        {labelRow(std::nullopt, u"\n"_s, u" SKU-9 "_s), nullptr, u"SKU-9"_s},
        {labelRow(u" "_s, u"\t"_s, u""_s), &document, std::nullopt},
    };
    for (const auto& [row, source, encoded] : codes) {
        for (const LabelCodeKind kind : allLabelCodeKinds) {
            const auto printable = makePrintableItem(row, source, kind, AppLanguage::english);
            EXPECT_EQ(printable ? std::optional(printable->encodedValue) : std::nullopt, encoded);
            EXPECT_EQ(printable ? printable->id : row.id(), row.id());
        }
    }
    const std::tuple<InventoryExportRow, AppLanguage, QString, QString> titles[] = {
        {labelRow(u"A"_s, {}, {}, u" Tee "_s, u" Red \n"_s), AppLanguage::english, u"Tee - Red"_s, u"Tee"_s},
        {labelRow(u"A"_s, {}, {}, u" "_s, u"Red"_s), AppLanguage::english, u"Red"_s, u""_s},
        {labelRow(u"A"_s, {}, u" SKU-1 "_s, u"  "_s), AppLanguage::english, u"SKU-1"_s, u""_s},
        {labelRow(u"A"_s, {}, u" "_s, u""_s), AppLanguage::english, u"A"_s, u""_s},
        {labelRow(u"A"_s, {}, {}, std::nullopt, u"Rouge"_s), AppLanguage::french, u"Article sans nom - Rouge"_s, u"Article sans nom"_s},
    };
    for (const auto& [row, language, title, itemName] : titles) {
        const auto printable = makePrintableItem(row, nullptr, LabelCodeKind::barcode, language);
        ASSERT_TRUE(printable);
        EXPECT_EQ(std::pair(printable->title, printable->itemName), std::pair(title, itemName));
    }
    InventoryExportRow located = labelRow(u"A"_s, {}, u" SKU-1 "_s, u"Tee"_s, u" Red "_s);
    located.location = u" Aisle 3 "_s;
    const auto full = makePrintableItem(located, nullptr, LabelCodeKind::qrCode, AppLanguage::french);
    EXPECT_EQ(std::tie(full->sku, full->variantName, full->location),
              std::make_tuple(std::optional(u"SKU-1"_s), std::optional(u"Red"_s), std::optional(u" Aisle 3 "_s)));

    // The sheet counts what the document's aliases add.
    document.rows = {labelRow(u"A"_s), labelRow(std::nullopt), aliased(std::nullopt), labelRow(u" "_s)};
    document.rows[2].inventoryCode.reset();
    document.rows[2].sku.reset();
    InventoryRowList pointers;
    for (const InventoryExportRow& row : document.rows) {
        pointers.append(&row);
    }
    EXPECT_EQ(makePrintableItems(document.rows, nullptr, LabelCodeKind::barcode, AppLanguage::english).skippedRows, 3);
    const LabelPDFResult sheet = LabelPDFService().makeLabelPDF(pointers, &document, LabelPrintConfiguration(), AppLanguage::english);
    EXPECT_EQ(std::pair(sheet.labelsDrawn, sheet.rowsSkipped), std::pair(qint64(2), qint64(2)));
}
