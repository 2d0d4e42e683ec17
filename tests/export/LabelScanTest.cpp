// End to end: the generated sheets are rasterised by poppler and read by the zbar scanner;
// every label must give back its value in the expected symbology.

#include "LabelTestSupport.h"
#include "export/LabelPDFService.h"
#include "export/LabelSheetGeometry.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

const QString ean13 = u"EAN-13"_s;
const QString code128 = u"CODE-128"_s;
const QString qrCode = u"QR-Code"_s;

/// Generates the sheet of `rows`, rasterises it at `dpi` and scans every label on its own.
void expectEveryLabelScans(const QList<InventoryExportRow>& rows, const LabelPrintConfiguration& configuration,
                           const QList<ScannedSymbol>& expected, int dpi) {
    const LabelPDFResult result = LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::french);
    ASSERT_EQ(result.labelsDrawn, expected.size());
    const auto geometry = LabelSheetGeometry::make(configuration);
    ASSERT_TRUE(geometry);
    const QList<QImage> pages = rasterisePdf(result.pdf, dpi);
    ASSERT_EQ(pages.size(), (expected.size() + geometry->labelsPerPage() - 1) / geometry->labelsPerPage());
    QList<QImage> labels;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        labels.append(cropPoints(pages.at(geometry->pageIndex(i)), geometry->labelRect(i), dpi));
    }
    const QList<QList<ScannedSymbol>> scanned = scanImages(labels);
    ASSERT_EQ(scanned.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(scanned.at(i), QList<ScannedSymbol>{expected.at(i)}) << "label " << i << " at " << dpi << " dpi";
    }
}

LabelPrintConfiguration configuration(LabelSizePreset preset, LabelCodeKind kind = LabelCodeKind::barcode) {
    LabelPrintConfiguration result;
    result.sizePreset = preset, result.codeKind = kind;
    return result;
}

} // namespace

TEST(LabelScanTest, BarcodeLabelsScanOnEveryPreset) {
    const QList<InventoryExportRow> rows{
        labelRow(u"4006381333931"_s, u"INV-1"_s, u"SKU-1"_s, u"Surligneur jaune"_s),
        labelRow(u"5901234123457"_s, {}, {}, u"Très long nom d'article qui dépasse la largeur de l'étiquette"_s, u"Bleu"_s),
        labelRow(u"0012345678905"_s),
        labelRow(u"4006381333932"_s), // wrong check digit: Code 128
        labelRow(std::nullopt, u"a+b.c%d$e f"_s),
        labelRow(std::nullopt, std::nullopt, u"SKU_9:b"_s, std::nullopt),
        labelRow(u"(01)ABC-xyz!?"_s),
        labelRow(u"12345678"_s),
        labelRow(std::nullopt, u"ABCDEFGHIJKLMNOP"_s),
    };
    const QList<ScannedSymbol> expected{{ean13, u"4006381333931"_s}, {ean13, u"5901234123457"_s}, {ean13, u"0012345678905"_s},
                                        {code128, u"4006381333932"_s}, {code128, u"a+b.c%d$e f"_s}, {code128, u"SKU_9:b"_s},
                                        {code128, u"(01)ABC-xyz!?"_s}, {code128, u"12345678"_s}, {code128, u"ABCDEFGHIJKLMNOP"_s}};
    for (const LabelSizePreset preset : {LabelSizePreset::standard381x212, LabelSizePreset::avery5167, LabelSizePreset::qr35}) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        expectEveryLabelScans(rows, configuration(preset), expected, 300);
    }
}

TEST(LabelScanTest, QrLabelsWithAccentsAndOtherScriptsAndLabelsOnLaterPagesScan) {
    QList<InventoryExportRow> rows;
    QList<ScannedSymbol> expected;
    for (const QString& value : {u"Café crème"_s, u"Ünïcödé € ½"_s, u"東京都 倉庫"_s, u"4006381333931"_s,
                                 u"sku-with-a-rather-long-value-0123456789"_s}) {
        rows.append(labelRow(std::nullopt, value));
        expected.append({qrCode, value});
    }
    for (const LabelSizePreset preset : {LabelSizePreset::qr35, LabelSizePreset::standard381x212}) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        expectEveryLabelScans(rows, configuration(preset, LabelCodeKind::qrCode), expected, 300);
    }
    rows.clear();
    expected.clear();
    for (int i = 0; i < 50; ++i) {
        rows.append(labelRow(std::nullopt, u"P%1-%2"_s.arg(i / 48 + 1).arg(i)));
        expected.append({code128, rows.last().inventoryCode.value()});
    }
    expectEveryLabelScans(rows, LabelPrintConfiguration(), expected, 300);
}
