// End to end: the generated sheets are rasterised by poppler and read by the zbar scanner;
// every label must give back its value in the expected symbology.

#include "LabelScanSupport.h"
#include "LabelTestSupport.h"
#include "export/LabelPDFService.h"
#include "export/LabelSheetGeometry.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

struct Expected {
    QString value;
    QString symbology;
};

// Generates the sheet of `rows`, rasterises it at `dpi` and scans every label on its own.
void expectEveryLabelScans(const QList<InventoryExportRow>& rows,
                           const LabelPrintConfiguration& configuration, const QList<Expected>& expected,
                           int dpi) {
    const LabelPDFResult result =
        LabelPDFService().makeLabelPDF(rows, nullptr, configuration, AppLanguage::french);
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
        SCOPED_TRACE(testing::Message() << "label " << i << " " << expected.at(i).value.toStdString()
                                        << " at " << dpi << " dpi");
        EXPECT_EQ(scanned.at(i), (QList<ScannedSymbol>{{expected.at(i).symbology, expected.at(i).value}}));
    }
}

const QString ean13 = u"EAN-13"_s;
const QString code128 = u"CODE-128"_s;
const QString qrCode = u"QR-Code"_s;

QList<InventoryExportRow> barcodeRows() {
    return {
        labelRow(u"4006381333931"_s, u"INV-1"_s, u"SKU-1"_s, u"Surligneur jaune"_s),
        labelRow(u"5901234123457"_s, {}, {},
                 u"Très long nom d'article qui dépasse la largeur de l'étiquette"_s, u"Bleu marine"_s),
        labelRow(u"0012345678905"_s),
        labelRow(u"9780306406157"_s),
        labelRow(u"4006381333932"_s), // wrong check digit: Code 128
        labelRow(std::nullopt, u"INV-2024/0042"_s),
        labelRow(std::nullopt, u"a+b.c%d$e f"_s),
        labelRow(std::nullopt, std::nullopt, u"SKU_9:b"_s, std::nullopt),
        labelRow(u"(01)ABC-xyz!?"_s),
        labelRow(u"12345678"_s),
        labelRow(std::nullopt, u"LOC-A1/B7"_s),
    };
}

const QList<Expected> barcodeExpected{
    {u"4006381333931"_s, ean13}, {u"5901234123457"_s, ean13},   {u"0012345678905"_s, ean13},
    {u"9780306406157"_s, ean13}, {u"4006381333932"_s, code128}, {u"INV-2024/0042"_s, code128},
    {u"a+b.c%d$e f"_s, code128}, {u"SKU_9:b"_s, code128},       {u"(01)ABC-xyz!?"_s, code128},
    {u"12345678"_s, code128},    {u"LOC-A1/B7"_s, code128},
};

QList<InventoryExportRow> qrRows() {
    return {
        labelRow(std::nullopt, u"Café crème"_s),
        labelRow(u"Ünïcödé € ½"_s),
        labelRow(u"東京都 倉庫"_s),
        labelRow(u"4006381333931"_s),
        labelRow(std::nullopt, u"INV-2024/0042"_s),
        labelRow(std::nullopt, std::nullopt, u"sku-with-a-rather-long-value-0123456789"_s),
    };
}

const QList<Expected> qrExpected{
    {u"Café crème"_s, qrCode},    {u"Ünïcödé € ½"_s, qrCode},
    {u"東京都 倉庫"_s, qrCode},   {u"4006381333931"_s, qrCode},
    {u"INV-2024/0042"_s, qrCode}, {u"sku-with-a-rather-long-value-0123456789"_s, qrCode},
};

} // namespace

TEST(LabelScanTest, BarcodeLabelsScanOnEveryPreset) {
    for (const LabelSizePreset preset :
         {LabelSizePreset::standard381x212, LabelSizePreset::avery5167, LabelSizePreset::qr35}) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        LabelPrintConfiguration configuration;
        configuration.sizePreset = preset;
        expectEveryLabelScans(barcodeRows(), configuration, barcodeExpected, 300);
    }
}

// Longer Code 128 values make modules of about 0.12 to 0.15 mm on the small presets: fine
// for a 600 dpi printer, below what 300 dpi can reproduce.
TEST(LabelScanTest, LongCode128ValuesScanAt600Dpi) {
    QList<InventoryExportRow> rows;
    QList<Expected> expected;
    for (const QString& value : {u"LOC-A1/BIN-07"_s, u"ABCDEFGHIJKLMNOP"_s, u"ABCDEFGHIJKLMNOPQRST"_s,
                                 u"abc-123/XYZ.456_def"_s, u"REF:2024-11-05/A"_s, u"x1y2z3w4v5u6t7"_s}) {
        rows.append(labelRow(std::nullopt, value));
        expected.append({value, code128});
    }
    for (const LabelSizePreset preset :
         {LabelSizePreset::standard381x212, LabelSizePreset::avery5167, LabelSizePreset::qr35}) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        LabelPrintConfiguration configuration;
        configuration.sizePreset = preset;
        configuration.drawsLabelBorder = preset != LabelSizePreset::avery5167;
        expectEveryLabelScans(rows, configuration, expected, 600);
    }
}

TEST(LabelScanTest, QrLabelsScanWithAccentsAndOtherScripts) {
    for (const LabelSizePreset preset : {LabelSizePreset::qr35, LabelSizePreset::standard381x212}) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        LabelPrintConfiguration configuration;
        configuration.codeKind = LabelCodeKind::qrCode;
        configuration.sizePreset = preset;
        expectEveryLabelScans(qrRows(), configuration, qrExpected, 300);
    }
}

TEST(LabelScanTest, LabelsOnLaterPagesScanToo) {
    QList<InventoryExportRow> rows;
    QList<Expected> expected;
    for (int i = 0; i < 50; ++i) {
        const QString value = u"P%1-%2"_s.arg(i / 48 + 1).arg(i);
        rows.append(labelRow(std::nullopt, value));
        expected.append({value, code128});
    }
    expectEveryLabelScans(rows, LabelPrintConfiguration(), expected, 300);
}
