#include "woocommerce/WooIntegerText.h"

#include <QString>
#include <gtest/gtest.h>
#include <limits>

namespace tallybrook {
namespace {

TEST(WooIntegerTextTest, AcceptsOnlyASignAndDigitsWithinSixtyFourBits) {
    struct Case {
        const char* text;
        std::optional<qint64> expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"0012", 12},
        {"+7", 7},
        {"-3", -3},
        {"0", 0},
        {"9223372036854775807", 9223372036854775807LL},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", {}},
        {"-9223372036854775809", {}},
        {"99999999999999999999999", {}},
        {"", {}},
        {"+", {}},
        {"-", {}},
        {" 12", {}},
        {"12 ", {}},
        {"3.0", {}},
        {"1e3", {}},
        {"abc", {}},
        {"x9", {}},
        {"12a", {}},
        {"+-1", {}},
        {"٣", {}},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(parseWooInteger(QStringView(text)), c.expected) << c.text;
        EXPECT_EQ(parseWooInteger(QByteArrayView(c.text)), c.expected) << c.text;
    }
}

} // namespace
} // namespace tallybrook
