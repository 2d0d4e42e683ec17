#include "document/TallybrookFileDecoder.h"

#include "DocumentTestSupport.h"
#include "document/TextRules.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

InventoryExportDocument read(const QByteArray& bytes) {
    return TallybrookFileDecoder::readDocument(bytes);
}

// The one row of a document whose rows array holds `rowJson`.
InventoryExportRow readRow(const std::string& rowJson) {
    const InventoryExportDocument document = read(documentJson(R"("rows":[)" + rowJson + "]"));
    EXPECT_EQ(document.rows.size(), 1);
    return document.rows.value(0);
}

// Decodes and validates; returns the error or fails the test when none is thrown.
TallybrookImportError decodeError(const QByteArray& bytes) {
    try {
        TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
    } catch (const TallybrookImportError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << bytes.left(200).toStdString();
    return TallybrookImportError::invalidFormat(QString());
}

class TallybrookFileDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { useLanguage(AppLanguage::english); }
};

} // namespace

TEST_F(TallybrookFileDecoderTest, MinimalDocumentTakesEveryDefault) {
    const TallybrookDecodedInventory decoded =
        TallybrookFileDecoder().decodeInventoryDocumentWithValidation(documentJson(""));
    const InventoryExportDocument& document = decoded.document;
    EXPECT_EQ(document.format, u"com.tallybrook.inventory-export"_s);
    EXPECT_EQ(document.formatVersion, 1);
    EXPECT_EQ(document.exportedAt, distantPast());
    EXPECT_EQ(document.appName, u"Tallybrook"_s);
    EXPECT_EQ(document.appVersion, std::nullopt);
    EXPECT_EQ(document.deviceName, std::nullopt);
    EXPECT_EQ(document.source, InventoryExportSource::unknown());
    EXPECT_EQ(document.session.id, QString::fromLatin1(sessionUuid));
    EXPECT_EQ(document.session.name, u"Inventaire"_s);
    EXPECT_EQ(document.session.status, u"unknown"_s);
    EXPECT_EQ(document.session.createdAt, distantPast());
    EXPECT_EQ(document.session.inventoryDate, distantPast());
    EXPECT_EQ(document.session.startedAt, std::nullopt);
    EXPECT_EQ(document.summary, InventoryExportSummary::empty());
    EXPECT_TRUE(document.rows.isEmpty());
    EXPECT_TRUE(document.unknownCodes.isEmpty());
    EXPECT_TRUE(document.temporaryItems.isEmpty());
    EXPECT_TRUE(document.scanAliasesCreated.isEmpty());
    EXPECT_TRUE(decoded.validation.warnings.isEmpty());
}

TEST_F(TallybrookFileDecoderTest, NullKeysTakeTheirDefaults) {
    const InventoryExportDocument document = read(QByteArrayLiteral(
        R"({"format":null,"formatVersion":null,"exportedAt":null,"appName":null,"appVersion":null,)"
        R"("deviceName":null,"source":null,"session":{"id":null,"name":null,"status":null,"createdAt":null,)"
        R"("inventoryDate":null},"summary":null,"rows":null,"unknownCodes":null,"temporaryItems":null,)"
        R"("scanAliasesCreated":null})"));
    InventoryExportDocument expected;
    EXPECT_EQ(document, expected);
}

TEST_F(TallybrookFileDecoderTest, ReadsEveryDocumentFieldInCamelAndSnakeCase) {
    const std::string camel =
        R"({"format":"com.tallybrook.inventory-session","formatVersion":1,"exportedAt":"2024-03-18T18:05:00Z",)"
        R"("appName":"Tallybrook Scan","appVersion":"2.4.1","deviceName":"iPhone de Lucie",)"
        R"("source":{"type":"woocommerce","displayName":"Boutique","locationId":"7","locationName":"Réserve"},)"
        R"("session":{"id":"S1","name":"Inventaire mars","status":"closed","createdAt":"2024-03-18T07:00:00Z",)"
        R"("startedAt":"2024-03-18T08:00:00.500+01:00","closedAt":"2024-03-18T18:00:00Z",)"
        R"("inventoryDate":"2024-03-17T23:00:00Z","stockReferenceDate":"2024-03-18T06:59:59Z"},)"
        R"("summary":{"totalRows":1,"countedRows":2,"notCountedRows":3,"differenceRows":4,"unknownCodeRows":5,)"
        R"("temporaryItemRows":6,"errorRows":7,"totalCountedQuantity":8,"unknownCodesCount":9,)"
        R"("temporaryItemsCount":10,"scanAliasesCreatedCount":11},)"
        R"("rows":[{"status":"counted"}],"unknownCodes":[{"code":"X"}],"temporaryItems":[{"id":"T"}],)"
        R"("scanAliasesCreated":[{"id":"A"}]})";
    const std::string snake =
        R"({"format":"com.tallybrook.inventory-session","format_version":1,"exported_at":"2024-03-18T18:05:00Z",)"
        R"("app_name":"Tallybrook Scan","app_version":"2.4.1","device_name":"iPhone de Lucie",)"
        R"("source":{"type":"woocommerce","display_name":"Boutique","location_id":"7","location_name":"Réserve"},)"
        R"("session":{"id":"S1","name":"Inventaire mars","status":"closed","created_at":"2024-03-18T07:00:00Z",)"
        R"("started_at":"2024-03-18T08:00:00.500+01:00","closed_at":"2024-03-18T18:00:00Z",)"
        R"("inventory_date":"2024-03-17T23:00:00Z","stock_reference_date":"2024-03-18T06:59:59Z"},)"
        R"("summary":{"total_rows":1,"counted_rows":2,"not_counted_rows":3,"difference_rows":4,)"
        R"("unknown_code_rows":5,"temporary_item_rows":6,"error_rows":7,"total_counted_quantity":8,)"
        R"("unknown_codes_count":9,"temporary_items_count":10,"scan_aliases_created_count":11},)"
        R"("rows":[{"status":"counted"}],"unknown_codes":[{"code":"X"}],"temporary_items":[{"id":"T"}],)"
        R"("scan_aliases_created":[{"id":"A"}]})";
    const InventoryExportDocument document = read(QByteArray::fromStdString(camel));
    EXPECT_EQ(document, read(QByteArray::fromStdString(snake)));

    EXPECT_EQ(document.format, u"com.tallybrook.inventory-session"_s);
    EXPECT_EQ(document.exportedAt, utc(2024, 3, 18, 18, 5, 0));
    EXPECT_EQ(document.appVersion, u"2.4.1"_s);
    EXPECT_EQ(document.deviceName, u"iPhone de Lucie"_s);
    EXPECT_EQ(document.source,
              (InventoryExportSource{u"woocommerce"_s, u"Boutique"_s, u"7"_s, u"Réserve"_s}));
    EXPECT_EQ(document.session.startedAt, utc(2024, 3, 18, 7, 0, 0, 500));
    EXPECT_EQ(document.session.inventoryDate, utc(2024, 3, 17, 23, 0, 0));
    EXPECT_EQ(document.session.stockReferenceDate, utc(2024, 3, 18, 6, 59, 59));
    EXPECT_EQ(document.summary.totalRows, 1);
    EXPECT_EQ(document.summary.scanAliasesCreatedCount, 11);
    EXPECT_EQ(document.rows.size(), 1);
    EXPECT_EQ(document.unknownCodes.value(0).code, u"X"_s);
    EXPECT_EQ(document.temporaryItems.value(0).id, u"T"_s);
    EXPECT_EQ(document.scanAliasesCreated.value(0).id, u"A"_s);
}

TEST_F(TallybrookFileDecoderTest, SessionInventoryDateFallsBackToCreatedAt) {
    const auto session = [](const std::string& json) { return read(documentWithSession(json)).session; };
    EXPECT_EQ(session(R"({"id":"S","createdAt":"2024-03-18T07:00:00Z"})").inventoryDate,
              utc(2024, 3, 18, 7, 0, 0));
    EXPECT_EQ(session(R"({"id":"S","createdAt":"2024-03-18T07:00:00Z","inventoryDate":""})").inventoryDate,
              utc(2024, 3, 18, 7, 0, 0));
    EXPECT_EQ(session(R"({"id":"S","createdAt":"","inventoryDate":null})").inventoryDate, distantPast());
    EXPECT_EQ(session(R"({"id":"S","inventoryDate":"2024-03-17T00:00:00Z"})").createdAt, distantPast());
}

TEST_F(TallybrookFileDecoderTest, RowReadingRules) {
    struct Case {
        std::string json;
        std::function<void(InventoryExportRow&)> expect;
    };
    const Case cases[] = {
        {R"({})", [](InventoryExportRow&) {}},
        {R"({"status":"not_counted","sessionName":"  Inventaire  ","sku":" SKU-1 ","note":""})",
         [](InventoryExportRow& r) {
             r.status = InventoryExportRowStatus::notCounted;
             r.sessionName = u"  Inventaire  "_s; // only alias keys are trimmed
             r.sku = u" SKU-1 "_s;
             r.note = u""_s;
         }},
        {R"({"barcode":"  ","gtin":"  3760123456789 \n"})", [](auto& r) { r.barcode = u"3760123456789"_s; }},
        {R"({"bar_code":"111"})", [](auto& r) { r.barcode = u"111"_s; }},
        {R"({"barCode":"111"})", [](auto& r) { r.barcode = u"111"_s; }},
        {R"({"code_barres":"222"})", [](auto& r) { r.barcode = u"222"_s; }},
        {R"({"global_unique_id":"333"})", [](auto& r) { r.barcode = u"333"_s; }},
        {R"({"globalUniqueID":"444"})", [](auto& r) { r.barcode = u"444"_s; }},
        {R"({"upc":"U","ean":"E","gtin":"G"})", [](auto& r) { r.barcode = u"E"_s; }},
        {R"({"upc":"U","barcode":null,"codeBarres":""})", [](auto& r) { r.barcode = u"U"_s; }},
        {R"({"GTIN":"555","Barcode":"666"})", [](InventoryExportRow&) {}},
        {R"({"scanned_code":"LOC-9"})", [](auto& r) { r.inventoryCode = u"LOC-9"_s; }},
        {R"({"inventoryCode":" \t","scannedCode":" LOC-9 "})", [](auto& r) { r.inventoryCode = u"LOC-9"_s; }},
        {R"({"inventoryCode":"A","scannedCode":"B"})", [](auto& r) { r.inventoryCode = u"A"_s; }},
        {R"({"referenceQuantity":-3,"countedQuantity":0,"difference":9223372036854775807})",
         [](auto& r) {
             r.referenceQuantity = -3;
             r.countedQuantity = 0;
             r.difference = std::numeric_limits<qint64>::max();
         }},
        {R"({"difference":-9223372036854775808,"counted_quantity":-0})",
         [](auto& r) {
             r.difference = std::numeric_limits<qint64>::min();
             r.countedQuantity = 0;
         }},
        {R"({"lastScannedAt":"","inventoryDate":""})", [](InventoryExportRow&) {}},
        {R"({"last_scanned_at":"2024-03-18T10:15:30.120+01:00","inventory_date":"2024-03-18T00:00:00Z"})",
         [](auto& r) {
             r.lastScannedAt = utc(2024, 3, 18, 9, 15, 30, 120);
             r.inventoryDate = utc(2024, 3, 18, 0, 0, 0);
         }},
        {R"({"itemName":"Th\u00e9i\u00e8re \"Lumi\u00e8re\"","external_product_id":"1042",)"
         R"("external_variant_id":"1043","local_item_id":"it-1","variant_name":"Bleu","category":"Cuisine",)"
         R"("location":"Réserve","session_id":"S","session_name":"Mars","source":"woocommerce"})",
         [](auto& r) {
             r.itemName = u"Théière \"Lumière\""_s;
             r.externalProductId = u"1042"_s;
             r.externalVariantId = u"1043"_s;
             r.localItemId = u"it-1"_s;
             r.variantName = u"Bleu"_s;
             r.category = u"Cuisine"_s;
             r.location = u"Réserve"_s;
             r.sessionId = u"S"_s;
             r.sessionName = u"Mars"_s;
             r.source = u"woocommerce"_s;
         }},
        {R"({"unknownKey":[1,{"deep":[null,true]}],"status":"unknown_code","Status":"nonsense"})",
         [](auto& r) { r.status = InventoryExportRowStatus::unknownCode; }},
        // Repeated keys, also after snake_case conversion: the last occurrence wins.
        {R"({"session_id":"A","sessionId":"B","status":"counted","status":"difference"})",
         [](auto& r) {
             r.sessionId = u"B"_s;
             r.status = InventoryExportRowStatus::difference;
         }},
        {R"({"sessionId":"B","session_id":"A"})", [](auto& r) { r.sessionId = u"A"_s; }},
        {R"({"sku":"X","sku":null})", [](InventoryExportRow&) {}},
        {R"({"barcode":"111","barcode":null,"ean":"222"})", [](auto& r) { r.barcode = u"222"_s; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        InventoryExportRow expected;
        c.expect(expected);
        EXPECT_EQ(readRow(c.json), expected);
    }
}

TEST_F(TallybrookFileDecoderTest, EveryRowStatusRawValueIsRead) {
    for (const InventoryExportRowStatus status : allInventoryExportRowStatuses) {
        const std::string json = R"({"status":")" + rawValue(status).toStdString() + R"("})";
        EXPECT_EQ(readRow(json).status, status);
    }
}

TEST_F(TallybrookFileDecoderTest, UnknownCodesTemporaryItemsAndAliasesTakeDefaults) {
    const QByteArray bytes = documentJson(R"("unknownCodes":[{}],"temporaryItems":[{},{"id":""}],)"
                                          R"("scanAliasesCreated":[{"code":"C"}])");
    const InventoryExportDocument first = read(bytes);
    EXPECT_EQ(first.unknownCodes.value(0), InventoryExportUnknownCode());

    const InventoryExportTemporaryItem& item = first.temporaryItems.value(0);
    EXPECT_EQ(item.provisionalName, u"Article provisoire"_s);
    EXPECT_EQ(item.status, u"pending"_s);
    EXPECT_EQ(item.quantity, 0);
    EXPECT_EQ(item.createdAt, distantPast());
    EXPECT_TRUE(parseUuidText(item.id)) << item.id.toStdString();
    EXPECT_EQ(item.id, item.id.toUpper());
    EXPECT_EQ(first.temporaryItems.value(1).id, QString()); // an empty id is an id

    const InventoryExportScanAlias& alias = first.scanAliasesCreated.value(0);
    EXPECT_TRUE(parseUuidText(alias.id));
    EXPECT_EQ(alias.id, alias.id.toUpper());
    EXPECT_EQ(alias.source, u"unknown"_s);
    EXPECT_EQ(alias.itemLocalId, QString());
    EXPECT_EQ(alias.createdAt, distantPast());

    const InventoryExportDocument second = read(bytes);
    EXPECT_NE(second.temporaryItems.value(0).id, item.id);
    EXPECT_NE(second.scanAliasesCreated.value(0).id, alias.id);
}

TEST_F(TallybrookFileDecoderTest, ReadsTemporaryItemsAndUnknownCodesInSnakeCase) {
    const InventoryExportDocument document = read(documentJson(
        R"("temporary_items":[{"id":"T1","session_id":"S","scanned_code":"999","provisional_name":"Vase bleu",)"
        R"("quantity":2,"location":"Vitrine","note":"sans étiquette","photo_local_path":"/p.jpg",)"
        R"("created_at":"2024-03-18T10:00:00Z","status":"DONE"}],)"
        R"("unknown_codes":[{"session_id":"S","code":"123","quantity":-1,"last_scanned_at":"2024-03-18T10:00:00Z"}],)"
        R"("scan_aliases_created":[{"id":"A","code":"42","item_local_id":"it-7","item_name":"Bol","source":"scan"}])"));
    const InventoryExportTemporaryItem item = document.temporaryItems.value(0);
    EXPECT_EQ(item, (InventoryExportTemporaryItem{u"T1"_s, u"S"_s, u"999"_s, u"Vase bleu"_s, 2, u"Vitrine"_s,
                                                  u"sans étiquette"_s, u"/p.jpg"_s,
                                                  utc(2024, 3, 18, 10, 0, 0), u"DONE"_s}));
    EXPECT_EQ(document.unknownCodes.value(0),
              (InventoryExportUnknownCode{u"S"_s, u"123"_s, -1, std::nullopt, std::nullopt,
                                          utc(2024, 3, 18, 10, 0, 0)}));
    EXPECT_EQ(document.scanAliasesCreated.value(0),
              (InventoryExportScanAlias{u"A"_s, u"42"_s, u"it-7"_s, u"Bol"_s, u"scan"_s, distantPast()}));
}

TEST_F(TallybrookFileDecoderTest, SourceIsUnknownWhenNullAndNeedsItsTwoKeysWhenPresent) {
    EXPECT_EQ(read(documentJson(R"("source":null)")).source, InventoryExportSource::unknown());
    EXPECT_EQ(read(documentJson(R"("source":{"type":"shop","displayName":""})")).source,
              (InventoryExportSource{u"shop"_s, u""_s, std::nullopt, std::nullopt}));
}

TEST_F(TallybrookFileDecoderTest, ByteOrderMarkIsAccepted) {
    const QByteArray bytes = "\xEF\xBB\xBF" + documentJson(R"("rows":[{"status":"counted"}])");
    EXPECT_EQ(read(bytes).rows.size(), 1);
}

TEST_F(TallybrookFileDecoderTest, FailuresInEnglishAndFrench) {
    struct Case {
        QByteArray json;
        QString english;
        QString french;
    };
    const Case cases[] = {
        {documentJson(R"("source":{"type":"woocommerce"})"),
         u"Invalid Tallybrook format: Missing key 'displayName' in source"_s,
         u"Format Tallybrook invalide: Clé manquante 'displayName' dans source"_s},
        {documentJson(R"("source":{"displayName":"Boutique","type":null})"),
         u"Invalid Tallybrook format: Missing key 'type' in source"_s,
         u"Format Tallybrook invalide: Clé manquante 'type' dans source"_s},
        {QByteArrayLiteral(R"({"format":"com.tallybrook.inventory-export","formatVersion":1})"),
         u"The file does not contain a valid inventory session."_s,
         u"Le fichier ne contient pas de session d'inventaire valide."_s},
        {QByteArrayLiteral(
             R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":null})"),
         u"The file does not contain a valid inventory session."_s,
         u"Le fichier ne contient pas de session d'inventaire valide."_s},
        {documentJson(R"("rows":[{"lastScannedAt":"2024-03-18"}])"),
         u"Invalid Tallybrook format: rows[0].lastScannedAt: Invalid ISO8601 date: 2024-03-18"_s,
         u"Format Tallybrook invalide: rows[0].lastScannedAt: Date ISO8601 invalide: 2024-03-18"_s},
        {documentWithSession(R"({"id":"x","created_at":"2024-03-18T10:00:00"})"),
         u"Invalid Tallybrook format: session.createdAt: Invalid ISO8601 date: 2024-03-18T10:00:00"_s,
         u"Format Tallybrook invalide: session.createdAt: Date ISO8601 invalide: 2024-03-18T10:00:00"_s},
        {documentJson(R"("rows":[{},{"status":"Counted"}])"),
         u"Invalid Tallybrook format: rows[1].status: expected one of counted, not_counted, difference, "
         u"unknown_code, temporary_item, error, found \"Counted\""_s,
         u"Format Tallybrook invalide: rows[1].status: expected one of counted, not_counted, difference, "
         u"unknown_code, temporary_item, error, found \"Counted\""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        EXPECT_EQ(importErrorText(c.json, AppLanguage::english), c.english);
        EXPECT_EQ(importErrorText(c.json, AppLanguage::french), c.french);
    }
}

TEST_F(TallybrookFileDecoderTest, DecodingErrorsNameThePathAndWhatWasExpected) {
    struct Case {
        QByteArray json;
        QString detail;
    };
    const QByteArray thirteenRows = documentJson(R"("rows":[{},{},{},{},{},{},{},{},{},{},{},{},)"
                                                 R"({"countedQuantity":"3"}])");
    const Case cases[] = {
        {thirteenRows, u"rows[12].countedQuantity: expected a whole number, found \"3\""_s},
        {documentJson(R"("rows":[{"counted_quantity":3.0}])"),
         u"rows[0].countedQuantity: expected a whole number, found 3.0"_s},
        {documentJson(R"("rows":[{"referenceQuantity":3.5}])"),
         u"rows[0].referenceQuantity: expected a whole number, found 3.5"_s},
        {documentJson(R"("rows":[{"difference":1e2}])"),
         u"rows[0].difference: expected a whole number, found 100.0"_s},
        {documentJson(R"("rows":[{"difference":9223372036854775808}])"),
         u"rows[0].difference: expected a whole number within 64 bits, found 9223372036854775808"_s},
        {documentJson(R"("rows":[{"countedQuantity":true}])"),
         u"rows[0].countedQuantity: expected a whole number, found true"_s},
        {documentJson(R"("formatVersion":"1")"), u"formatVersion: expected a whole number, found \"1\""_s},
        {documentJson(R"("summary":{"total_rows":[]})"),
         u"summary.totalRows: expected a whole number, found an array"_s},
        {documentJson(R"("rows":[{"barcode":123}])"), u"rows[0].barcode: expected text, found 123"_s},
        {documentJson(R"("rows":[{"barcode":"","ean":false}])"),
         u"rows[0].ean: expected text, found false"_s},
        {documentJson(R"("rows":[{"lastScannedAt":1710756000}])"),
         u"rows[0].lastScannedAt: expected a date text (ISO 8601), found 1710756000"_s},
        {documentJson(R"("rows":[{"status":1}])"), u"rows[0].status: expected a row status text, found 1"_s},
        {documentJson(R"("rows":{})"), u"rows: expected an array, found an object"_s},
        {documentJson(R"("rows":[null])"), u"rows[0]: expected an object, found null"_s},
        {documentJson(R"("temporaryItems":[{"id":"T"},{"quantity":1.5}])"),
         u"temporaryItems[1].quantity: expected a whole number, found 1.5"_s},
        {documentJson(R"("scan_aliases_created":[{"id":7}])"),
         u"scanAliasesCreated[0].id: expected text, found 7"_s},
        {documentJson(R"("unknownCodes":[{"code":{}}])"),
         u"unknownCodes[0].code: expected text, found an object"_s},
        {documentJson(R"("source":"shop")"), u"source: expected an object, found \"shop\""_s},
        // The required keys are checked in field order: a bad type before a missing name.
        {documentJson(R"("source":{"type":5})"), u"source.type: expected text, found 5"_s},
        {documentJson(R"("source":{"displayName":5})"), u"Missing key 'type' in source"_s},
        {documentJson(R"("source":{"type":"shop","displayName":5})"),
         u"source.displayName: expected text, found 5"_s},
        {documentWithSession(R"("6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90")"),
         u"session: expected an object, found \"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90\""_s},
        {documentWithSession(R"({"id":42})"), u"session.id: expected text, found 42"_s},
        {QByteArrayLiteral(R"([{"format":"com.tallybrook.inventory-export"}])"),
         u"the document must be a JSON object, found an array"_s},
        {QByteArrayLiteral(R"("com.tallybrook.inventory-export")"),
         u"the document must be a JSON object, found \"com.tallybrook.inventory-export\""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        EXPECT_EQ(decodeError(c.json), TallybrookImportError::invalidFormat(c.detail));
    }
}

// Every field of every record given a value of the wrong JSON type fails, naming that field.
TEST_F(TallybrookFileDecoderTest, WrongTypeAnywhereFailsNamingTheField) {
    struct Record {
        std::string member; // top-level key holding the record
        bool inArray;       // the record sits in an array
        std::string prefix; // required members written before the probed one
        std::vector<std::pair<std::string, const char*>>
            fields; // key, kind: t(ext) i(nteger) d(ate) s(tatus)
    };
    const Record records[] = {
        {"",
         false,
         "",
         {{"format", "t"},
          {"formatVersion", "i"},
          {"exportedAt", "d"},
          {"appName", "t"},
          {"appVersion", "t"},
          {"deviceName", "t"}}},
        {"source", false, R"("type":"a","displayName":"b",)", {{"locationId", "t"}, {"locationName", "t"}}},
        {"session",
         false,
         "",
         {{"id", "t"},
          {"name", "t"},
          {"status", "t"},
          {"createdAt", "d"},
          {"startedAt", "d"},
          {"closedAt", "d"},
          {"inventoryDate", "d"},
          {"stockReferenceDate", "d"}}},
        {"summary",
         false,
         "",
         {{"totalRows", "i"},
          {"countedRows", "i"},
          {"notCountedRows", "i"},
          {"differenceRows", "i"},
          {"unknownCodeRows", "i"},
          {"temporaryItemRows", "i"},
          {"errorRows", "i"},
          {"totalCountedQuantity", "i"},
          {"unknownCodesCount", "i"},
          {"temporaryItemsCount", "i"},
          {"scanAliasesCreatedCount", "i"}}},
        {"rows",
         true,
         "",
         {{"sessionId", "t"},
          {"sessionName", "t"},
          {"inventoryDate", "d"},
          {"source", "t"},
          {"externalProductId", "t"},
          {"externalVariantId", "t"},
          {"localItemId", "t"},
          {"itemName", "t"},
          {"variantName", "t"},
          {"sku", "t"},
          {"barcode", "t"},
          {"barCode", "t"},
          {"codeBarres", "t"},
          {"ean", "t"},
          {"gtin", "t"},
          {"upc", "t"},
          {"globalUniqueId", "t"},
          {"globalUniqueID", "t"},
          {"inventoryCode", "t"},
          {"scannedCode", "t"},
          {"category", "t"},
          {"location", "t"},
          {"referenceQuantity", "i"},
          {"countedQuantity", "i"},
          {"difference", "i"},
          {"status", "s"},
          {"note", "t"},
          {"lastScannedAt", "d"}}},
        {"unknownCodes",
         true,
         "",
         {{"sessionId", "t"},
          {"code", "t"},
          {"quantity", "i"},
          {"location", "t"},
          {"note", "t"},
          {"lastScannedAt", "d"}}},
        {"temporaryItems",
         true,
         "",
         {{"id", "t"},
          {"sessionId", "t"},
          {"scannedCode", "t"},
          {"provisionalName", "t"},
          {"quantity", "i"},
          {"location", "t"},
          {"note", "t"},
          {"photoLocalPath", "t"},
          {"createdAt", "d"},
          {"status", "t"}}},
        {"scanAliasesCreated",
         true,
         "",
         {{"id", "t"},
          {"code", "t"},
          {"itemLocalId", "t"},
          {"itemName", "t"},
          {"source", "t"},
          {"createdAt", "d"}}},
    };
    int probes = 0;
    for (const Record& record : records) {
        for (const auto& [key, kind] : record.fields) {
            const std::string wrong = kind[0] == 'i' ? R"("7")" : "7";
            const std::string expected = kind[0] == 't'   ? "text"
                                         : kind[0] == 'i' ? "a whole number"
                                         : kind[0] == 'd' ? "a date text (ISO 8601)"
                                                          : "a row status text";
            const std::string member = "\"" + key + "\":" + wrong;
            QByteArray json;
            std::string path;
            if (record.member.empty()) {
                json = documentJson(member);
                path = key;
            } else if (record.member == "session") {
                json = documentWithSession("{" + member + "}");
                path = "session." + key;
            } else {
                const std::string object = "{" + record.prefix + member + "}";
                json = documentJson("\"" + record.member +
                                    "\":" + (record.inArray ? "[" + object + "]" : object));
                path = record.member + (record.inArray ? "[0]." : ".") + key;
            }
            SCOPED_TRACE(json.toStdString());
            EXPECT_EQ(decodeError(json), TallybrookImportError::invalidFormat(QString::fromStdString(
                                             path + ": expected " + expected + ", found " + wrong)));
            ++probes;
        }
    }
    EXPECT_EQ(probes, 6 + 2 + 8 + 11 + 28 + 6 + 10 + 6);
}

TEST_F(TallybrookFileDecoderTest, InvalidJsonSaysWhereItBroke) {
    struct Case {
        QByteArray json;
        QString detail;
    };
    const Case cases[] = {
        {QByteArrayLiteral("{\"format\":\"x\",\n \"rows\":[{\"status\":\"counted\" \"note\":1}]}"),
         u"invalid JSON at line 2, column 30 (byte 44), in rows[0]: expected ',' or '}'"_s},
        {QByteArrayLiteral("{\"session\":{\"id\":\"S\"},\"rows\":[1,2,]}"),
         u"invalid JSON at line 1, column 35 (byte 34), in rows[2]: unexpected character (a value was expected)"_s},
        {QByteArrayLiteral("{\"rows\":[{\"countedQuantity\":99999999999999999999}]}"),
         u"invalid JSON at line 1, column 29 (byte 28), in rows[0].countedQuantity: number does not fit in 64 bits"_s},
        {QByteArrayLiteral("{\"note\":\"\xC3\xA9t\xE9\"}"),
         u"invalid JSON at line 1, column 12 (byte 12), in note: invalid UTF-8 byte"_s},
        {QByteArrayLiteral("{\"session\":{}} trailing"),
         u"invalid JSON at line 1, column 16 (byte 15): unexpected content after the end of the document"_s},
        {QByteArrayLiteral("{\"session\":{\"id\":\"abc}}"),
         u"invalid JSON at line 1, column 18 (byte 17), in session.id: text is never closed (missing '\"')"_s},
        {QByteArrayLiteral("\xEF\xBB\xBF{\"a\" 1}"),
         u"invalid JSON at line 1, column 6 (byte 8), in a: expected ':' after the key"_s},
        {QByteArrayLiteral("{'format':1}"),
         u"invalid JSON at line 1, column 2 (byte 1): expected a key in double quotes"_s},
        {QByteArrayLiteral("{\"a\":tru}"),
         u"invalid JSON at line 1, column 6 (byte 5), in a: unexpected character"_s},
        {QByteArrayLiteral(""), u"the file is empty (no JSON value found)"_s},
        {QByteArrayLiteral(" \n\t "), u"the file is empty (no JSON value found)"_s},
        {QByteArrayLiteral("\xEF\xBB\xBF"), u"the file is empty (no JSON value found)"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        EXPECT_EQ(decodeError(c.json), TallybrookImportError::invalidFormat(c.detail));
    }
}

TEST_F(TallybrookFileDecoderTest, HostileInputsFailWithOneImportError) {
    const QByteArray valid =
        documentJson(R"("rows":[{"status":"counted","itemName":"Bol"}],"appName":"fin")");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString detailStart;
    };
    std::string nested = R"({"format":)";
    nested.append(10'000, '[');
    nested.append(10'000, ']');
    nested += "}";
    QByteArray latin1 = documentJson(R"("appName":"Caf)");
    latin1 += "\xE9\"}";
    const Case cases[] = {
        {"empty file", QByteArray(), u"the file is empty"_s},
        {"not UTF-8", QByteArrayLiteral("\xFF\xFE{\x00}\x00"),
         u"invalid JSON at line 1, column 1 (byte 0)"_s},
        {"Latin-1 text", latin1, u"invalid JSON at line 1"_s},
        {"truncated", valid.left(valid.size() / 2), u"invalid JSON at line 1"_s},
        {"truncated after a key", valid.left(valid.indexOf("rows") + 6), u"invalid JSON at line 1"_s},
        {"nesting", QByteArray::fromStdString(nested),
         u"invalid JSON at line 1, column 1034 (byte 1033), in format[0][0][0][0]…[0][0][0]: nesting too deep"_s},
        {"NUL byte", QByteArrayLiteral("{\"a\":\"x\x00y\"}"), u"invalid JSON at line 1"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TallybrookImportError error = decodeError(c.bytes);
        EXPECT_EQ(error.errorCase(), TallybrookImportError::Case::invalidFormat);
        EXPECT_TRUE(error.detail().startsWith(c.detailStart)) << error.detail().toStdString();
    }
}

TEST_F(TallybrookFileDecoderTest, HugeStringInsteadOfANumberGivesAShortMessage) {
    std::string json =
        R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":{"id":"S"},)"
        R"("rows":[{"countedQuantity":")";
    json.append(std::size_t(100) * 1024 * 1024, 'x');
    json += R"("}]})";
    const TallybrookImportError error = decodeError(QByteArray::fromStdString(json));
    EXPECT_TRUE(
        error.detail().startsWith(u"rows[0].countedQuantity: expected a whole number, found \"xxxx"_s));
    EXPECT_TRUE(error.detail().endsWith(u"…\""_s));
    EXPECT_LT(error.detail().size(), 200);
}

// The parser reads a little past the end of its input, so only bytes with spare room after
// their end are read in place; room before the data (left by remove(0, n)) does not count.
// (The parser is a library built without address checks, so an over-read would go unseen:
// the decision itself is checked.)
TEST_F(TallybrookFileDecoderTest, OnlyBytesWithRoomAfterTheirEndAreReadInPlace) {
    const QByteArray json = documentJson(R"("rows":[{"status":"counted"}],"appName":"A")");
    constexpr qsizetype spareRoom = 4096;

    QByteArray roomBefore(spareRoom + json.size(), Qt::Uninitialized);
    std::copy(json.cbegin(), json.cend(), roomBefore.begin() + spareRoom);
    roomBefore.remove(0, spareRoom);
    ASSERT_EQ(roomBefore, json);
    ASSERT_GE(roomBefore.capacity() - roomBefore.size(), spareRoom) << "the room must still be allocated";

    QByteArray roomAfter = json;
    roomAfter.reserve(json.size() + spareRoom);

    struct Case {
        const char* name;
        QByteArray bytes;
        bool inPlace;
    };
    const Case cases[] = {
        {"room before the data only", roomBefore, false},
        {"room after the end", roomAfter, true},
        {"exact size", QByteArray(json.constData(), json.size()), false},
        {"raw data of someone else", QByteArray::fromRawData(json.constData(), json.size()), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TallybrookFileDecoder::isReadableInPlace(c.bytes), c.inPlace);
        const InventoryExportDocument document = read(c.bytes);
        EXPECT_EQ(document.appName, u"A"_s);
        EXPECT_EQ(document.rows.size(), 1);
    }
}

TEST_F(TallybrookFileDecoderTest, DecodeInventoryDocumentDropsWarningsButStillValidates) {
    const QByteArray bytes = documentJson(R"("temporaryItems":[{"id":"T"}])");
    const TallybrookFileDecoder decoder;
    EXPECT_EQ(decoder.decodeInventoryDocument(bytes),
              decoder.decodeInventoryDocumentWithValidation(bytes).document);
    EXPECT_EQ(decoder.decodeInventoryDocumentWithValidation(bytes).validation.warnings.size(), 1);
    EXPECT_THROW(decoder.decodeInventoryDocument(documentWithSession(R"({"id":"abc"})")),
                 TallybrookImportError);
}

TEST_F(TallybrookFileDecoderTest, NestingUpToTheLimitIsReadAndOneLevelMoreIsReported) {
    const auto nestedDocument = [](std::size_t arrays) {
        std::string member = R"("ignored":)";
        member.append(arrays, '[');
        member.append(arrays, ']');
        return documentJson(member);
    };
    const std::size_t limit = TallybrookFileDecoder::maximumNesting;
    EXPECT_NO_THROW(read(nestedDocument(limit - 1))); // the document object is the first level
    const TallybrookImportError error = decodeError(nestedDocument(limit));
    EXPECT_TRUE(error.detail().endsWith(u"in ignored[0][0][0][0]…[0][0][0]: nesting too deep"_s))
        << error.detail().toStdString();
}

TEST_F(TallybrookFileDecoderTest, FixtureFiles) {
    const TallybrookFileDecoder decoder;
    const auto fixture = [](const char* name) {
        return fileBytes(sourcePath("tests/fixtures/") + QString::fromLatin1(name));
    };
    EXPECT_TRUE(decoder.decodeInventoryDocumentWithValidation(fixture("minimal.tallybrook"))
                    .validation.warnings.isEmpty());
    EXPECT_EQ(decodeError(fixture("invalid-row-status.tallybrook")),
              TallybrookImportError::invalidFormat(u"rows[1].status: expected one of counted, not_counted, "
                                                   u"difference, unknown_code, temporary_item, "
                                                   u"error, found \"Counted\""_s));
    EXPECT_EQ(decodeError(fixture("foreign-session-row.tallybrook")),
              TallybrookImportError::inconsistentSessionId());
    QStringList ids;
    for (const auto& warning :
         decoder.decodeInventoryDocumentWithValidation(fixture("temporary-items-warnings.tallybrook"))
             .validation.warnings) {
        ids.append(warning.id());
    }
    EXPECT_EQ(ids, (QStringList{u"legacy-temporary-T-1"_s,
                                u"foreign-temporary-T-3-A81C44F0-2E9B-4C3D-8B7A-6F5E4D3C2B1A"_s,
                                u"legacy-temporary-T-4"_s}));
}
