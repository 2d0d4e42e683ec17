#include "document/JsonSyntaxLocator.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(JsonSyntaxLocatorTest, AcceptsValidJson) {
    for (const char* text :
         {"{}", "[]", " {\"a\":[1,-2.5e+3,true,false,null,\"\\u00e9\\n\",{}]} ",
          "\"caf\xC3\xA9 \xF0\x9F\x98\x80\"", "0", "-0.0", "18446744073709551615", "-9223372036854775808"}) {
        EXPECT_EQ(locateJsonSyntaxError(text, 1024), std::nullopt) << text;
    }
}

TEST(JsonSyntaxLocatorTest, PointsAtTheFirstFault) {
    struct Case {
        const char* text;
        qsizetype offset;
        qsizetype line;
        qsizetype column;
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {"{\"a\":1,}", 7, 1, 8, QString(), u"expected a key in double quotes"_s},
        {"{\"a\":\n  [1 2]}", 11, 2, 6, u"a[0]"_s, u"expected ',' or ']'"_s},
        {"{\"é\":\"\\x\"}", 8, 1, 8, u"é"_s, u"invalid escape sequence"_s},
        {"[\"a\tb\"]", 3, 1, 4, u"[0]"_s, u"control character inside text (it must be escaped)"_s},
        {"[\"\xED\xA0\x80\"]", 2, 1, 3, u"[0]"_s, u"invalid UTF-8 byte"_s},
        {"[\"\xC0\xAF\"]", 2, 1, 3, u"[0]"_s, u"invalid UTF-8 byte"_s},
        {"[01]", 2, 1, 3, u"[0]"_s, u"invalid number"_s},
        {"[1.]", 3, 1, 4, u"[0]"_s, u"invalid number"_s},
        {"[-18446744073709551615]", 1, 1, 2, u"[0]"_s, u"number does not fit in 64 bits"_s},
        {"[18446744073709551616]", 1, 1, 2, u"[0]"_s, u"number does not fit in 64 bits"_s},
        {"[1e999]", 1, 1, 2, u"[0]"_s, u"number out of range"_s},
        {"[[[[", 4, 1, 5, u"[0][0][0][0]"_s, u"unexpected end of the file (the document is incomplete)"_s},
        {"[[[[[", 4, 1, 5, u"[0][0][0][0]"_s, u"nesting too deep"_s},
        {"{\"a\":{\"b\":1 \"c\":2}}", 12, 1, 13, u"a"_s, u"expected ',' or '}'"_s},
        {"{\"a\":{\"b\":[1 2]}}", 13, 1, 14, u"a.b[0]"_s, u"expected ',' or ']'"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto error = locateJsonSyntaxError(c.text, 4);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->offset, c.offset);
        EXPECT_EQ(error->line, c.line);
        EXPECT_EQ(error->column, c.column);
        EXPECT_EQ(error->path, c.path);
        EXPECT_EQ(error->reason, c.reason);
    }
}
