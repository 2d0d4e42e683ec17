#include "export/LabelPDFError.h"

#include "LabelTestSupport.h"
#include "export/LabelPDFService.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

TEST(LabelPDFErrorTest, DescriptionsInBothLanguages) {
    struct Case {
        LabelPDFError error;
        QString french;
        QString english;
    };
    const QString noRowsFrench =
        u"Aucune ligne affichée ne contient de code produit, code inventaire ou SKU exploitable."_s;
    const QString noRowsEnglish =
        u"No displayed row contains a usable product barcode, inventory code or SKU."_s;
    const std::vector<Case> cases{
        {LabelPDFError::noPrintableRows(LabelCodeKind::barcode), noRowsFrench, noRowsEnglish},
        {LabelPDFError::noPrintableRows(LabelCodeKind::qrCode), noRowsFrench, noRowsEnglish},
        {LabelPDFError::invalidBarcodeValue(u"Café"_s),
         u"Le code-barres Code 128 ne peut pas encoder cette valeur: Café. Essayez le QR Code."_s,
         u"The Code 128 barcode cannot encode this value: Café. Try QR Code."_s},
        {LabelPDFError::invalidPageGeometry(),
         u"La taille d'étiquette ou les marges ne permettent pas de créer une grille sur une page A4."_s,
         u"The label size or margins cannot create a grid on an A4 page."_s},
        {LabelPDFError::renderingFailed(), u"Impossible de générer le PDF d'étiquettes."_s,
         u"Unable to generate the label PDF."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english.toStdString());
        EXPECT_EQ(c.error.description(AppLanguage::french), c.french);
        EXPECT_EQ(c.error.description(AppLanguage::english), c.english);
        {
            const ScopedLanguage french(AppLanguage::french);
            EXPECT_EQ(c.error.localizedDescription(), c.french);
        }
        {
            const ScopedLanguage english(AppLanguage::english);
            EXPECT_EQ(c.error.localizedDescription(), c.english);
        }
    }
}

TEST(LabelPDFErrorTest, OptionsPageMessagesInBothLanguages) {
    EXPECT_EQ(labelsGeneratedMessage(28, 12, AppLanguage::french),
              u"28 étiquette(s) générée(s). 12 ligne(s) ignorée(s)."_s);
    EXPECT_EQ(labelsGeneratedMessage(28, 12, AppLanguage::english),
              u"28 label(s) generated. 12 row(s) skipped."_s);
    EXPECT_EQ(labelsGeneratedMessage(5, 0, AppLanguage::french), u"5 étiquette(s) générée(s)."_s);
    EXPECT_EQ(labelsGeneratedMessage(1, 1, AppLanguage::english),
              u"1 label(s) generated. 1 row(s) skipped."_s);
    EXPECT_EQ(labelsCountMessage(28, 40, AppLanguage::french),
              u"28 étiquettes générables sur 40 lignes affichées"_s);
    EXPECT_EQ(labelsCountMessage(28, 40, AppLanguage::english),
              u"28 printable labels out of 40 displayed rows"_s);
    for (const LabelCodeKind kind : allLabelCodeKinds) {
        EXPECT_EQ(labelsSkippedRowsMessage(kind, 12, AppLanguage::french),
                  u"12 ligne(s) seront ignorées faute de code produit, code inventaire ou SKU."_s);
        EXPECT_EQ(
            labelsSkippedRowsMessage(kind, 12, AppLanguage::english),
            u"12 row(s) will be skipped because they have no product barcode, inventory code or SKU."_s);
    }
}

TEST(LabelPDFErrorTest, KindsAndPresetsKeepTheirRawValuesAndTitles) {
    for (const LabelCodeKind kind : allLabelCodeKinds) {
        EXPECT_EQ(labelCodeKindFromRawValue(rawValue(kind)), kind);
    }
    EXPECT_EQ(rawValue(LabelCodeKind::qrCode), u"qrCode"_s);
    EXPECT_EQ(labelCodeKindFromRawValue(u"QRCode"), std::nullopt);
    EXPECT_EQ(title(LabelCodeKind::barcode, AppLanguage::french), u"Code-barres"_s);
    EXPECT_EQ(title(LabelCodeKind::barcode, AppLanguage::english), u"Barcode"_s);
    EXPECT_EQ(title(LabelCodeKind::qrCode, AppLanguage::english), u"QR Code"_s);

    const QStringList raw{u"standard381x212"_s, u"avery5167"_s, u"qr35"_s, u"custom"_s};
    for (size_t i = 0; i < allLabelSizePresets.size(); ++i) {
        EXPECT_EQ(rawValue(allLabelSizePresets[i]), raw.at(qsizetype(i)));
        EXPECT_EQ(labelSizePresetFromRawValue(raw.at(qsizetype(i))), allLabelSizePresets[i]);
    }
    EXPECT_EQ(title(LabelSizePreset::standard381x212), u"38,1 x 21,2 mm"_s);
    EXPECT_EQ(title(LabelSizePreset::avery5167), u"Avery 5167 - 44,45 x 12,7 mm"_s);
    EXPECT_EQ(title(LabelSizePreset::qr35), u"QR - 35 x 35 mm"_s);
    EXPECT_EQ(title(LabelSizePreset::custom, AppLanguage::french), u"Personnalisée"_s);
    EXPECT_EQ(title(LabelSizePreset::custom, AppLanguage::english), u"Custom"_s);
}
