#include "analysis/InventorySearchIndex.h"

#include "analysis/AnalysisTestSupport.h"
#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "analysis/SearchText.h"

#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using test::makeDocument;
using test::makeRow;

class InventorySearchIndexTest : public test::AnalysisTest {};

// Rows with accents, mixed case, absent and empty fields, every status and a few scripts.
InventoryExportDocument variedDocument() {
    const QStringList names{
        u"Écharpe laine"_s, u"CAFÉ moulu"_s, u"Crème brûlée"_s, u"東京 mug"_s, u"Ωmega watch"_s,
        u"e\u0301clair"_s,  u""_s,           u"Straße map"_s};
    QList<InventoryExportRow> rows;
    for (qsizetype i = 0; i < 64; ++i) {
        InventoryExportRow row = makeRow({.itemName = names[i % names.size()],
                                          .difference = i % 5 - 2,
                                          .status = allInventoryExportRowStatuses[size_t(i % 6)],
                                          .location = i % 3 == 0 ? std::optional<QString>() : u"Réserve"_s,
                                          .barcode = u"376%1"_s.arg(i)});
        if (i % 4 == 0) {
            row.note = u"Boîte \"A\"; rayon %1"_s.arg(i % 7);
        }
        if (i % 7 == 0) {
            row.category = u""_s;
        }
        row.sku = i % 2 ? std::optional<QString>(u"SKU-%1"_s.arg(i)) : std::nullopt;
        rows.append(row);
    }
    return makeDocument(rows, u"Magasin"_s);
}

const QStringList searches{
    u""_s,           u"ecart"_s,         u"ÉCART laine"_s, u"compte"_s,  u"counted"_s,    u"eclair"_s,
    u"cafe MOULU"_s, u"boite rayon 3"_s, u"\"a\";"_s,      u"strasse"_s, u"straße"_s,     u"東京"_s,
    u"ω"_s,          u"sku-1 37"_s,      u"difference"_s,  u"reserve"_s, u"non compte"_s, u"erreur error"_s};

TEST_F(InventorySearchIndexTest, CachedSearchGivesTheRowsOfFoldingEveryRow) {
    const auto document = std::make_shared<const InventoryExportDocument>(variedDocument());
    for (const AppLanguage language : allAppLanguages) {
        test::setLanguage(language);
        for (const QString& search : searches) {
            for (const InventoryRowFilter filter : allInventoryRowFilters) {
                for (const auto& location :
                     {std::optional<QString>(), std::optional<QString>(u"Magasin"_s)}) {
                    EXPECT_EQ(InventoryAnalysisService::filteredRows(document, search, filter, location),
                              InventoryAnalysisService::filteredRows(*document, search, filter, location))
                        << search.toStdString();
                }
            }
            EXPECT_EQ(InventoryDifferenceAnalyzer::differences(document, search, std::nullopt),
                      InventoryDifferenceAnalyzer::differences(*document, search, std::nullopt));
        }
    }
}

TEST_F(InventorySearchIndexTest, IndexHoldsTheFoldedHaystackOfEachRow) {
    const InventoryExportDocument document = variedDocument();
    for (const AppLanguage language : allAppLanguages) {
        const InventorySearchIndex index(document, language);
        ASSERT_EQ(index.size(), document.rows.size());
        for (qsizetype i = 0; i < document.rows.size(); ++i) {
            EXPECT_EQ(
                index.haystack(i),
                searchBytes(foldedRowHaystack(document.rows[i], rowStatusLabels(language))).toStdString());
        }
    }
}

TEST_F(InventorySearchIndexTest, WordsNeverMatchAcrossTwoRows) {
    // Laid end to end, "…rouge" and the next row's "Compté" read "rougecompte".
    const auto document = std::make_shared<const InventoryExportDocument>(
        makeDocument({makeRow({.itemName = u"Bol rouge"_s}), makeRow({.itemName = u"Tasse"_s}),
                      makeRow({.itemName = u"Verre rougecompte"_s}), makeRow({.itemName = u"Pot"_s})}));
    const auto names = [&](const QString& search) {
        return test::itemNames(
            InventoryAnalysisService::filteredRows(document, search, InventoryRowFilter::all, std::nullopt));
    };
    EXPECT_EQ(names(u"rougecompte"_s), QStringList{u"Verre rougecompte"_s});
    EXPECT_EQ(names(u"ecompte pot"_s), QStringList());
    EXPECT_EQ(names(u"compte"_s),
              (QStringList{u"Bol rouge"_s, u"Tasse"_s, u"Verre rougecompte"_s, u"Pot"_s}));
    EXPECT_EQ(names(u"potcompte"_s), QStringList());
}

TEST_F(InventorySearchIndexTest, FollowsALanguageChange) {
    const auto document = std::make_shared<const InventoryExportDocument>(makeDocument(
        {makeRow({.itemName = u"Pull"_s, .difference = 1, .status = InventoryExportRowStatus::difference})}));
    const auto count = [&](const QString& search) {
        return InventoryAnalysisService::filteredRows(document, search, InventoryRowFilter::all, std::nullopt)
            .size();
    };
    EXPECT_EQ(count(u"ecart pull"_s), 1);
    test::setLanguage(AppLanguage::english);
    EXPECT_EQ(count(u"ecart pull"_s), 0);
    EXPECT_EQ(count(u"difference pull"_s), 1);
    test::setLanguage(AppLanguage::french);
    EXPECT_EQ(count(u"difference pull"_s), 0);
}

TEST_F(InventorySearchIndexTest, ADocumentReplacingAFreedOneIsNotServedItsIndex) {
    const auto search = [](const std::shared_ptr<const InventoryExportDocument>& document) {
        return test::itemNames(InventoryAnalysisService::filteredRows(document, u"rouge"_s,
                                                                      InventoryRowFilter::all, std::nullopt));
    };
    // Separate allocations: the document's memory is freed at once and the allocator may
    // well hand the same address to the next document.
    const auto separately = [](InventoryExportDocument document) {
        return std::shared_ptr<const InventoryExportDocument>(
            new InventoryExportDocument(std::move(document)));
    };
    for (int round = 0; round < 8; ++round) {
        auto first = separately(
            makeDocument({makeRow({.itemName = u"Bol rouge"_s}), makeRow({.itemName = u"Bol bleu"_s})}));
        EXPECT_EQ(search(first), QStringList{u"Bol rouge"_s});
        first.reset();
        auto second = separately(
            makeDocument({makeRow({.itemName = u"Tasse bleue"_s}), makeRow({.itemName = u"Tasse rouge"_s})}));
        EXPECT_EQ(search(second), QStringList{u"Tasse rouge"_s});
    }
    // Two live documents with the same rows but different owners each get their own index.
    const auto a =
        std::make_shared<const InventoryExportDocument>(makeDocument({makeRow({.itemName = u"Rouge"_s})}));
    const auto b =
        std::make_shared<const InventoryExportDocument>(makeDocument({makeRow({.itemName = u"Vert"_s})}));
    EXPECT_EQ(search(a), QStringList{u"Rouge"_s});
    EXPECT_EQ(search(b), QStringList());
    EXPECT_EQ(search(a), QStringList{u"Rouge"_s});
}

TEST_F(InventorySearchIndexTest, PreparedIndexIsTheOneSearchesUse) {
    const auto document = std::make_shared<const InventoryExportDocument>(variedDocument());
    InventorySearchIndex::prepare(document);
    const auto index = InventorySearchIndex::cached(document, AppLanguage::french);
    EXPECT_EQ(InventorySearchIndex::cached(document, AppLanguage::french), index);
    EXPECT_NE(InventorySearchIndex::cached(document, AppLanguage::english), index);
    EXPECT_TRUE(index->isFor(*document));
    InventorySearchIndex::prepare(nullptr); // no document loaded: nothing to do
}

} // namespace
} // namespace tallybrook
