#include "export/LabelPDFService.h"

#include "LabelScanSupport.h"
#include "LabelTestSupport.h"
#include "export/LabelPDFError.h"
#include "export/LabelSheetGeometry.h"

#include <gtest/gtest.h>
#include <limits>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

QList<InventoryExportRow> numberedRows(int count) {
    QList<InventoryExportRow> rows;
    for (int i = 0; i < count; ++i) {
        rows.append(labelRow(std::nullopt, u"INV-%1"_s.arg(i, 4, 10, QChar(u'0'))));
    }
    return rows;
}

LabelPDFError errorOf(const QList<InventoryExportRow>& rows, const LabelPrintConfiguration& configuration) {
    try {
        LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::english);
    } catch (const LabelPDFError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return LabelPDFError::renderingFailed();
}

// The bounding box of the ink on a page image.
QRect inkBounds(const QImage& page) {
    QRect bounds;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 250) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace

TEST(LabelPDFServiceTest, CountsLabelsAndSkippedRows) {
    QList<InventoryExportRow> rows = numberedRows(3);
    rows.insert(1, labelRow(std::nullopt));
    rows.append(labelRow(u"  "_s, u""_s, u" "_s));
    for (const LabelCodeKind kind : allLabelCodeKinds) {
        LabelPrintConfiguration configuration;
        configuration.codeKind = kind;
        const LabelPDFResult result =
            LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::french);
        EXPECT_EQ(result.labelsDrawn, 3);
        EXPECT_EQ(result.rowsSkipped, 2);
        EXPECT_TRUE(result.pdf.startsWith("%PDF-"));
        EXPECT_EQ(pdfPageCount(result.pdf), 1);
    }
}

TEST(LabelPDFServiceTest, FortyNineLabelsMakeTwoPagesTheSecondWithOneLabelTopLeft) {
    LabelPrintConfiguration configuration;
    const LabelPDFResult result =
        LabelPDFService().makeLabelPDF(numberedRows(49), nullptr, configuration, AppLanguage::english);
    EXPECT_EQ(result.labelsDrawn, 49);
    ASSERT_EQ(pdfPageCount(result.pdf), 2);

    constexpr int dpi = 72;
    const QList<QImage> pages = rasterisePdf(result.pdf, dpi);
    ASSERT_EQ(pages.size(), 2);
    // A4 in points, the media box of every page.
    EXPECT_EQ(pages.at(0).size(), QSize(595, 842));
    const auto geometry = LabelSheetGeometry::make(configuration);
    ASSERT_TRUE(geometry);
    const QRect first = geometry->labelRect(0).toAlignedRect();
    const QRect ink = inkBounds(pages.at(1));
    EXPECT_TRUE(first.adjusted(-1, -1, 1, 1).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_GT(ink.width(), first.width() - 4);
    const QRect lastOnFirstPage = geometry->labelRect(47).toAlignedRect();
    EXPECT_TRUE(inkBounds(pages.at(0)).adjusted(-1, -1, 1, 1).contains(lastOnFirstPage));
}

TEST(LabelPDFServiceTest, ImagesAreLosslessUninterpolatedAndTheDocumentCarriesNoInformation) {
    const LabelPDFResult result = LabelPDFService().makeLabelPDF(
        numberedRows(2), nullptr, LabelPrintConfiguration(), AppLanguage::english);
    EXPECT_FALSE(result.pdf.contains("/DCTDecode"));
    EXPECT_TRUE(result.pdf.contains("/BitsPerComponent 1"));
    EXPECT_FALSE(result.pdf.contains("/Interpolate true"));
    EXPECT_TRUE(result.pdf.contains("/FlateDecode"));
    EXPECT_TRUE(result.pdf.contains("/Title ()"));
    EXPECT_TRUE(result.pdf.contains("/Creator ()"));
    // A4 as the PDF engine writes it, in whole points.
    EXPECT_TRUE(result.pdf.contains("/MediaBox [0 0 595.000000 842.000000]"));
}

TEST(LabelPDFServiceTest, OutlineIsLightGreyAndOptional) {
    constexpr int dpi = 432;
    LabelPrintConfiguration configuration;
    const auto geometry = LabelSheetGeometry::make(configuration);
    ASSERT_TRUE(geometry);
    const QRectF label = geometry->labelRect(0);
    // The outline is 0.35 pt wide, its middle 0.425 pt inside the label's left edge.
    const int x = int((label.left() + 0.425) * dpi / 72);
    const int y = int(label.center().y() * dpi / 72);
    for (const bool border : {true, false}) {
        configuration.drawsLabelBorder = border;
        const LabelPDFResult result =
            LabelPDFService().makeLabelPDF(numberedRows(1), nullptr, configuration, AppLanguage::english);
        const QList<QImage> pages = rasterisePdf(result.pdf, dpi);
        ASSERT_EQ(pages.size(), 1);
        const int grey = qGray(pages.at(0).pixel(x, y));
        if (border) {
            EXPECT_NEAR(grey, int(0.84 * 255), 12);
        } else {
            EXPECT_EQ(grey, 255);
        }
        EXPECT_EQ(qGray(pages.at(0).pixel(x - 6, y)), 255);
    }
}

TEST(LabelPDFServiceTest, ChecksComeInOrderNoRowThenGeometryThenEachLabel) {
    LabelPrintConfiguration badGeometry;
    badGeometry.marginMM = 110;
    LabelPrintConfiguration qrBadGeometry = badGeometry;
    qrBadGeometry.codeKind = LabelCodeKind::qrCode;
    const QList<InventoryExportRow> unprintable{labelRow(std::nullopt), labelRow(u" "_s)};
    EXPECT_EQ(errorOf(unprintable, badGeometry), LabelPDFError::noPrintableRows(LabelCodeKind::barcode));
    EXPECT_EQ(errorOf({}, qrBadGeometry), LabelPDFError::noPrintableRows(LabelCodeKind::qrCode));

    QList<InventoryExportRow> rows = numberedRows(4);
    rows.insert(2, labelRow(u"Café crème"_s));
    rows.append(labelRow(u"Thé"_s));
    EXPECT_EQ(errorOf(rows, badGeometry), LabelPDFError::invalidPageGeometry());
    EXPECT_EQ(errorOf(rows, LabelPrintConfiguration()), LabelPDFError::invalidBarcodeValue(u"Café crème"_s));

    LabelPrintConfiguration qr;
    qr.codeKind = LabelCodeKind::qrCode;
    EXPECT_EQ(LabelPDFService().makeLabelPDF(rows, nullptr, qr, AppLanguage::english).labelsDrawn, 6);
}

TEST(LabelPDFServiceTest, DegenerateConfigurationsNeverCrash) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QList<InventoryExportRow> rows = numberedRows(3);
    for (const double value : {0.0, -0.0, -1.0, -38.1, -40.1, 1e308, -1e308, nan, inf, -inf, 1e-300}) {
        for (int field = 0; field < 7; ++field) {
            LabelPrintConfiguration configuration;
            configuration.sizePreset = LabelSizePreset::custom;
            double* fields[] = {&configuration.customWidthMM, &configuration.customHeightMM,
                                &configuration.marginMM,      &configuration.horizontalGapMM,
                                &configuration.verticalGapMM, &configuration.pageWidthMM,
                                &configuration.pageHeightMM};
            *fields[field] = value;
            SCOPED_TRACE(testing::Message() << "field " << field << " value " << value);
            try {
                const LabelPDFResult result =
                    LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::english);
                EXPECT_EQ(result.labelsDrawn, 3);
            } catch (const LabelPDFError& error) {
                EXPECT_EQ(error, LabelPDFError::invalidPageGeometry());
            }
        }
    }
}

TEST(LabelPDFServiceTest, AHugeLabelIsRefusedInsteadOfAllocated) {
    LabelPrintConfiguration configuration;
    configuration.sizePreset = LabelSizePreset::custom;
    configuration.pageWidthMM = 5000;
    configuration.pageHeightMM = 5000;
    configuration.customWidthMM = 4000;
    configuration.customHeightMM = 4000;
    EXPECT_TRUE(LabelSheetGeometry::make(configuration));
    EXPECT_EQ(errorOf(numberedRows(1), configuration), LabelPDFError::renderingFailed());
}

TEST(LabelPDFServiceTest, SkuOnlyRowsAndTheDocumentsAliases) {
    InventoryExportDocument document;
    InventoryExportScanAlias alias;
    alias.code = u"ALIAS-77"_s;
    alias.itemLocalId = u"local-9"_s;
    document.scanAliasesCreated = {alias};
    InventoryExportRow aliased = labelRow(std::nullopt);
    aliased.localItemId = u"local-9"_s;
    document.rows = {aliased, labelRow(std::nullopt, std::nullopt, u"SKU-ONLY"_s)};
    InventoryRowList rows{&document.rows[0], &document.rows[1]};
    const LabelPDFResult withDocument =
        LabelPDFService().makeLabelPDF(rows, &document, LabelPrintConfiguration(), AppLanguage::english);
    EXPECT_EQ(withDocument.labelsDrawn, 2);
    const LabelPDFResult withoutDocument =
        LabelPDFService().makeLabelPDF(rows, nullptr, LabelPrintConfiguration(), AppLanguage::english);
    EXPECT_EQ(withoutDocument.labelsDrawn, 1);
    EXPECT_EQ(withoutDocument.rowsSkipped, 1);
}
