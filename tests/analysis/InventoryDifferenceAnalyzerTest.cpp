#include "analysis/InventoryDifferenceAnalyzer.h"

#include "analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>
#include <limits>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using test::makeDocument;
using test::makeRow;
using test::RowSpec;

class InventoryDifferenceAnalyzerTest : public test::AnalysisTest {};

QStringList differenceNames(const InventoryExportDocument& document, const QString& search = {},
                            const std::optional<QString>& location = std::nullopt) {
    return test::itemNames(InventoryDifferenceAnalyzer::differences(document, search, location));
}

TEST_F(InventoryDifferenceAnalyzerTest, LargestGapsFirstThenByName) {
    const auto document =
        makeDocument({makeRow({.itemName = u"c"_s, .difference = 3}),
                      makeRow({.itemName = u"z minus"_s, .difference = -7}),
                      makeRow({.itemName = u"a plus"_s, .difference = 7}), makeRow({.itemName = u"none"_s})});
    EXPECT_EQ(differenceNames(document), (QStringList{u"a plus"_s, u"z minus"_s, u"c"_s}));
}

TEST_F(InventoryDifferenceAnalyzerTest, DisplayKeyIsPlainCaseSensitiveText) {
    const auto document = makeDocument({
        makeRow({.itemName = u"b"_s, .difference = 5}),
        makeRow({.itemName = u"B"_s, .difference = 5}),
        makeRow({.difference = 5, .barcode = u"A-code"_s}), // sorts by its barcode
        makeRow({.difference = -5}),                        // no name, no barcode: empty key, first
        makeRow({.itemName = u"Écharpe"_s, .difference = 5}),
        makeRow({.itemName = u"Zèbre"_s, .difference = 5}),
        makeRow({.itemName = u"Pull rouge"_s, .difference = -5}),
        makeRow({.itemName = u"Pull bleu"_s, .difference = 5}),
        makeRow({.itemName = u"Pul"_s, .difference = 5}),
    });
    const auto rows = InventoryDifferenceAnalyzer::differences(document, QString(), std::nullopt);
    QStringList keys;
    for (const InventoryExportRow* row : rows) {
        keys.append(row->itemName.value_or(row->barcode.value_or(u"<empty>"_s)));
    }
    EXPECT_EQ(keys, (QStringList{u"<empty>"_s, u"A-code"_s, u"B"_s, u"Pul"_s, u"Pull bleu"_s, u"Pull rouge"_s,
                                 u"Zèbre"_s, u"b"_s, u"Écharpe"_s}));
}

TEST_F(InventoryDifferenceAnalyzerTest, ComposedAndDecomposedNamesAreEqualAndKeepDocumentOrder) {
    const auto document = makeDocument({makeRow({.itemName = u"Cafe\u0301"_s, .difference = 2}),
                                        makeRow({.itemName = u"Café"_s, .difference = -2}),
                                        makeRow({.itemName = u"Cafd"_s, .difference = 2}),
                                        makeRow({.itemName = u"Cafe\u0301"_s, .difference = 2})});
    const auto rows = InventoryDifferenceAnalyzer::differences(document, QString(), std::nullopt);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], &document.rows[2]);
    EXPECT_EQ(rows[1], &document.rows[0]);
    EXPECT_EQ(rows[2], &document.rows[1]);
    EXPECT_EQ(rows[3], &document.rows[3]);
}

TEST_F(InventoryDifferenceAnalyzerTest, CharactersBeyondTheBasicPlaneSortByCodePoint) {
    // U+1F600 is above U+FF21 as a code point, though its UTF-16 code units are below.
    const auto document = makeDocument({makeRow({.itemName = u"\U0001F600"_s, .difference = 1}),
                                        makeRow({.itemName = u"\uFF21"_s, .difference = 1}),
                                        makeRow({.itemName = u"\uD7FF"_s, .difference = 1})});
    EXPECT_EQ(differenceNames(document), (QStringList{u"\uD7FF"_s, u"\uFF21"_s, u"\U0001F600"_s}));
    const struct {
        QString a;
        QString b;
        int order;
    } cases[] = {{u"a"_s, u"b"_s, -1},
                 {u"b"_s, u"a"_s, 1},
                 {u"ab"_s, u"a"_s, 1},
                 {u""_s, u""_s, 0},
                 {u"B"_s, u"b"_s, -1},
                 {u"\U0001F600"_s, u"\uFFFD"_s, 1},
                 {u"\U0001F600"_s, u"\U0001F601"_s, -1},
                 {u"\uE000"_s, u"\U00010000"_s, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(InventoryDifferenceAnalyzer::compareCodePoints(c.a, c.b), c.order)
            << c.a.toStdString() << " vs " << c.b.toStdString();
    }
}

TEST_F(InventoryDifferenceAnalyzerTest, TheExportedDifferenceDecidesNotTheStatus) {
    const auto document = makeDocument({
        makeRow({.itemName = u"zero"_s, .difference = 0, .status = InventoryExportRowStatus::difference}),
        makeRow({.itemName = u"counted"_s, .difference = 2, .status = InventoryExportRowStatus::counted}),
        makeRow({.itemName = u"absent"_s, .status = InventoryExportRowStatus::difference}),
    });
    EXPECT_EQ(differenceNames(document), QStringList{u"counted"_s});
}

TEST_F(InventoryDifferenceAnalyzerTest, MostNegativeDifferenceSortsAsTheLargest) {
    const auto document =
        makeDocument({makeRow({.itemName = u"max"_s, .difference = std::numeric_limits<qint64>::max()}),
                      makeRow({.itemName = u"min"_s, .difference = std::numeric_limits<qint64>::min()}),
                      makeRow({.itemName = u"one"_s, .difference = -1})});
    EXPECT_EQ(differenceNames(document), (QStringList{u"min"_s, u"max"_s, u"one"_s}));
}

TEST_F(InventoryDifferenceAnalyzerTest, NarrowedByLocationAndSearchButNotByFilter) {
    const auto document =
        makeDocument({makeRow({.itemName = u"Bol rouge"_s, .difference = 1}),
                      makeRow({.itemName = u"Tasse rouge"_s, .difference = -4, .location = u"Réserve"_s}),
                      makeRow({.itemName = u"Bol bleu"_s, .difference = 2, .location = u" Magasin"_s})},
                     u"Magasin"_s);
    EXPECT_EQ(differenceNames(document, u"  "_s, u"Magasin"_s), (QStringList{u"Bol bleu"_s, u"Bol rouge"_s}));
    EXPECT_EQ(differenceNames(document, u"rouge"_s), (QStringList{u"Tasse rouge"_s, u"Bol rouge"_s}));
    EXPECT_EQ(differenceNames(document, u"ROUGE compte"_s, u"Magasin"_s), QStringList{u"Bol rouge"_s});
    EXPECT_EQ(differenceNames(document, u""_s, u"Ailleurs"_s), QStringList());
}

} // namespace
} // namespace tallybrook
