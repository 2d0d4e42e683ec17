#include "export/InventoryCSVExportService.h"

#include "analysis/AnalysisTestSupport.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;

class InventoryCSVExportServiceTest : public test::AnalysisTest {};

const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");

// The expected file: cells written out by hand (already escaped), joined per dialect.
QByteArray csvBytes(InventoryCSVDialect dialect, const QList<QStringList>& lines) {
    const bool french = dialect == InventoryCSVDialect::frenchExcel;
    QStringList joined;
    for (const QStringList& cells : lines) {
        joined.append(cells.join(french ? u';' : u','));
    }
    return (french ? bom : QByteArray()) + joined.join(french ? u"\r\n"_s : u"\n"_s).toUtf8();
}

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

const QStringList frenchDifferencesHeader{u"ID session"_s,
                                          u"Nom session"_s,
                                          u"Date inventaire"_s,
                                          u"Source"_s,
                                          u"ID produit externe"_s,
                                          u"ID variation externe"_s,
                                          u"ID local"_s,
                                          u"Article"_s,
                                          u"Variation"_s,
                                          u"SKU"_s,
                                          u"Code-barres"_s,
                                          u"Code inventaire"_s,
                                          u"Categorie"_s,
                                          u"Emplacement"_s,
                                          u"Quantité de référence"_s,
                                          u"Quantité comptée"_s,
                                          u"Écart"_s,
                                          u"Statut"_s,
                                          u"Note"_s,
                                          u"Dernier scan"_s};
const QStringList standardDifferencesHeader{u"session_id"_s,
                                            u"session_name"_s,
                                            u"inventory_date"_s,
                                            u"source"_s,
                                            u"external_product_id"_s,
                                            u"external_variant_id"_s,
                                            u"local_item_id"_s,
                                            u"item_name"_s,
                                            u"variant_name"_s,
                                            u"sku"_s,
                                            u"barcode"_s,
                                            u"inventory_code"_s,
                                            u"category"_s,
                                            u"location"_s,
                                            u"reference_quantity"_s,
                                            u"counted_quantity"_s,
                                            u"difference"_s,
                                            u"status"_s,
                                            u"note"_s,
                                            u"last_scanned_at"_s};

InventoryExportDocument differencesDocument() {
    InventoryExportRow pull;
    pull.sessionId = u"S1"_s;
    pull.sessionName = u"Printemps"_s;
    pull.inventoryDate = utc(2024, 5, 1, 8, 0, 0);
    pull.source = u"woocommerce"_s;
    pull.externalProductId = u"42"_s;
    pull.localItemId = u"L1"_s;
    pull.itemName = u"Pull, rouge"_s;
    pull.variantName = u"M"_s;
    pull.sku = u"PUL-1"_s;
    pull.barcode = u"0123"_s;
    pull.category = u"Vêtements"_s;
    pull.location = u"Réserve"_s;
    pull.referenceQuantity = 5;
    pull.countedQuantity = 2;
    pull.difference = -3;
    pull.status = InventoryExportRowStatus::difference;
    pull.note = u"Boîte \"A\"; rayon 3"_s;
    pull.lastScannedAt = utc(2024, 5, 1, 10, 15, 30, 750);

    InventoryExportRow bol;
    bol.itemName = u"Bol"_s;
    bol.difference = 7;
    bol.status = InventoryExportRowStatus::counted;
    bol.note = u"ligne 1\nligne 2"_s;

    InventoryExportRow same;
    same.itemName = u"Same"_s;
    same.difference = 0;
    return test::makeDocument({pull, bol, same}, u"Magasin"_s);
}

TEST_F(InventoryCSVExportServiceTest, EscapesOnlyWhatTheSeparatorQuotesAndLineBreaksNeed) {
    const struct {
        QString text;
        QChar separator;
        QString escaped;
    } cases[] = {
        {u"Boîte \"A\"; rayon 3"_s, u';', u"\"Boîte \"\"A\"\"; rayon 3\""_s},
        {u"Boîte \"A\"; rayon 3"_s, u',', u"\"Boîte \"\"A\"\"; rayon 3\""_s},
        {u"Pull, rouge"_s, u';', u"Pull, rouge"_s},
        {u"Pull, rouge"_s, u',', u"\"Pull, rouge\""_s},
        {u"a;b"_s, u',', u"a;b"_s},
        {u"ligne\nsuite"_s, u';', u"\"ligne\nsuite\""_s},
        {u"cr\rhere"_s, u',', u"\"cr\rhere\""_s},
        {u"\""_s, u';', u"\"\"\"\""_s},
        {u"  =SUM(A1) "_s, u';', u"  =SUM(A1) "_s},
        {u"007"_s, u',', u"007"_s},
        {u""_s, u';', u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InventoryCSVExportService::escape(c.text, c.separator), c.escaped) << c.text.toStdString();
    }
}

TEST_F(InventoryCSVExportServiceTest, DifferencesInTheFrenchDialect) {
    const QByteArray expected =
        csvBytes(InventoryCSVDialect::frenchExcel, {frenchDifferencesHeader,
                                                    {u""_s,
                                                     u""_s,
                                                     u"0001-01-01T00:00:00Z"_s,
                                                     u"unknown"_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u"Bol"_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u""_s,
                                                     u"7"_s,
                                                     u"Compté"_s,
                                                     u"\"ligne 1\nligne 2\""_s,
                                                     u""_s},
                                                    {u"S1"_s,
                                                     u"Printemps"_s,
                                                     u"2024-05-01T08:00:00Z"_s,
                                                     u"woocommerce"_s,
                                                     u"42"_s,
                                                     u""_s,
                                                     u"L1"_s,
                                                     u"Pull, rouge"_s,
                                                     u"M"_s,
                                                     u"PUL-1"_s,
                                                     u"0123"_s,
                                                     u""_s,
                                                     u"Vêtements"_s,
                                                     u"Réserve"_s,
                                                     u"5"_s,
                                                     u"2"_s,
                                                     u"-3"_s,
                                                     u"Écart"_s,
                                                     u"\"Boîte \"\"A\"\"; rayon 3\""_s,
                                                     u"2024-05-01T10:15:30Z"_s}});
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(differencesDocument(), std::nullopt,
                                                              InventoryCSVDialect::frenchExcel),
              expected);
}

TEST_F(InventoryCSVExportServiceTest, DifferencesInTheStandardDialectOfOneLocation) {
    const QByteArray expected = csvBytes(InventoryCSVDialect::standard, {standardDifferencesHeader,
                                                                         {u""_s,
                                                                          u""_s,
                                                                          u"0001-01-01T00:00:00Z"_s,
                                                                          u"unknown"_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u"Bol"_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u""_s,
                                                                          u"7"_s,
                                                                          u"counted"_s,
                                                                          u"\"ligne 1\nligne 2\""_s,
                                                                          u""_s}});
    // The row without a location belongs to the source's location; the search is never applied.
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(differencesDocument(), u" Magasin "_s,
                                                              InventoryCSVDialect::standard),
              expected);
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(differencesDocument(), std::nullopt,
                                                              InventoryCSVDialect::standard)
                  .count('\n'),
              3); // header, two rows, the LF inside the quoted note; none at the end
}

TEST_F(InventoryCSVExportServiceTest, StatusCellsOfTheSixRowStatuses) {
    const struct {
        InventoryExportRowStatus status;
        QString code;
        QString french;
        QString english;
    } cases[] = {
        {InventoryExportRowStatus::counted, u"counted"_s, u"Compté"_s, u"Counted"_s},
        {InventoryExportRowStatus::notCounted, u"not_counted"_s, u"Non compté"_s, u"Not counted"_s},
        {InventoryExportRowStatus::difference, u"difference"_s, u"Écart"_s, u"Difference"_s},
        {InventoryExportRowStatus::unknownCode, u"unknown_code"_s, u"Code inconnu"_s, u"Unknown code"_s},
        {InventoryExportRowStatus::temporaryItem, u"temporary_item"_s, u"Article provisoire"_s,
         u"Temporary item"_s},
        {InventoryExportRowStatus::error, u"error"_s, u"Erreur"_s, u"Error"_s},
    };
    // The status is the 18th of 20 cells: two cells (note, last scan) follow it, both empty here.
    const auto statusCell = [](InventoryExportRowStatus status, InventoryCSVDialect dialect) {
        const auto document = test::makeDocument({test::makeRow({.difference = 1, .status = status})});
        const QString text = QString::fromUtf8(
            InventoryCSVExportService::exportDifferencesCSV(document, std::nullopt, dialect));
        const QString line =
            text.split(dialect == InventoryCSVDialect::frenchExcel ? u"\r\n"_s : u"\n"_s).last();
        const QStringList cells = line.split(dialect == InventoryCSVDialect::frenchExcel ? u';' : u',');
        return cells.size() == 20 ? cells.at(17) : u"<%1 cells>"_s.arg(cells.size());
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        test::setLanguage(AppLanguage::french);
        EXPECT_EQ(statusCell(c.status, InventoryCSVDialect::frenchExcel), c.french);
        EXPECT_EQ(statusCell(c.status, InventoryCSVDialect::standard), c.code);
        test::setLanguage(AppLanguage::english);
        EXPECT_EQ(statusCell(c.status, InventoryCSVDialect::frenchExcel), c.english);
        EXPECT_EQ(statusCell(c.status, InventoryCSVDialect::standard), c.code);
    }
}

TEST_F(InventoryCSVExportServiceTest, EmptyTablesAreTheHeaderLineAlone) {
    const auto noDifferences = test::makeDocument({test::makeRow({.itemName = u"Same"_s, .difference = 0})});
    EXPECT_EQ(InventoryCSVExportService::exportDifferencesCSV(noDifferences, std::nullopt,
                                                              InventoryCSVDialect::frenchExcel),
              csvBytes(InventoryCSVDialect::frenchExcel, {frenchDifferencesHeader}));
    EXPECT_EQ(InventoryCSVExportService::exportCorrectionsCSV({}, InventoryCSVDialect::standard),
              QByteArrayLiteral(
                  "is_selected,status,item_name,variant_name,sku,barcode,external_product_id,"
                  "external_variant_id,reference_quantity,current_remote_quantity,counted_quantity,"
                  "proposed_quantity,difference_from_reference,difference_from_current_remote,message"));
    EXPECT_EQ(
        InventoryCSVExportService::exportUpdateReportCSV({}, InventoryCSVDialect::frenchExcel),
        bom + u"Succes;Article;ID produit;ID variation;Quantité demandée;Stock Woo après;Message;Date envoi"_s
                  .toUtf8());
}

QList<WooCorrectionPreview> corrections() {
    WooCorrectionPreview ready;
    ready.isSelected = true;
    ready.status = WooCorrectionStatus::ready;
    ready.itemName = u"Pull; rouge"_s;
    ready.variantName = u"M"_s;
    ready.sku = u"PUL-1"_s;
    ready.barcode = u"0123"_s;
    ready.externalProductId = u"42"_s;
    ready.externalVariantId = u"43"_s;
    ready.referenceQuantityAtInventory = 5;
    ready.currentRemoteQuantity = 6;
    ready.countedQuantity = 2;
    ready.proposedQuantity = 2;
    ready.differenceFromReference = -3;
    ready.differenceFromCurrentRemote = -4;
    ready.message = u"Correction prête à envoyer."_s;

    WooCorrectionPreview bare;
    bare.status = WooCorrectionStatus::missingRemoteIdentifier;
    bare.itemName = u"Bol"_s;
    bare.countedQuantity = 0;
    return {ready, bare};
}

TEST_F(InventoryCSVExportServiceTest, CorrectionsInBothDialects) {
    const QStringList frenchHeader{u"Selection"_s,
                                   u"Statut"_s,
                                   u"Article"_s,
                                   u"Variation"_s,
                                   u"SKU"_s,
                                   u"Code-barres"_s,
                                   u"ID produit"_s,
                                   u"ID variation"_s,
                                   u"Stock reference"_s,
                                   u"Stock Woo actuel"_s,
                                   u"Quantité comptée"_s,
                                   u"Quantité proposée"_s,
                                   u"Écart référence"_s,
                                   u"Écart Woo actuel"_s,
                                   u"Message"_s};
    EXPECT_EQ(
        InventoryCSVExportService::exportCorrectionsCSV(corrections(), InventoryCSVDialect::frenchExcel),
        csvBytes(InventoryCSVDialect::frenchExcel,
                 {frenchHeader,
                  {u"1"_s, u"Prêt"_s, u"\"Pull; rouge\""_s, u"M"_s, u"PUL-1"_s, u"0123"_s, u"42"_s, u"43"_s,
                   u"5"_s, u"6"_s, u"2"_s, u"2"_s, u"-3"_s, u"-4"_s, u"Correction prête à envoyer."_s},
                  {u"0"_s, u"Identifiant Woo manquant"_s, u"Bol"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                   u""_s, u"0"_s, u""_s, u""_s, u""_s, u""_s}}));

    // The status names follow the application's language, the French headers stay.
    test::setLanguage(AppLanguage::english);
    const QByteArray englishStatuses =
        InventoryCSVExportService::exportCorrectionsCSV(corrections(), InventoryCSVDialect::frenchExcel);
    EXPECT_TRUE(englishStatuses.contains("\r\n1;Ready;"));
    EXPECT_TRUE(englishStatuses.contains("\r\n0;Missing Woo ID;Bol;"));
    EXPECT_TRUE(englishStatuses.startsWith(QByteArray(bom + "Selection;Statut;")));

    EXPECT_EQ(
        InventoryCSVExportService::exportCorrectionsCSV(corrections(), InventoryCSVDialect::standard),
        csvBytes(InventoryCSVDialect::standard,
                 {{u"is_selected"_s, u"status"_s, u"item_name"_s, u"variant_name"_s, u"sku"_s, u"barcode"_s,
                   u"external_product_id"_s, u"external_variant_id"_s, u"reference_quantity"_s,
                   u"current_remote_quantity"_s, u"counted_quantity"_s, u"proposed_quantity"_s,
                   u"difference_from_reference"_s, u"difference_from_current_remote"_s, u"message"_s},
                  {u"1"_s, u"ready"_s, u"Pull; rouge"_s, u"M"_s, u"PUL-1"_s, u"0123"_s, u"42"_s, u"43"_s,
                   u"5"_s, u"6"_s, u"2"_s, u"2"_s, u"-3"_s, u"-4"_s, u"Correction prête à envoyer."_s},
                  {u"0"_s, u"missingRemoteIdentifier"_s, u"Bol"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                   u""_s, u"0"_s, u""_s, u""_s, u""_s, u""_s}}));
}

TEST_F(InventoryCSVExportServiceTest, UpdateReportInBothDialects) {
    WooUpdateResultLine sent;
    sent.success = true;
    sent.itemName = u"Pull"_s;
    sent.externalProductId = u"42"_s;
    sent.requestedQuantity = 2;
    sent.remoteQuantityAfterUpdate = 2;
    sent.message = u"OK, \"envoyé\""_s;
    sent.updatedAt = utc(2024, 5, 1, 10, 15, 30, 999);
    WooUpdateResultLine failed;
    failed.itemName = u"Bol"_s;
    failed.requestedQuantity = -1;
    failed.updatedAt = QDateTime(QDate(2024, 5, 1), QTime(12, 0, 5), QTimeZone(7200));
    const QList<WooUpdateResultLine> lines{sent, failed};

    EXPECT_EQ(InventoryCSVExportService::exportUpdateReportCSV(lines, InventoryCSVDialect::frenchExcel),
              csvBytes(InventoryCSVDialect::frenchExcel,
                       {{u"Succes"_s, u"Article"_s, u"ID produit"_s, u"ID variation"_s,
                         u"Quantité demandée"_s, u"Stock Woo après"_s, u"Message"_s, u"Date envoi"_s},
                        {u"1"_s, u"Pull"_s, u"42"_s, u""_s, u"2"_s, u"2"_s, u"\"OK, \"\"envoyé\"\"\""_s,
                         u"2024-05-01T10:15:30Z"_s},
                        {u"0"_s, u"Bol"_s, u""_s, u""_s, u"-1"_s, u""_s, u""_s, u"2024-05-01T10:00:05Z"_s}}));
    EXPECT_EQ(
        InventoryCSVExportService::exportUpdateReportCSV(lines, InventoryCSVDialect::standard),
        csvBytes(InventoryCSVDialect::standard,
                 {{u"success"_s, u"item_name"_s, u"external_product_id"_s, u"external_variant_id"_s,
                   u"requested_quantity"_s, u"remote_quantity_after_update"_s, u"message"_s, u"updated_at"_s},
                  {u"1"_s, u"Pull"_s, u"42"_s, u""_s, u"2"_s, u"2"_s, u"\"OK, \"\"envoyé\"\"\""_s,
                   u"2024-05-01T10:15:30Z"_s},
                  {u"0"_s, u"Bol"_s, u""_s, u""_s, u"-1"_s, u""_s, u""_s, u"2024-05-01T10:00:05Z"_s}}));
}

TEST_F(InventoryCSVExportServiceTest, DatesAreUtcToTheSecond) {
    const struct {
        QDateTime instant;
        QString text;
    } cases[] = {
        {utc(2024, 5, 1, 10, 15, 30), u"2024-05-01T10:15:30Z"_s},
        {utc(2024, 2, 29, 23, 59, 59, 999), u"2024-02-29T23:59:59Z"_s},
        {utc(1969, 12, 31, 23, 59, 59, 500), u"1969-12-31T23:59:59Z"_s},
        {utc(2000, 3, 1, 0, 0, 0), u"2000-03-01T00:00:00Z"_s},
        {distantPast(), u"0001-01-01T00:00:00Z"_s},
        {QDateTime(QDate(2024, 1, 1), QTime(0, 30), QTimeZone(3600)), u"2023-12-31T23:30:00Z"_s},
        {QDateTime(), u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InventoryCSVExportService::iso8601Text(c.instant), c.text) << c.text.toStdString();
    }
}

TEST_F(InventoryCSVExportServiceTest, UnpairedSurrogatesFailTheEncoding) {
    const QString lone = u"abc"_s + QChar(0xD800) + u"def"_s;
    const QString lowAlone = QChar(0xDC00) + u"x"_s;
    const QString highAtEnd = u"x"_s + QChar(0xDBFF);

    for (const QString& bad : {lone, lowAlone, highAtEnd}) {
        auto document = differencesDocument();
        document.rows[1].note = bad;
        EXPECT_THROW(InventoryCSVExportService::exportDifferencesCSV(document, std::nullopt,
                                                                     InventoryCSVDialect::standard),
                     InventoryCSVExportError);
        auto previews = corrections();
        previews[1].message = bad;
        EXPECT_THROW(
            InventoryCSVExportService::exportCorrectionsCSV(previews, InventoryCSVDialect::frenchExcel),
            InventoryCSVExportError);
        WooUpdateResultLine line;
        line.itemName = bad;
        EXPECT_THROW(InventoryCSVExportService::exportUpdateReportCSV({line}, InventoryCSVDialect::standard),
                     InventoryCSVExportError);
    }

    // A pair beyond U+FFFF is fine and written as four UTF-8 bytes.
    WooUpdateResultLine emoji;
    emoji.itemName = u"\U0001F600"_s;
    EXPECT_TRUE(InventoryCSVExportService::exportUpdateReportCSV({emoji}, InventoryCSVDialect::standard)
                    .contains("\n0,\xF0\x9F\x98\x80,"));

    try {
        InventoryCSVExportService::exportDifferencesCSV(
            test::makeDocument({test::makeRow({.itemName = lone, .difference = 1})}), std::nullopt,
            InventoryCSVDialect::frenchExcel);
        FAIL() << "no error";
    } catch (const InventoryCSVExportError& error) {
        EXPECT_EQ(error.errorCase(), InventoryCSVExportError::Case::encodingFailed);
        EXPECT_EQ(error.localizedDescription(), u"Impossible d'encoder le CSV en UTF-8."_s);
        test::setLanguage(AppLanguage::english);
        EXPECT_EQ(error.localizedDescription(), u"Unable to encode CSV as UTF-8."_s);
    }
}

} // namespace
} // namespace tallybrook
