#include "analysis/InventorySearchIndex.h"

#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "analysis/SearchText.h"
#include "support/InventoryBuilders.h"
#include "support/TestLanguage.h"

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

using Document = std::shared_ptr<const InventoryExportDocument>;
using InventorySearchIndexTest = LanguageTest<AppLanguage::french>;

// Rows with accents, mixed case, absent and empty fields, every status and a few scripts.
Document variedDocument() {
    const QStringList names{u"Écharpe laine"_s, u"CAFÉ moulu"_s, u"Crème brûlée"_s, u"東京 mug"_s,
                            u"Ωmega watch"_s,   u"e\u0301clair"_s, u""_s,            u"Straße map"_s};
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
        row.category = i % 7 ? std::nullopt : std::optional<QString>(u""_s);
        row.sku = i % 2 ? std::optional<QString>(u"SKU-%1"_s.arg(i)) : std::nullopt;
        rows.append(row);
    }
    return std::make_shared<const InventoryExportDocument>(makeDocument(rows, u"Magasin"_s));
}

QStringList search(const Document& document, const QString& text) {
    return itemNames(InventoryAnalysisService::filteredRows(document, text, InventoryRowFilter::all, std::nullopt));
}

} // namespace

TEST_F(InventorySearchIndexTest, CachedSearchGivesTheRowsOfFoldingEveryRow) {
    const Document document = variedDocument();
    const QStringList searches{u""_s,           u"ÉCART laine"_s, u"compte"_s,   u"counted"_s, u"eclair"_s,
                               u"cafe MOULU"_s, u"boite rayon 3"_s, u"\"a\";"_s, u"strasse"_s, u"straße"_s,
                               u"東京"_s,       u"ω"_s,            u"sku-1 37"_s, u"reserve"_s, u"erreur error"_s};
    for (const AppLanguage language : allAppLanguages) {
        useLanguage(language);
        for (const QString& text : searches) {
            for (const InventoryRowFilter filter : allInventoryRowFilters) {
                for (const auto& location : {std::optional<QString>(), std::optional<QString>(u"Magasin"_s)}) {
                    EXPECT_EQ(InventoryAnalysisService::filteredRows(document, text, filter, location),
                              InventoryAnalysisService::filteredRows(*document, text, filter, location))
                        << text.toStdString();
                }
            }
            EXPECT_EQ(InventoryDifferenceAnalyzer::differences(document, text, std::nullopt),
                      InventoryDifferenceAnalyzer::differences(*document, text, std::nullopt));
        }
    }
}

TEST_F(InventorySearchIndexTest, WordsNeverMatchAcrossTwoRowsAndFollowTheLanguage) {
    // Laid end to end, "…rouge" and the next row's "Compté" read "rougecompte".
    const auto document = std::make_shared<const InventoryExportDocument>(makeDocument(
        {makeRow({.itemName = u"Bol rouge"_s}), makeRow({.itemName = u"Tasse"_s}),
         makeRow({.itemName = u"Verre rougecompte"_s}),
         makeRow({.itemName = u"Pot"_s, .difference = 1, .status = InventoryExportRowStatus::difference})}));
    EXPECT_EQ(search(document, u"rougecompte"_s), QStringList{u"Verre rougecompte"_s});
    EXPECT_EQ(search(document, u"ecompte tasse"_s), QStringList());
    EXPECT_EQ(search(document, u"compte"_s), (QStringList{u"Bol rouge"_s, u"Tasse"_s, u"Verre rougecompte"_s}));
    EXPECT_EQ(search(document, u"ecart pot"_s), QStringList{u"Pot"_s});
    useLanguage(AppLanguage::english);
    EXPECT_EQ(search(document, u"ecart pot"_s), QStringList());
    EXPECT_EQ(search(document, u"difference pot"_s), QStringList{u"Pot"_s});
}

TEST_F(InventorySearchIndexTest, ADocumentReplacingAFreedOneIsNotServedItsIndex) {
    // Separate allocations: the document's memory is freed at once and the allocator may well
    // hand the same address to the next document.
    const auto separately = [](InventoryExportDocument document) {
        return Document(new InventoryExportDocument(std::move(document)));
    };
    for (int round = 0; round < 8; ++round) {
        auto first = separately(makeDocument({makeRow({.itemName = u"Bol rouge"_s}), makeRow({.itemName = u"Bol"_s})}));
        EXPECT_EQ(search(first, u"rouge"_s), QStringList{u"Bol rouge"_s});
        first.reset();
        auto second = separately(makeDocument({makeRow({.itemName = u"Tasse"_s}), makeRow({.itemName = u"Vase rouge"_s})}));
        EXPECT_EQ(search(second, u"rouge"_s), QStringList{u"Vase rouge"_s});
    }
    // Two live documents each get their own index.
    const auto a = std::make_shared<const InventoryExportDocument>(makeDocument({makeRow({.itemName = u"Rouge"_s})}));
    const auto b = std::make_shared<const InventoryExportDocument>(makeDocument({makeRow({.itemName = u"Vert"_s})}));
    EXPECT_EQ(search(a, u"rouge"_s), QStringList{u"Rouge"_s});
    EXPECT_EQ(search(b, u"rouge"_s), QStringList());
    EXPECT_EQ(search(a, u"rouge"_s), QStringList{u"Rouge"_s});
}

TEST_F(InventorySearchIndexTest, PreparedIndexIsTheOneSearchesUse) {
    const Document document = variedDocument();
    InventorySearchIndex::prepare(document);
    const auto index = InventorySearchIndex::cached(document, AppLanguage::french);
    EXPECT_NE(InventorySearchIndex::cached(document, AppLanguage::english), index);
    ASSERT_EQ(index->size(), document->rows.size());
    for (qsizetype i = 0; i < document->rows.size(); ++i) {
        EXPECT_EQ(index->haystack(i),
                  searchBytes(foldedRowHaystack(document->rows[i], rowStatusLabels(AppLanguage::french))).toStdString());
    }
    InventorySearchIndex::prepare(nullptr); // no document loaded: nothing to do
}
