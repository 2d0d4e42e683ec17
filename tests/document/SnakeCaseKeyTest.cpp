#include "document/SnakeCaseKey.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(SnakeCaseKeyTest, ConvertsSnakeCaseAndLeavesOtherKeysAlone) {
    struct Case {
        QString key;
        QString expected;
    };
    const Case cases[] = {
        {u"format_version"_s, u"formatVersion"_s},
        {u"scan_aliases_created"_s, u"scanAliasesCreated"_s},
        {u"global_unique_id"_s, u"globalUniqueId"_s},
        {u"code_barres"_s, u"codeBarres"_s},
        {u"SESSION_ID"_s, u"sessionId"_s},
        {u"bar_CODE"_s, u"barCode"_s},
        {u"formatVersion"_s, u"formatVersion"_s},
        {u"globalUniqueID"_s, u"globalUniqueID"_s},
        {u"GTIN"_s, u"GTIN"_s},
        {u"_session_id"_s, u"_sessionId"_s},
        {u"session_id__"_s, u"sessionId__"_s},
        {u"session__id"_s, u"sessionId"_s},
        {u"_Format"_s, u"_Format"_s},
        {u"Format_"_s, u"Format_"_s},
        {u"___"_s, u"___"_s},
        {u""_s, u""_s},
        {u"état_stock"_s, u"étatStock"_s},
        {u"prix_été"_s, u"prixÉté"_s},
    };
    std::string buffer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        EXPECT_EQ(convertFromSnakeCase(c.key), c.expected);
        const std::string utf8 = c.key.toStdString();
        EXPECT_EQ(QString::fromStdString(std::string(convertFromSnakeCase(utf8, buffer))), c.expected);
    }
}

TEST(SnakeCaseKeyTest, KeyWithoutUnderscoreIsReturnedWithoutCopy) {
    std::string buffer;
    const std::string_view key = "countedQuantity";
    EXPECT_EQ(convertFromSnakeCase(key, buffer).data(), key.data());
}
