#include "document/TextRules.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(TextRulesTest, TrimsWhiteSpaceAndLineBreaksAtBothEndsOnly) {
    EXPECT_EQ(trimmedText(u" \t\r\n 3760 1234\u00A0\u2028\n"_s), u"3760 1234"_s);
    EXPECT_EQ(trimmedText(u"\u0085x\u2003"_s), u"x"_s);
    EXPECT_EQ(trimmedText(u" \n "_s), QString());
}

TEST(TextRulesTest, NormalizedTextIsAbsentWhenBlank) {
    EXPECT_EQ(normalizedText(std::nullopt), std::nullopt);
    EXPECT_EQ(normalizedText(u"  \n"_s), std::nullopt);
    EXPECT_EQ(normalizedText(u""_s), std::nullopt);
    EXPECT_EQ(normalizedText(u" SKU-12 "_s), u"SKU-12"_s);
}

TEST(TextRulesTest, ParsesOnlyTheCanonicalUuidShape) {
    const QUuid expected = QUuid::fromString(u"6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90"_s);
    struct Case {
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s, true},
        {u"6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90"_s, true},
        {u"6f1C2b7A-0d3E-4B8a-9c51-2E7f4a6B8d90"_s, true},
        {u"{6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90}"_s, false},
        {u"6F1C2B7A0D3E4B8A9C512E7F4A6B8D90"_s, false},
        {u" 6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s, false},
        {u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D9G"_s, false},
        {u"6F1C2B7A-0D3E4-B8A-9C51-2E7F4A6B8D90"_s, false},
        {u"abc"_s, false},
        {QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto parsed = parseUuidText(c.text);
        EXPECT_EQ(parsed.has_value(), c.accepted);
        if (parsed) {
            EXPECT_EQ(*parsed, expected);
        }
    }
    EXPECT_EQ(parseUuidText(u"00000000-0000-0000-0000-000000000000"_s), QUuid());
}

TEST(TextRulesTest, UuidTextIsUpperCaseWithoutBracesAndReadsBack) {
    const QUuid uuid = QUuid::fromString(u"6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90"_s);
    EXPECT_EQ(uuidText(uuid), u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s);
    const QString fresh = newUuidText();
    EXPECT_EQ(fresh, fresh.toUpper());
    ASSERT_TRUE(parseUuidText(fresh));
    EXPECT_EQ(uuidText(*parseUuidText(fresh)), fresh);
    EXPECT_NE(newUuidText(), fresh);
}
