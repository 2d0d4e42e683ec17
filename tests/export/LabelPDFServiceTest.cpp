#include "export/LabelPDFService.h"

#include "LabelTestSupport.h"
#include "export/LabelFileName.h"
#include "export/LabelPDFError.h"
#include "export/LabelSheetGeometry.h"
#include "support/TestLanguage.h"

#include <limits>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double mm = 72 / 25.4;

QList<InventoryExportRow> numberedRows(int count) {
    QList<InventoryExportRow> rows;
    for (int i = 0; i < count; ++i) {
        rows.append(labelRow(std::nullopt, u"INV-%1"_s.arg(i, 4, 10, QChar(u'0'))));
    }
    return rows;
}

LabelPrintConfiguration custom(double width, double height, double margin = 8, double hgap = 2,
                               double vgap = 2) {
    LabelPrintConfiguration configuration;
    configuration.sizePreset = LabelSizePreset::custom, configuration.customWidthMM = width;
    configuration.customHeightMM = height, configuration.marginMM = margin,
    configuration.horizontalGapMM = hgap;
    configuration.verticalGapMM = vgap;
    return configuration;
}

LabelPDFResult sheet(const QList<InventoryExportRow>& rows,
                     const LabelPrintConfiguration& configuration = {}) {
    return LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::english);
}

LabelPDFError errorOf(const QList<InventoryExportRow>& rows, const LabelPrintConfiguration& configuration) {
    try {
        sheet(rows, configuration);
    } catch (const LabelPDFError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return LabelPDFError::renderingFailed();
}

} // namespace

TEST(LabelSheetGeometryTest, GridsOnA4) {
    for (const auto& [preset, columns, rows] : {std::tuple{LabelSizePreset::standard381x212, 4, 12},
                                                {LabelSizePreset::avery5167, 4, 19},
                                                {LabelSizePreset::qr35, 5, 7}}) {
        LabelPrintConfiguration configuration;
        configuration.sizePreset = preset;
        const auto geometry = LabelSheetGeometry::make(configuration);
        ASSERT_TRUE(geometry);
        EXPECT_EQ(std::pair(geometry->columns, geometry->rows), std::pair(qint64(columns), qint64(rows)));
    }
    // The custom size has a floor of 10 by 8 mm, and only counts for the custom preset.
    EXPECT_EQ(custom(5, 5).labelSizeMM(), QSizeF(10, 8));
    EXPECT_EQ(custom(-40, 30).labelSizeMM(), QSizeF(10, 30));
    LabelPrintConfiguration standard = custom(5, 5);
    standard.sizePreset = LabelSizePreset::standard381x212;
    EXPECT_EQ(standard.labelSizeMM(), QSizeF(38.1, 21.2));
    const auto small = LabelSheetGeometry::make(custom(5, 5));
    ASSERT_TRUE(small);
    EXPECT_NEAR(small->labelSize.width(), 10 * mm, 1e-9);
    EXPECT_EQ(std::pair(small->columns, small->rows),
              std::pair(qint64(16), qint64(28))); // (210 - 16 + 2) / 12, (297 - 16 + 2) / 10

    // Labels fill row by row from the top left margin and wrap to the next page.
    const auto geometry = LabelSheetGeometry::make(LabelPrintConfiguration());
    ASSERT_TRUE(geometry);
    for (const auto& [index, page, left, top] : {std::tuple{0, 0, 8.0, 8.0},
                                                 {3, 0, 8 + 3 * 40.1, 8.0},
                                                 {4, 0, 8.0, 8 + 23.2},
                                                 {47, 0, 8 + 3 * 40.1, 8 + 11 * 23.2},
                                                 {48, 1, 8.0, 8.0}}) {
        EXPECT_EQ(geometry->pageIndex(index), page);
        const QRectF rect = geometry->labelRect(index);
        EXPECT_NEAR(rect.left(), left * mm, 1e-9) << index;
        EXPECT_NEAR(rect.top(), top * mm, 1e-9) << index;
        EXPECT_NEAR(rect.width(), 38.1 * mm, 1e-9);
        EXPECT_NEAR(rect.height(), 21.2 * mm, 1e-9);
    }
}

TEST(LabelSheetGeometryTest, OnlySensibleGridsAreMadeAndTheyStayOnThePage) {
    // margin, horizontal gap, vertical gap, width, height
    using Row = std::array<double, 5>;
    for (const Row& c :
         {Row{110.0, 2.0, 2.0, 38.1, 21.2}, Row{8, 2, 2, 300, 21.2}, Row{8, -38.1, 2, 38.1, 21.2},
          Row{8, 2, -21.2, 38.1, 21.2}, Row{8, -100, 2, 38.1, 21.2}, Row{0, -38.0999999, 2, 38.1, 21.2},
          Row{-5, 2, 2, 38.1, 21.2}, Row{-1e300, 2, 2, 38.1, 21.2}, Row{notANumber, 2, 2, 38.1, 21.2},
          Row{8, notANumber, 2, 38.1, 21.2}, Row{8, 2, 2, notANumber, 21.2}, Row{8, 2, 2, 38.1, notANumber},
          Row{8, 2, 2, inf, 21.2}, Row{8, inf, 2, 38.1, 21.2}, Row{8, -inf, 2, 38.1, 21.2},
          Row{inf, 2, 2, 38.1, 21.2}, Row{8, 2, 2, 1e308, 21.2}, Row{8, 1e308, 2, 38.1, 21.2}}) {
        EXPECT_FALSE(LabelSheetGeometry::make(custom(c[3], c[4], c[0], c[1], c[2])))
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3] << " " << c[4];
    }
    for (const auto& [margin, hgap, vgap] : {std::tuple{0, 0, 0}, {8, -20, -10}, {8, 100, 200}}) {
        const auto geometry = LabelSheetGeometry::make(custom(38.1, 21.2, margin, hgap, vgap));
        ASSERT_TRUE(geometry);
        const QRectF page = QRectF(QPointF(0, 0), geometry->pageSize).adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        for (qint64 i = 0; i < geometry->labelsPerPage(); ++i) {
            EXPECT_TRUE(page.contains(geometry->labelRect(i))) << i;
        }
    }
}

TEST(LabelPDFServiceTest, CountsLabelsAndSkippedRowsOnLosslessA4Pages) {
    QList<InventoryExportRow> rows = numberedRows(49);
    rows.insert(1, labelRow(std::nullopt));
    rows.append(labelRow(u"  "_s, u""_s, u" "_s));
    const LabelPDFResult result = sheet(rows);
    EXPECT_EQ(std::pair(result.labelsDrawn, result.rowsSkipped), std::pair(qint64(49), qint64(2)));
    // Lossless, uninterpolated images, and no document information.
    for (const char* part : {"/BitsPerComponent 1", "/FlateDecode", "/Title ()", "/Creator ()",
                             "/MediaBox [0 0 595.000000 842.000000]"}) {
        EXPECT_TRUE(result.pdf.contains(part)) << part;
    }
    EXPECT_FALSE(result.pdf.contains("/DCTDecode") || result.pdf.contains("/Interpolate true"));
    LabelPrintConfiguration qr;
    qr.codeKind = LabelCodeKind::qrCode;
    EXPECT_EQ(sheet(rows, qr).rowsSkipped, 2);
}

TEST(LabelPDFServiceTest, OutlineIsLightGreyAndOptional) {
    constexpr int dpi = 432;
    LabelPrintConfiguration configuration;
    const QRectF label = LabelSheetGeometry::make(configuration)->labelRect(0);
    // The outline is 0.35 pt wide, its middle 0.425 pt inside the label's left edge.
    const int x = int((label.left() + 0.425) * dpi / 72);
    const int y = int(label.center().y() * dpi / 72);
    for (const bool border : {true, false}) {
        configuration.drawsLabelBorder = border;
        const QList<QImage> pages = rasterisePdf(sheet(numberedRows(1), configuration).pdf, dpi);
        ASSERT_EQ(pages.size(), 1);
        EXPECT_NEAR(qGray(pages.at(0).pixel(x, y)), border ? int(0.84 * 255) : 255, border ? 12 : 0);
        EXPECT_EQ(qGray(pages.at(0).pixel(x - 6, y)), 255);
    }
}

TEST(LabelPDFServiceTest, ChecksComeInOrderAndDegenerateConfigurationsNeverCrash) {
    LabelPrintConfiguration badGeometry;
    badGeometry.marginMM = 110;
    EXPECT_EQ(errorOf({labelRow(std::nullopt), labelRow(u" "_s)}, badGeometry),
              LabelPDFError::noPrintableRows(LabelCodeKind::barcode));
    QList<InventoryExportRow> rows = numberedRows(4);
    rows.insert(2, labelRow(u"Café crème"_s));
    EXPECT_EQ(errorOf(rows, badGeometry), LabelPDFError::invalidPageGeometry());
    EXPECT_EQ(errorOf(rows, LabelPrintConfiguration()), LabelPDFError::invalidBarcodeValue(u"Café crème"_s));
    // A huge label is refused instead of allocated.
    LabelPrintConfiguration huge = custom(4000, 4000);
    huge.pageWidthMM = huge.pageHeightMM = 5000;
    EXPECT_TRUE(LabelSheetGeometry::make(huge));
    EXPECT_EQ(errorOf(numberedRows(1), huge), LabelPDFError::renderingFailed());

    for (const double value : {0.0, -0.0, -1.0, -38.1, -40.1, 1e308, -1e308, notANumber, inf, -inf, 1e-300}) {
        for (double LabelPrintConfiguration::*field :
             {&LabelPrintConfiguration::customWidthMM, &LabelPrintConfiguration::customHeightMM,
              &LabelPrintConfiguration::marginMM, &LabelPrintConfiguration::horizontalGapMM,
              &LabelPrintConfiguration::verticalGapMM, &LabelPrintConfiguration::pageWidthMM,
              &LabelPrintConfiguration::pageHeightMM}) {
            LabelPrintConfiguration configuration = custom(38.1, 21.2);
            configuration.*field = value;
            try {
                EXPECT_EQ(sheet(numberedRows(3), configuration).labelsDrawn, 3) << value;
            } catch (const LabelPDFError& error) {
                EXPECT_EQ(error, LabelPDFError::invalidPageGeometry()) << value;
            }
        }
    }
}

TEST(LabelPDFServiceTest, TextsAndFileNames) {
    useLanguage(AppLanguage::french);
    EXPECT_EQ(LabelPDFError::invalidBarcodeValue(u"Café"_s).localizedDescription(),
              u"Le code-barres Code 128 ne peut pas encoder cette valeur: Café. Essayez le QR Code."_s);
    EXPECT_EQ(labelsGeneratedMessage(28, 12, AppLanguage::english),
              u"28 label(s) generated. 12 row(s) skipped."_s);
    EXPECT_EQ(labelsGeneratedMessage(5, 0, AppLanguage::french), u"5 étiquette(s) générée(s)."_s);

    const std::pair<std::optional<QString>, QString> names[] = {
        {std::nullopt, u""_s},
        {u"   "_s, u""_s},
        {u"  Aisle 3  "_s, u"-Aisle 3"_s},
        {u"a/b:c\\d?e%f*g|h\"i<j>k"_s, u"-a-b-c-d-e-f-g-h-i-j-k"_s},
        {u"Front\nBack\r\nStore"_s, u"-Front-Back--Store"_s},
        {u" / Shelf "_s, u"-- Shelf"_s},
        {u"../../etc/passwd"_s, u"-..-..-etc-passwd"_s},
        {u"Tab\there\u0000nul"_s, u"-Tab-here-nul"_s},
    };
    for (const auto& [location, suffix] : names) {
        EXPECT_EQ(labelSheetDefaultFileName(location), u"tallybrook-etiquettes"_s + suffix + u".pdf"_s);
    }
    // A long location is shortened without splitting a character.
    EXPECT_EQ(safeLabelFileLocation(u"A"_s.repeated(99) + u"\U0001F4E6tail"_s), u"A"_s.repeated(99));
    EXPECT_EQ(safeLabelFileLocation(u"B"_s.repeated(500)).size(), 100);
}

// Letters are Code 128 set B: 11 modules each, plus start, check, stop and the quiet zones.
// Under 0.19 mm a module does not scan on a 300 dpi print.
TEST(LabelPDFServiceTest, DenseBarcodeWarningFollowsTheLabelWidthAndTheLongestCode) {
    const auto letters = [](int count) { return QString(count, u'K'); };
    struct Case {
        LabelPrintConfiguration configuration;
        QStringList codes;
        bool dense;
    };
    LabelPrintConfiguration standard, avery, qr35, qrKind;
    avery.sizePreset = LabelSizePreset::avery5167;
    qr35.sizePreset = LabelSizePreset::qr35;
    qrKind.codeKind = LabelCodeKind::qrCode;
    const Case cases[] = {
        {standard, {letters(8)}, false}, // 4 pixels a module: 0.235 mm
        {standard, {letters(12)}, true}, // 3 pixels: 0.176 mm
        {standard, {letters(20)}, true},
        {standard, {letters(2), letters(20), letters(3)}, true}, // the longest code decides
        {avery, {letters(10)}, false},
        {avery, {letters(12)}, true},
        {qr35, {letters(6)}, false},
        {qr35, {letters(8)}, true},
        {qr35, {letters(20)}, true},
        {custom(100, 21.2), {letters(20)}, false},
        {custom(10, 8), {u"4006381333931"_s}, false}, // EAN-13 is not Code 128
        {qrKind, {letters(40)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes.join(u',').toStdString() + " on " +
                     rawValue(c.configuration.sizePreset).toStdString());
        QList<InventoryExportRow> rows;
        for (const QString& code : c.codes) {
            rows.append(labelRow(std::nullopt, code));
        }
        const LabelPrintableItems printable =
            makePrintableItems(rows, nullptr, c.configuration.codeKind, AppLanguage::french);
        EXPECT_EQ(barcodeTooDense(widestCode128Modules(printable.items), c.configuration), c.dense);
    }
}
