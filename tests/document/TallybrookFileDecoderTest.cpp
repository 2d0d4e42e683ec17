#include "document/TallybrookFileDecoder.h"

#include "core/TextRules.h"
#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

constexpr char sessionUuid[] = "6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90";
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();

/// A valid document whose session object is `session`, with the given extra top-level members.
QByteArray documentWithSession(const std::string& session, const std::string& members = {}) {
    return QByteArray::fromStdString(R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":)" +
                                     session + (members.empty() ? "" : "," + members) + "}");
}

/// A valid document with the given extra top-level members.
QByteArray documentJson(const std::string& members) {
    return documentWithSession(std::string(R"({"id":")") + sessionUuid + R"("})", members);
}

InventoryExportDocument read(const QByteArray& bytes) {
    return TallybrookFileDecoder::readDocument(bytes);
}

InventoryExportRow readRow(const std::string& rowJson) {
    const InventoryExportDocument document = read(documentJson(R"("rows":[)" + rowJson + "]"));
    EXPECT_EQ(document.rows.size(), 1);
    return document.rows.value(0);
}

/// The error that decoding and validating `bytes` throws; fails the test when none is thrown.
TallybrookImportError decodeError(const QByteArray& bytes) {
    try {
        TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
    } catch (const TallybrookImportError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << bytes.left(200).toStdString();
    return TallybrookImportError::invalidFormat(QString());
}

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(TALLYBROOK_SOURCE_DIR "/tests/fixtures/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

/// The same JSON with an underscore before each capital that follows a small letter: camelCase
/// keys in snake_case (the values of the tests here have no such pair).
QByteArray snakeCaseKeys(const QByteArray& json) {
    return QString::fromUtf8(json).replace(QRegularExpression(u"([a-z])([A-Z])"_s), u"\\1_\\2"_s).toUtf8();
}

using TallybrookFileDecoderTest = LanguageTest<>;

} // namespace

TEST_F(TallybrookFileDecoderTest, AbsentAndNullKeysTakeTheirDefaults) {
    const TallybrookDecodedInventory decoded =
        TallybrookFileDecoder().decodeInventoryDocumentWithValidation(documentJson(""));
    InventoryExportDocument expected;
    expected.format = u"com.tallybrook.inventory-export"_s, expected.formatVersion = 1;
    expected.session.id = QString::fromLatin1(sessionUuid);
    EXPECT_EQ(decoded.document, expected);
    EXPECT_TRUE(decoded.validation.warnings.isEmpty());
    EXPECT_EQ(read(QByteArrayLiteral(
                  R"({"format":null,"formatVersion":null,"exportedAt":null,"appName":null,"appVersion":null,)"
                  R"("deviceName":null,"source":null,"session":{"id":null,"name":null,"status":null,)"
                  R"("createdAt":null,"inventoryDate":null},"summary":null,"rows":null,"unknownCodes":null,)"
                  R"("temporaryItems":null,"scanAliasesCreated":null})")),
              InventoryExportDocument());
    EXPECT_EQ(read("\xEF\xBB\xBF" + documentJson(R"("rows":[{}])")).rows.size(), 1) << "byte order mark";
}

TEST_F(TallybrookFileDecoderTest, ReadsEveryFieldInCamelAndSnakeCase) {
    const QByteArray camel = QByteArrayLiteral(
        R"({"format":"com.tallybrook.inventory-session","formatVersion":1,"exportedAt":"2024-03-18T18:05:00Z",)"
        R"("appName":"Tallybrook Scan","appVersion":"2.4.1","deviceName":"Phone de Lucie",)"
        R"("source":{"type":"woocommerce","displayName":"Boutique","locationId":"7","locationName":"Réserve"},)"
        R"("session":{"id":"S1","name":"Inventaire mars","status":"closed","createdAt":"2024-03-18T07:00:00Z",)"
        R"("startedAt":"2024-03-18T08:00:00.500+01:00","closedAt":"2024-03-18T18:00:00Z",)"
        R"("inventoryDate":"2024-03-17T23:00:00Z","stockReferenceDate":"2024-03-18T06:59:59Z"},)"
        R"("summary":{"totalRows":1,"countedRows":2,"notCountedRows":3,"differenceRows":4,"unknownCodeRows":5,)"
        R"("temporaryItemRows":6,"errorRows":7,"totalCountedQuantity":8,"unknownCodesCount":9,)"
        R"("temporaryItemsCount":10,"scanAliasesCreatedCount":11},"rows":[{"status":"counted"}],)"
        R"("unknownCodes":[{"sessionId":"S","code":"123","quantity":-1,"lastScannedAt":"2024-03-18T10:00:00Z"}],)"
        R"("temporaryItems":[{"id":"T1","sessionId":"S","scannedCode":"999","provisionalName":"Vase bleu",)"
        R"("quantity":2,"location":"Vitrine","note":"sans étiquette","photoLocalPath":"/p.jpg",)"
        R"("createdAt":"2024-03-18T10:00:00Z","status":"DONE"}],)"
        R"("scanAliasesCreated":[{"id":"A","code":"42","itemLocalId":"it-7","itemName":"Bol","source":"scan"}]})");
    const InventoryExportDocument document = read(camel);
    ASSERT_TRUE(snakeCaseKeys(camel).contains("\"scan_Aliases_Created_Count\":11"));
    EXPECT_EQ(read(snakeCaseKeys(camel)), document);

    EXPECT_EQ(document.source, (InventoryExportSource{u"woocommerce"_s, u"Boutique"_s, u"7"_s, u"Réserve"_s}));
    EXPECT_EQ(document.session.startedAt, utc(2024, 3, 18, 7, 0, 0, 500));
    EXPECT_EQ(document.summary.scanAliasesCreatedCount, 11);
    const QDateTime ten = utc(2024, 3, 18, 10, 0, 0);
    EXPECT_EQ(document.temporaryItems.value(0),
              (InventoryExportTemporaryItem{u"T1"_s, u"S"_s, u"999"_s, u"Vase bleu"_s, 2, u"Vitrine"_s,
                                            u"sans étiquette"_s, u"/p.jpg"_s, ten, u"DONE"_s}));
    EXPECT_EQ(document.unknownCodes.value(0),
              (InventoryExportUnknownCode{u"S"_s, u"123"_s, -1, std::nullopt, std::nullopt, ten}));
    EXPECT_EQ(document.scanAliasesCreated.value(0),
              (InventoryExportScanAlias{u"A"_s, u"42"_s, u"it-7"_s, u"Bol"_s, u"scan"_s, distantPast()}));
    // The inventory date falls back to the creation date.
    const auto session = [](const std::string& json) { return read(documentWithSession(json)).session; };
    EXPECT_EQ(session(R"({"createdAt":"2024-03-18T07:00:00Z","inventoryDate":""})").inventoryDate,
              utc(2024, 3, 18, 7, 0, 0));
    EXPECT_EQ(session(R"({"createdAt":"","inventoryDate":null})").inventoryDate, distantPast());
    EXPECT_EQ(session(R"({"inventoryDate":"2024-03-17T00:00:00Z"})").createdAt, distantPast());
}

TEST_F(TallybrookFileDecoderTest, RowReadingRules) {
    using Edit = std::function<void(InventoryExportRow&)>;
    const auto barcode = [](const char16_t* code) -> Edit { return [=](auto& r) { r.barcode = QString::fromUtf16(code); }; };
    const Edit none = [](auto&) {};
    const std::pair<std::string, Edit> cases[] = {
        // Only alias keys are trimmed.
        {R"({"sessionName":"  Inv  ","sku":" SKU-1 ","note":""})", [](auto& r) { r.sessionName = u"  Inv  "_s, r.sku = u" SKU-1 "_s, r.note = u""_s; }},
        {R"({"barcode":"  ","gtin":"  3760123456789 \n"})", barcode(u"3760123456789")},
        {R"({"barCode":"111"})", barcode(u"111")},
        {R"({"code_barres":"222"})", barcode(u"222")},
        {R"({"globalUniqueID":"444"})", barcode(u"444")},
        {R"({"upc":"U","ean":"E","gtin":"G"})", barcode(u"E")},
        {R"({"upc":"U","barcode":null,"codeBarres":""})", barcode(u"U")},
        {R"({"GTIN":"555","Barcode":"666"})", none},
        {R"({"scanned_code":"LOC-9"})", [](auto& r) { r.inventoryCode = u"LOC-9"_s; }},
        {R"({"inventoryCode":" \t","scannedCode":" LOC-9 "})", [](auto& r) { r.inventoryCode = u"LOC-9"_s; }},
        {R"({"inventoryCode":"A","scannedCode":"B"})", [](auto& r) { r.inventoryCode = u"A"_s; }},
        {R"({"referenceQuantity":-3,"difference":9223372036854775807})", [](auto& r) { r.referenceQuantity = -3, r.difference = int64Max; }},
        {R"({"difference":-9223372036854775808,"counted_quantity":-0})", [](auto& r) { r.difference = int64Min, r.countedQuantity = 0; }},
        {R"({"last_scanned_at":"2024-03-18T10:15:30.120+01:00","itemName":"Th\u00e9i\u00e8re \"L\""})",
         [](auto& r) { r.lastScannedAt = utc(2024, 3, 18, 9, 15, 30, 120), r.itemName = u"Théière \"L\""_s; }},
        {R"({"unknownKey":[1,{"deep":[null,true]}],"status":"unknown_code","Status":"nonsense"})",
         [](auto& r) { r.status = InventoryExportRowStatus::unknownCode; }},
        // Repeated keys, also after snake_case conversion: the last occurrence wins.
        {R"({"session_id":"A","sessionId":"B","status":"counted","status":"difference"})",
         [](auto& r) { r.sessionId = u"B"_s, r.status = InventoryExportRowStatus::difference; }},
        {R"({"sessionId":"B","session_id":"A"})", [](auto& r) { r.sessionId = u"A"_s; }},
        {R"({"barcode":"111","barcode":null,"ean":"222"})", barcode(u"222")},
    };
    for (const auto& [json, edit] : cases) {
        InventoryExportRow expected;
        edit(expected);
        EXPECT_EQ(readRow(json), expected) << json;
    }
    for (const InventoryExportRowStatus status : allInventoryExportRowStatuses) {
        EXPECT_EQ(readRow(R"({"status":")" + rawValue(status).toStdString() + R"("})").status, status);
    }
}

TEST_F(TallybrookFileDecoderTest, RecordsWithoutIdsGetFreshUpperCaseUuids) {
    const QByteArray bytes =
        documentJson(R"("unknownCodes":[{}],"temporaryItems":[{},{"id":""}],"scanAliasesCreated":[{"code":"C"}])");
    const InventoryExportDocument first = read(bytes);
    EXPECT_EQ(first.unknownCodes.value(0), InventoryExportUnknownCode());
    InventoryExportTemporaryItem item = first.temporaryItems.value(0);
    InventoryExportScanAlias alias = first.scanAliasesCreated.value(0);
    for (const QString& id : {item.id, alias.id}) {
        EXPECT_TRUE(parseUuidText(id)) << id.toStdString();
        EXPECT_EQ(id, id.toUpper());
    }
    EXPECT_EQ(first.temporaryItems.value(1).id, QString()) << "an empty id is an id";
    EXPECT_NE(read(bytes).temporaryItems.value(0).id, item.id);
    item.id.clear();
    alias.id.clear();
    EXPECT_EQ(item, InventoryExportTemporaryItem());
    EXPECT_EQ(alias, (InventoryExportScanAlias{QString(), u"C"_s, QString(), std::nullopt, u"unknown"_s, distantPast()}));
}

TEST_F(TallybrookFileDecoderTest, FailuresInEnglishAndFrench) {
    const std::tuple<QByteArray, QString, QString> cases[] = {
        {documentJson(R"("source":{"type":"woocommerce"})"),
         u"Invalid Tallybrook format: Missing key 'displayName' in source"_s,
         u"Format Tallybrook invalide: Clé manquante 'displayName' dans source"_s},
        {documentWithSession("null"), u"The file does not contain a valid inventory session."_s,
         u"Le fichier ne contient pas de session d'inventaire valide."_s},
        {documentWithSession(R"({"id":"x","created_at":"2024-03-18T10:00:00"})"),
         u"Invalid Tallybrook format: session.createdAt: Invalid ISO8601 date: 2024-03-18T10:00:00"_s,
         u"Format Tallybrook invalide: session.createdAt: Date ISO8601 invalide: 2024-03-18T10:00:00"_s},
    };
    for (const auto& [json, english, french] : cases) {
        EXPECT_EQ(decodeError(json).localizedDescription(), english);
        useLanguage(AppLanguage::french);
        EXPECT_EQ(decodeError(json).localizedDescription(), french);
        useLanguage(AppLanguage::english);
    }
    EXPECT_EQ(decodeError(QByteArrayLiteral(R"({"format":"com.tallybrook.inventory-export","formatVersion":1})")),
              TallybrookImportError::missingSession());
    EXPECT_EQ(read(documentJson(R"("source":{"type":"shop","displayName":""})")).source,
              (InventoryExportSource{u"shop"_s, u""_s, std::nullopt, std::nullopt}));
}

TEST_F(TallybrookFileDecoderTest, DecodingErrorsNameThePathAndWhatWasExpected) {
    const std::pair<QByteArray, QString> cases[] = {
        {documentJson(R"("rows":[{},{},{},{},{},{},{},{},{},{},{},{},{"countedQuantity":"3"}])"),
         u"rows[12].countedQuantity: expected a whole number, found \"3\""_s},
        {documentJson(R"("rows":[{"difference":1e2}])"), u"rows[0].difference: expected a whole number, found 100.0"_s},
        {documentJson(R"("rows":[{"difference":9223372036854775808}])"),
         u"rows[0].difference: expected a whole number within 64 bits, found 9223372036854775808"_s},
        {documentJson(R"("summary":{"total_rows":[]})"), u"summary.totalRows: expected a whole number, found an array"_s},
        {documentJson(R"("rows":[{"barcode":"","ean":false}])"), u"rows[0].ean: expected text, found false"_s},
        {documentJson(R"("rows":[{"lastScannedAt":"2024-03-18"}])"), u"rows[0].lastScannedAt: Invalid ISO8601 date: 2024-03-18"_s},
        {documentJson(R"("rows":[{},{"status":"Counted"}])"),
         u"rows[1].status: expected one of counted, not_counted, difference, unknown_code, temporary_item, error, "
         u"found \"Counted\""_s},
        {documentJson(R"("rows":{})"), u"rows: expected an array, found an object"_s},
        {documentJson(R"("rows":[null])"), u"rows[0]: expected an object, found null"_s},
        {documentJson(R"("source":"shop")"), u"source: expected an object, found \"shop\""_s},
        {documentJson("\"source\":\"" + std::string(100, 'x') + "\""),
         u"source: expected an object, found \""_s + QString(64, u'x') + u"…\""_s},
        // The required keys are checked in field order: a bad type before a missing name.
        {documentJson(R"("source":{"type":5})"), u"source.type: expected text, found 5"_s},
        {documentJson(R"("source":{"displayName":5})"), u"Missing key 'type' in source"_s},
        {documentJson(R"("source":{"displayName":"B","type":null})"), u"Missing key 'type' in source"_s},
        {documentWithSession(R"("S")"), u"session: expected an object, found \"S\""_s},
        {QByteArrayLiteral(R"([{"format":"x"}])"), u"the document must be a JSON object, found an array"_s},
    };
    for (const auto& [json, detail] : cases) {
        EXPECT_EQ(decodeError(json), TallybrookImportError::invalidFormat(detail)) << json.toStdString();
    }
}

// Every field of every record given a value of the wrong JSON type fails, naming that field.
TEST_F(TallybrookFileDecoderTest, WrongTypeAnywhereFailsNamingTheField) {
    // Record ("[]" when in an array) and its fields with their kind: t(ext) i(nteger) d(ate) s(tatus).
    const std::pair<std::string, std::string> records[] = {
        {"", "format:t formatVersion:i exportedAt:d appName:t appVersion:t deviceName:t"},
        {"source", "locationId:t locationName:t"},
        {"session", "id:t name:t status:t createdAt:d startedAt:d closedAt:d inventoryDate:d stockReferenceDate:d"},
        {"summary", "totalRows:i countedRows:i notCountedRows:i differenceRows:i unknownCodeRows:i "
                    "temporaryItemRows:i errorRows:i totalCountedQuantity:i unknownCodesCount:i "
                    "temporaryItemsCount:i scanAliasesCreatedCount:i"},
        {"rows[]", "sessionId:t sessionName:t inventoryDate:d source:t externalProductId:t externalVariantId:t "
                   "localItemId:t itemName:t variantName:t sku:t barcode:t barCode:t codeBarres:t ean:t gtin:t "
                   "upc:t globalUniqueId:t globalUniqueID:t inventoryCode:t scannedCode:t category:t location:t "
                   "referenceQuantity:i countedQuantity:i difference:i status:s note:t lastScannedAt:d"},
        {"unknownCodes[]", "sessionId:t code:t quantity:i location:t note:t lastScannedAt:d"},
        {"temporaryItems[]", "id:t sessionId:t scannedCode:t provisionalName:t quantity:i location:t note:t "
                             "photoLocalPath:t createdAt:d status:t"},
        {"scanAliasesCreated[]", "id:t code:t itemLocalId:t itemName:t source:t createdAt:d"},
    };
    int probes = 0;
    for (const auto& [record, fields] : records) {
        std::istringstream stream(fields);
        for (std::string field; stream >> field; ++probes) {
            const std::string key = field.substr(0, field.size() - 2);
            const char kind = field.back();
            const std::string wrong = kind == 'i' ? R"("7")" : "7";
            const std::string expected = kind == 't' ? "text" : kind == 'i' ? "a whole number"
                                         : kind == 'd' ? "a date text (ISO 8601)" : "a row status text";
            const std::string member = "\"" + key + "\":" + wrong;
            const bool inArray = record.ends_with("[]");
            const std::string name = inArray ? record.substr(0, record.size() - 2) : record;
            const std::string prefix = name == "source" ? R"("type":"a","displayName":"b",)" : "";
            const std::string object = "{" + prefix + member + "}";
            const QByteArray json = name.empty()       ? documentJson(member)
                                    : name == "session" ? documentWithSession(object)
                                                        : documentJson("\"" + name + "\":" + (inArray ? "[" + object + "]" : object));
            const std::string path = name.empty() ? key : name + (inArray ? "[0]." : ".") + key;
            EXPECT_EQ(decodeError(json), TallybrookImportError::invalidFormat(QString::fromStdString(
                                             path + ": expected " + expected + ", found " + wrong)))
                << json.toStdString();
        }
    }
    EXPECT_EQ(probes, 6 + 2 + 8 + 11 + 28 + 6 + 10 + 6);
}

TEST_F(TallybrookFileDecoderTest, InvalidJsonSaysWhereItBroke) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArrayLiteral("{\"format\":\"x\",\n \"rows\":[{\"status\":\"counted\" \"note\":1}]}"),
         u"line 2, column 30 (byte 44), in rows[0]: expected ',' or '}'"_s},
        {QByteArrayLiteral("{\"session\":{\"id\":\"S\"},\"rows\":[1,2,]}"),
         u"line 1, column 35 (byte 34), in rows[2]: unexpected character (a value was expected)"_s},
        {QByteArrayLiteral("{\"rows\":[{\"countedQuantity\":99999999999999999999}]}"),
         u"line 1, column 29 (byte 28), in rows[0].countedQuantity: number does not fit in 64 bits"_s},
        {QByteArrayLiteral("{\"session\":{}} trailing"),
         u"line 1, column 16 (byte 15): unexpected content after the end of the document"_s},
        {QByteArrayLiteral("\xEF\xBB\xBF{\"a\" 1}"), u"line 1, column 6 (byte 8), in a: expected ':' after the key"_s},
        {QByteArrayLiteral("{\"a\":\"x\ny\"}"),
         u"line 1, column 8 (byte 7), in a: control character inside text (it must be escaped)"_s},
        {QByteArrayLiteral("{\"a\":\"\\uDC00\"}"),
         u"line 1, column 8 (byte 7), in a: unpaired surrogate in a \\u escape (half of a character)"_s},
    };
    for (const auto& [json, where] : cases) {
        EXPECT_EQ(decodeError(json), TallybrookImportError::invalidFormat(u"invalid JSON at "_s + where))
            << json.toStdString();
    }
    for (const QByteArray& empty : {QByteArray(), QByteArray(" \n\t "), QByteArray("\xEF\xBB\xBF")}) {
        EXPECT_EQ(decodeError(empty), TallybrookImportError::invalidFormat(u"the file is empty (no JSON value found)"_s));
    }
}

TEST_F(TallybrookFileDecoderTest, HostileInputsFailWithOneShortImportError) {
    const QByteArray valid = documentJson(R"("rows":[{"status":"counted","itemName":"Bol"}],"appName":"fin")");
    std::string nested = R"({"format":)";
    nested.append(10'000, '[');
    nested.append(10'000, ']');
    std::string huge = R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":{"id":"S"},)"
                       R"("rows":[{"countedQuantity":")";
    huge.append(std::size_t(100) * 1024 * 1024, 'x');
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArrayLiteral("\xFF\xFE{\x00}\x00"), u"invalid JSON at line 1, column 1 (byte 0)"_s},
        {documentJson(R"("appName":"Caf)") + "\xE9\"}", u"invalid JSON at line 1"_s},
        {valid.left(valid.size() / 2), u"invalid JSON at line 1"_s},
        {valid.left(valid.indexOf("rows") + 6), u"invalid JSON at line 1"_s},
        {QByteArray::fromStdString(nested + "}"),
         u"invalid JSON at line 1, column 1034 (byte 1033), in format[0][0][0][0]…[0][0][0]: nesting too deep"_s},
        {QByteArrayLiteral("{\"a\":\"x\x00y\"}"), u"invalid JSON at line 1"_s},
        {QByteArray::fromStdString(huge + R"("}]})"), u"rows[0].countedQuantity: expected a whole number, found \"xxxx"_s},
    };
    for (const auto& [bytes, start] : cases) {
        const TallybrookImportError error = decodeError(bytes);
        EXPECT_EQ(error.errorCase(), TallybrookImportError::Case::invalidFormat);
        EXPECT_TRUE(error.detail().startsWith(start)) << error.detail().toStdString();
        EXPECT_LT(error.detail().size(), 200);
    }
    // Nesting up to the limit is read (the document object is the first level); one more is not.
    const auto nestedDocument = [](std::size_t arrays) {
        return documentJson(R"("ignored":)" + std::string(arrays, '[') + std::string(arrays, ']'));
    };
    EXPECT_NO_THROW(read(nestedDocument(TallybrookFileDecoder::maximumNesting - 1)));
    EXPECT_TRUE(decodeError(nestedDocument(TallybrookFileDecoder::maximumNesting))
                    .detail()
                    .endsWith(u"in ignored[0][0][0][0]…[0][0][0]: nesting too deep"_s));
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
    ASSERT_GE(roomBefore.capacity() - roomBefore.size(), spareRoom) << "the room must still be allocated";
    QByteArray roomAfter = json;
    roomAfter.reserve(json.size() + spareRoom);
    const std::pair<QByteArray, bool> cases[] = {
        {roomBefore, false},
        {roomAfter, true},
        {QByteArray(json.constData(), json.size()), false},
        {QByteArray::fromRawData(json.constData(), json.size()), false},
    };
    for (const auto& [bytes, inPlace] : cases) {
        EXPECT_EQ(TallybrookFileDecoder::isReadableInPlace(bytes), inPlace);
        EXPECT_EQ(read(bytes).appName, u"A"_s);
        EXPECT_EQ(read(bytes).rows.size(), 1);
    }
}

TEST_F(TallybrookFileDecoderTest, FixtureFilesAndTheValidatingEntryPoints) {
    const TallybrookFileDecoder decoder;
    const QByteArray warned = fixture("temporary-items-warnings.tallybrook");
    QStringList ids;
    for (const auto& warning : decoder.decodeInventoryDocumentWithValidation(warned).validation.warnings) {
        ids.append(warning.id());
    }
    EXPECT_EQ(ids, (QStringList{u"legacy-temporary-T-1"_s,
                                u"foreign-temporary-T-3-A81C44F0-2E9B-4C3D-8B7A-6F5E4D3C2B1A"_s,
                                u"legacy-temporary-T-4"_s}));
    EXPECT_EQ(decoder.decodeInventoryDocument(warned), decoder.decodeInventoryDocumentWithValidation(warned).document);
    EXPECT_TRUE(decoder.decodeInventoryDocumentWithValidation(fixture("minimal.tallybrook")).validation.warnings.isEmpty());
    EXPECT_EQ(decodeError(fixture("invalid-row-status.tallybrook")).detail(),
              u"rows[1].status: expected one of counted, not_counted, difference, unknown_code, temporary_item, "
              u"error, found \"Counted\""_s);
    EXPECT_EQ(decodeError(fixture("foreign-session-row.tallybrook")), TallybrookImportError::inconsistentSessionId());
    EXPECT_THROW(decoder.decodeInventoryDocument(documentWithSession(R"({"id":"abc"})")), TallybrookImportError);
}
