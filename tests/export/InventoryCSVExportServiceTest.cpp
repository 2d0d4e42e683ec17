#include "export/InventoryCSVExportService.h"

#include "support/InventoryBuilders.h"
#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QTimeZone>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

using InventoryCSVExportServiceTest = LanguageTest<AppLanguage::french>;
using Dialect = InventoryCSVDialect;
const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");

/// The expected file: lines written out by hand (cells already separated and escaped).
QByteArray csv(Dialect dialect, const QStringList& lines) {
    const bool french = dialect == Dialect::frenchExcel;
    return (french ? bom : QByteArray()) + lines.join(french ? u"\r\n"_s : u"\n"_s).toUtf8();
}

const QString frenchDifferencesHeader =
    u"ID session;Nom session;Date inventaire;Source;ID produit externe;ID variation externe;ID local;Article;"
    u"Variation;SKU;Code-barres;Code inventaire;Categorie;Emplacement;Quantité de référence;Quantité comptée;"
    u"Écart;Statut;Note;Dernier scan"_s;

InventoryExportDocument differencesDocument() {
    InventoryExportRow pull;
    pull.sessionId = u"S1"_s, pull.sessionName = u"Printemps"_s, pull.inventoryDate = utc(2024, 5, 1, 8, 0, 0);
    pull.source = u"woocommerce"_s, pull.externalProductId = u"42"_s, pull.localItemId = u"L1"_s;
    pull.itemName = u"Pull, rouge"_s, pull.variantName = u"M"_s, pull.sku = u"PUL-1"_s, pull.barcode = u"0123"_s;
    pull.category = u"Vêtements"_s, pull.location = u"Réserve"_s, pull.referenceQuantity = 5;
    pull.countedQuantity = 2, pull.difference = -3, pull.status = InventoryExportRowStatus::difference;
    pull.note = u"Boîte \"A\"; rayon 3"_s, pull.lastScannedAt = utc(2024, 5, 1, 10, 15, 30, 750);
    InventoryExportRow bol;
    bol.itemName = u"Bol"_s, bol.difference = 7, bol.status = InventoryExportRowStatus::counted;
    bol.note = u"ligne 1\nligne 2"_s;
    InventoryExportRow same;
    same.itemName = u"Same"_s, same.difference = 0;
    return makeDocument({pull, bol, same}, u"Magasin"_s);
}

QList<WooCorrectionPreview> corrections() {
    const WooCorrectionPreview ready{QUuid(), QUuid(), std::nullopt, u"42"_s, u"43"_s, u"Pull; rouge"_s, u"M"_s,
                                     u"PUL-1"_s, u"0123"_s, 5, 6, 2, 2, -3, -4, WooCorrectionStatus::ready, true,
                                     u"Correction prête à envoyer."_s};
    WooCorrectionPreview bare;
    bare.status = WooCorrectionStatus::missingRemoteIdentifier, bare.itemName = u"Bol"_s, bare.countedQuantity = 0;
    return {ready, bare};
}

} // namespace

TEST_F(InventoryCSVExportServiceTest, EscapesOnlyWhatTheSeparatorQuotesAndLineBreaksNeed) {
    const std::tuple<QString, QChar, QString> cases[] = {
        {u"Boîte \"A\"; rayon 3"_s, u';', u"\"Boîte \"\"A\"\"; rayon 3\""_s},
        {u"Boîte \"A\" rayon 3"_s, u',', u"\"Boîte \"\"A\"\" rayon 3\""_s},
        {u"Pull, rouge"_s, u';', u"Pull, rouge"_s}, {u"cr\rhere"_s, u',', u"\"cr\rhere\""_s},
        {u"  =SUM(A1) "_s, u';', u"  =SUM(A1) "_s},
    };
    for (const auto& [text, separator, escaped] : cases) {
        EXPECT_EQ(InventoryCSVExportService::escape(text, separator), escaped) << text.toStdString();
    }
}

TEST_F(InventoryCSVExportServiceTest, DifferencesLargestFirstInBothDialects) {
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(differencesDocument(), std::nullopt, Dialect::frenchExcel),
              csv(Dialect::frenchExcel,
                  {frenchDifferencesHeader,
                   u";;0001-01-01T00:00:00Z;unknown;;;;Bol;;;;;;;;;7;Compté;\"ligne 1\nligne 2\";"_s,
                   u"S1;Printemps;2024-05-01T08:00:00Z;woocommerce;42;;L1;Pull, rouge;M;PUL-1;0123;;Vêtements;Réserve;"
                   u"5;2;-3;Écart;\"Boîte \"\"A\"\"; rayon 3\";2024-05-01T10:15:30Z"_s}));
    // The row without a location belongs to the source's location; the search is never applied.
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(differencesDocument(), u" Magasin "_s, Dialect::standard),
              csv(Dialect::standard,
                  {u"session_id,session_name,inventory_date,source,external_product_id,external_variant_id,"
                   u"local_item_id,item_name,variant_name,sku,barcode,inventory_code,category,location,"
                   u"reference_quantity,counted_quantity,difference,status,note,last_scanned_at"_s,
                   u",,0001-01-01T00:00:00Z,unknown,,,,Bol,,,,,,,,,7,counted,\"ligne 1\nligne 2\","_s}));
    const auto noDifferences = makeDocument({makeRow({.itemName = u"Same"_s, .difference = 0})});
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(noDifferences, std::nullopt, Dialect::frenchExcel),
              csv(Dialect::frenchExcel, {frenchDifferencesHeader}));
}

// The status is the 18th of 20 cells: the note and the last scan follow it, both empty here.
TEST_F(InventoryCSVExportServiceTest, StatusCellsFollowTheDialect) {
    const std::tuple<InventoryExportRowStatus, QString, QString, QString> cases[] = {
        {InventoryExportRowStatus::notCounted, u"not_counted"_s, u"Non compté"_s, u"Not counted"_s},
        {InventoryExportRowStatus::temporaryItem, u"temporary_item"_s, u"Article provisoire"_s, u"Temporary item"_s},
        {InventoryExportRowStatus::error, u"error"_s, u"Erreur"_s, u"Error"_s},
    };
    const auto line = [](InventoryExportRowStatus status, Dialect dialect) {
        const auto document = makeDocument({makeRow({.difference = 1, .status = status})});
        return QString::fromUtf8(InventoryCSVExportService::exportDifferencesCSV(document, std::nullopt, dialect));
    };
    for (const auto& [status, code, french, english] : cases) {
        EXPECT_TRUE(line(status, Dialect::frenchExcel).endsWith(u";1;"_s + french + u";;"_s)) << french.toStdString();
        EXPECT_TRUE(line(status, Dialect::standard).endsWith(u",1,"_s + code + u",,"_s)) << code.toStdString();
        useLanguage(AppLanguage::english);
        EXPECT_TRUE(line(status, Dialect::frenchExcel).endsWith(u";1;"_s + english + u";;"_s)) << english.toStdString();
        EXPECT_TRUE(line(status, Dialect::standard).endsWith(u",1,"_s + code + u",,"_s));
        useLanguage(AppLanguage::french);
    }
}

TEST_F(InventoryCSVExportServiceTest, CorrectionsInBothDialects) {
    EXPECT_EQ(InventoryCSVExportService::exportCorrectionsCSV(corrections(), Dialect::frenchExcel),
              csv(Dialect::frenchExcel,
                  {u"Selection;Statut;Article;Variation;SKU;Code-barres;ID produit;ID variation;Stock reference;"
                   u"Stock Woo actuel;Quantité comptée;Quantité proposée;Écart référence;Écart Woo actuel;Message"_s,
                   u"1;Prêt;\"Pull; rouge\";M;PUL-1;0123;42;43;5;6;2;2;-3;-4;Correction prête à envoyer."_s,
                   u"0;Identifiant Woo manquant;Bol;;;;;;;;0;;;;"_s}));
    const QString standardHeader =
        u"is_selected,status,item_name,variant_name,sku,barcode,external_product_id,external_variant_id,"
        u"reference_quantity,current_remote_quantity,counted_quantity,proposed_quantity,difference_from_reference,"
        u"difference_from_current_remote,message"_s;
    EXPECT_EQ(InventoryCSVExportService::exportCorrectionsCSV(corrections(), Dialect::standard),
              csv(Dialect::standard, {standardHeader, u"1,ready,Pull; rouge,M,PUL-1,0123,42,43,5,6,2,2,-3,-4,Correction prête à envoyer."_s,
                                      u"0,missingRemoteIdentifier,Bol,,,,,,,,0,,,,"_s}));
    EXPECT_EQ(InventoryCSVExportService::exportCorrectionsCSV({}, Dialect::standard), standardHeader.toUtf8());
    // The status names follow the application's language, the French headers stay.
    useLanguage(AppLanguage::english);
    const QByteArray englishStatuses = InventoryCSVExportService::exportCorrectionsCSV(corrections(), Dialect::frenchExcel);
    EXPECT_TRUE(englishStatuses.startsWith(QByteArray(bom + "Selection;Statut;")));
    EXPECT_TRUE(englishStatuses.contains("\r\n1;Ready;"));
    EXPECT_TRUE(englishStatuses.contains("\r\n0;Missing Woo ID;Bol;"));
}

TEST_F(InventoryCSVExportServiceTest, UpdateReportInBothDialects) {
    const WooUpdateResultLine sent{QUuid(), QUuid(), u"42"_s, std::nullopt, u"Pull"_s, 2, 2, true, u"OK, \"envoyé\""_s,
                                   utc(2024, 5, 1, 10, 15, 30, 999)};
    const WooUpdateResultLine failed{QUuid(), QUuid(), std::nullopt, std::nullopt, u"Bol"_s, -1, std::nullopt, false,
                                     std::nullopt, QDateTime(QDate(2024, 5, 1), QTime(12, 0, 5), QTimeZone(7200))};
    EXPECT_EQ(InventoryCSVExportService::iso8601Text(QDateTime()), QString());
    const QStringList rows{u"1,Pull,42,,2,2,\"OK, \"\"envoyé\"\"\",2024-05-01T10:15:30Z"_s,
                           u"0,Bol,,,-1,,,2024-05-01T10:00:05Z"_s};
    EXPECT_EQ(InventoryCSVExportService::exportUpdateReportCSV({sent, failed}, Dialect::standard),
              csv(Dialect::standard, QStringList{u"success,item_name,external_product_id,external_variant_id,"
                                                 u"requested_quantity,remote_quantity_after_update,message,updated_at"_s} +
                                         rows));
    EXPECT_EQ(InventoryCSVExportService::exportUpdateReportCSV({sent, failed}, Dialect::frenchExcel),
              csv(Dialect::frenchExcel,
                  {u"Succes;Article;ID produit;ID variation;Quantité demandée;Stock Woo après;Message;Date envoi"_s,
                   u"1;Pull;42;;2;2;\"OK, \"\"envoyé\"\"\";2024-05-01T10:15:30Z"_s,
                   u"0;Bol;;;-1;;;2024-05-01T10:00:05Z"_s}));
}

// The writer computes the calendar itself; Qt's own formatting is the reference for every year
// it can write (0001-9999), including instants just before 1970 and before the year 1.
TEST_F(InventoryCSVExportServiceTest, DatesMatchQtsCalendarBeforeAndAfterTheEpoch) {
    const QList<QDateTime> instants{utc(1969, 12, 31, 23, 59, 59, 500), utc(1970, 1, 1, 0, 0, 0, 1),
                                    utc(1600, 2, 29, 12, 0, 0),          utc(1900, 3, 1, 0, 0, 0),
                                    utc(2000, 2, 29, 23, 59, 59, 999),  utc(2024, 12, 31, 0, 0, 1),
                                    utc(1, 1, 1, 0, 0, 0),               utc(9999, 12, 31, 23, 59, 59)};
    for (const QDateTime& instant : instants) {
        EXPECT_EQ(InventoryCSVExportService::iso8601Text(instant), instant.toString(u"yyyy-MM-ddTHH:mm:ssZ"_s));
    }
    EXPECT_EQ(InventoryCSVExportService::iso8601Text(utc(1, 1, 1, 0, 0, 0).addSecs(-1)), u"0000-12-31T23:59:59Z"_s);
    EXPECT_EQ(InventoryCSVExportService::iso8601Text(utc(9999, 12, 31, 23, 59, 59).addSecs(1)),
              u"10000-01-01T00:00:00Z"_s);
}

TEST_F(InventoryCSVExportServiceTest, UnpairedSurrogatesFailTheEncoding) {
    const QString lone = u"abc"_s + QChar(0xD800) + u"def"_s;
    for (const QString& bad : {QString(QChar(0xDC00) + u"x"_s), QString(u"x"_s + QChar(0xDBFF))}) {
        auto document = differencesDocument();
        document.rows[1].note = bad;
        EXPECT_THROW(InventoryCSVExportService::exportDifferencesCSV(document, std::nullopt, Dialect::standard),
                     InventoryCSVExportError);
        auto previews = corrections();
        previews[1].message = bad;
        EXPECT_THROW(InventoryCSVExportService::exportCorrectionsCSV(previews, Dialect::frenchExcel), InventoryCSVExportError);
        WooUpdateResultLine line;
        line.itemName = bad;
        EXPECT_THROW(InventoryCSVExportService::exportUpdateReportCSV({line}, Dialect::standard), InventoryCSVExportError);
    }
    // A pair beyond U+FFFF is fine and written as four UTF-8 bytes.
    WooUpdateResultLine emoji;
    emoji.itemName = u"\U0001F600"_s;
    EXPECT_TRUE(InventoryCSVExportService::exportUpdateReportCSV({emoji}, Dialect::standard).contains("\n0,\xF0\x9F\x98\x80,"));
    try {
        InventoryCSVExportService::exportDifferencesCSV(makeDocument({makeRow({.itemName = lone, .difference = 1})}),
                                                        std::nullopt, Dialect::frenchExcel);
        ADD_FAILURE() << "no error";
    } catch (const InventoryCSVExportError& error) {
        EXPECT_EQ(error.errorCase(), InventoryCSVExportError::Case::encodingFailed);
        EXPECT_EQ(error.localizedDescription(), u"Impossible d'encoder le CSV en UTF-8."_s);
        useLanguage(AppLanguage::english);
        EXPECT_EQ(error.localizedDescription(), u"Unable to encode CSV as UTF-8."_s);
    }
}
