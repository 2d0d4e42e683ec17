// The small text rules the decoder is built on: trimming, UUID texts, snake_case keys, dates
// and the locator of JSON syntax errors.

#include "core/TextRules.h"
#include "document/InternetDateTime.h"
#include "document/JsonSyntaxLocator.h"
#include "document/SnakeCaseKey.h"

#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QTimeZone>

using namespace tallybrook;
using namespace Qt::StringLiterals;
using tallybrook::test::utc;

namespace {

} // namespace

TEST(TextRulesTest, TrimmingAndUuidTexts) {
    EXPECT_EQ(trimmedText(u" \t\r\n 3760 1234\u00A0\u2028\n"_s), u"3760 1234"_s);
    EXPECT_EQ(trimmedText(u"\u0085x\u2003"_s), u"x"_s);
    EXPECT_EQ(normalizedText(u"  \n"_s), std::nullopt);
    EXPECT_EQ(normalizedText(std::nullopt), std::nullopt);
    EXPECT_EQ(normalizedText(u" SKU-12 "_s), u"SKU-12"_s);

    const QUuid expected = QUuid::fromString(u"6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90"_s);
    for (const QString& text : {u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s, u"6f1C2b7A-0d3E-4B8a-9c51-2E7f4a6B8d90"_s}) {
        EXPECT_EQ(parseUuidText(text), expected);
    }
    for (const QString& text : {u"{6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90}"_s, u"6F1C2B7A0D3E4B8A9C512E7F4A6B8D90"_s,
                                u" 6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s, u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D9G"_s,
                                u"6F1C2B7A-0D3E4-B8A-9C51-2E7F4A6B8D90"_s, QString()}) {
        EXPECT_EQ(parseUuidText(text), std::nullopt) << text.toStdString();
    }
    EXPECT_EQ(uuidText(expected), u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s);
    const QString fresh = newUuidText();
    EXPECT_EQ(uuidText(parseUuidText(fresh).value_or(QUuid())), fresh);
    EXPECT_NE(newUuidText(), fresh);
}

TEST(TextRulesTest, SnakeCaseKeysBecomeCamelCase) {
    const std::pair<QString, QString> cases[] = {
        {u"scan_aliases_created"_s, u"scanAliasesCreated"_s}, {u"SESSION_ID"_s, u"sessionId"_s},
        {u"bar_CODE"_s, u"barCode"_s},                         {u"globalUniqueID"_s, u"globalUniqueID"_s},
        {u"_session_id"_s, u"_sessionId"_s},                   {u"session_id__"_s, u"sessionId__"_s},
        {u"session__id"_s, u"sessionId"_s},                    {u"_Format"_s, u"_Format"_s},
        {u"Format_"_s, u"Format_"_s},                          {u"___"_s, u"___"_s},
        {u""_s, u""_s},                                        {u"prix_été"_s, u"prixÉté"_s},
    };
    std::string buffer;
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(convertFromSnakeCase(key), expected) << key.toStdString();
        EXPECT_EQ(QString::fromStdString(std::string(convertFromSnakeCase(key.toStdString(), buffer))), expected);
    }
    const std::string_view plain = "countedQuantity";
    EXPECT_EQ(convertFromSnakeCase(plain, buffer).data(), plain.data()) << "returned without a copy";
}

TEST(TextRulesTest, InternetDatesWithZoneOnly) {
    const std::pair<const char*, QDateTime> cases[] = {
        {"2024-03-18T10:30:00.250+01:00", utc(2024, 3, 18, 9, 30, 0, 250)},
        {"2024-03-18T09:30:00.5Z", utc(2024, 3, 18, 9, 30, 0, 500)},
        {"2024-03-18T09:30:00.123456789Z", utc(2024, 3, 18, 9, 30, 0, 123)},
        {"2024-03-18T01:00:00-05:30", utc(2024, 3, 18, 6, 30, 0)},
        {"2024-03-01T00:30:00+01:00", utc(2024, 2, 29, 23, 30, 0)},
        {"0001-01-01T00:00:00Z", utc(1, 1, 1, 0, 0, 0)},
        {"9999-12-31T23:59:59Z", utc(9999, 12, 31, 23, 59, 59)},
    };
    for (const auto& [text, expected] : cases) {
        const auto parsed = parseInternetDateTime(text);
        EXPECT_EQ(parsed, expected) << text;
        EXPECT_EQ(parsed.value_or(QDateTime()).timeSpec(), Qt::UTC) << text;
    }
    for (const char* text : {"2024-03-18", "2024-03-18T09:30:00", "2024-03-18T09:30Z", "2024-03-18 09:30:00Z",
                             "2024-03-18T09:30:00.Z", "2024-03-18T09:30:00+0100", "2023-02-29T00:00:00Z",
                             "2024-13-01T00:00:00Z", "2024-00-10T00:00:00Z", "2024-04-31T00:00:00Z",
                             "2024-03-18T24:00:00Z", "2024-03-18T23:60:00Z", "2024-03-18T23:59:60Z",
                             "2024-03-18T09:30:00+24:00", "2024-03-18T09:30:00Zjunk", "2024-3-18T09:30:00Z",
                             "2024-03-18t09:30:00z", ""}) {
        EXPECT_EQ(parseInternetDateTime(text), std::nullopt) << text;
    }
    EXPECT_EQ(internetDateTimeText(utc(2024, 3, 18, 9, 30, 0)), u"2024-03-18T09:30:00Z"_s);
    EXPECT_EQ(internetDateTimeText(utc(2024, 3, 18, 9, 30, 0, 7)), u"2024-03-18T09:30:00.007Z"_s);
    EXPECT_EQ(internetDateTimeText(utc(1, 1, 1, 0, 0, 0)), u"0001-01-01T00:00:00Z"_s);
    EXPECT_EQ(internetDateTimeText(QDateTime(QDate(2024, 7, 1), QTime(12, 0), QTimeZone("Europe/Paris"))),
              u"2024-07-01T10:00:00Z"_s);
}

TEST(TextRulesTest, JsonSyntaxLocatorPointsAtTheFirstFault) {
    for (const char* text : {"[]", " {\"a\":[1,-2.5e+3,true,false,null,\"\\u00e9\\n\",{}]} ",
                             "\"caf\xC3\xA9 \xF0\x9F\x98\x80\"", "-0.0", "18446744073709551615", "-9223372036854775808"}) {
        EXPECT_EQ(locateJsonSyntaxError(text, 1024), std::nullopt) << text;
    }
    struct Case {
        const char* text;
        qsizetype offset, line, column;
        QString path, reason;
    };
    const Case cases[] = {
        {"{\"a\":1,}", 7, 1, 8, QString(), u"expected a key in double quotes"_s},
        {"{\"a\":\n  [1 2]}", 11, 2, 6, u"a[0]"_s, u"expected ',' or ']'"_s},
        {"{\"é\":\"\\x\"}", 8, 1, 8, u"é"_s, u"invalid escape sequence"_s},
        {"[\"a\tb\"]", 3, 1, 4, u"[0]"_s, u"control character inside text (it must be escaped)"_s},
        {"[\"\xED\xA0\x80\"]", 2, 1, 3, u"[0]"_s, u"invalid UTF-8 byte"_s},
        {"[01]", 2, 1, 3, u"[0]"_s, u"invalid number"_s},
        {"[-18446744073709551615]", 1, 1, 2, u"[0]"_s, u"number does not fit in 64 bits"_s},
        {"[1e999]", 1, 1, 2, u"[0]"_s, u"number out of range"_s},
        {"[[[[", 4, 1, 5, u"[0][0][0][0]"_s, u"unexpected end of the file (the document is incomplete)"_s},
        {"[[[[[", 4, 1, 5, u"[0][0][0][0]"_s, u"nesting too deep"_s},
        {"{\"a\":{\"b\":[1 2]}}", 13, 1, 14, u"a.b[0]"_s, u"expected ',' or ']'"_s},
    };
    // Nine levels are shown in full; only deeper paths are shortened.
    EXPECT_EQ(locateJsonSyntaxError("[[[[[[[[[x", 100).value_or(JsonSyntaxError()).path, u"[0]"_s.repeated(9));
    for (const Case& c : cases) {
        const auto error = locateJsonSyntaxError(c.text, 4);
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(std::tie(error->offset, error->line, error->column, error->path, error->reason),
                  std::tie(c.offset, c.line, c.column, c.path, c.reason))
            << c.text;
    }
}
