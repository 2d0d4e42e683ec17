#include "analysis/InventoryAnalysisService.h"

#include "analysis/InventoryDifferenceAnalyzer.h"
#include "support/InventoryBuilders.h"
#include "support/TestLanguage.h"

#include <limits>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

using InventoryAnalysisServiceTest = LanguageTest<AppLanguage::french>;
const std::optional<QString> anywhere;

QStringList differenceNames(const InventoryExportDocument& document, const QString& search = {},
                            const std::optional<QString>& location = std::nullopt) {
    return itemNames(InventoryDifferenceAnalyzer::differences(document, search, location));
}

} // namespace

TEST_F(InventoryAnalysisServiceTest, LocationSearchAndFilterMatches) {
    const InventoryExportRow inShop = makeRow({.location = u" Réserve "_s});
    const InventoryExportRow blank = makeRow({.location = u"  "_s});
    const InventoryExportDocument withSource = makeDocument({}, u" Magasin "_s);
    const InventoryExportDocument withoutSource = makeDocument({});
    const std::tuple<const InventoryExportRow&, const InventoryExportDocument&, std::optional<QString>, bool> locations[] = {
        {blank, withoutSource, anywhere, true},         {blank, withoutSource, u"  "_s, true},
        {blank, withoutSource, u"Magasin"_s, false},    {blank, withSource, u" Magasin\n"_s, true},
        {inShop, withSource, u"Réserve"_s, true},       {inShop, withSource, u"Magasin"_s, false},
        {inShop, withSource, u"réserve"_s, false},      {inShop, withoutSource, u"\tRéserve "_s, true},
    };
    for (const auto& [row, document, location, matches] : locations) {
        EXPECT_EQ(InventoryAnalysisService::matchesLocation(row, document, location), matches)
            << location.value_or(u"-"_s).toStdString() << " / " << row.location.value_or(u"-"_s).toStdString();
    }

    InventoryExportRow pull = makeRow({.itemName = u"Pull Rouge"_s, .status = InventoryExportRowStatus::difference,
                                       .location = u"Réserve"_s, .barcode = u"3760001234567"_s});
    pull.variantName = u"Taille M"_s, pull.sku = u"PUL-042"_s, pull.inventoryCode = u"INV-9"_s;
    pull.category = u"Vêtements"_s, pull.note = u"Étiquette abîmée"_s;
    const std::tuple<AppLanguage, QString, bool> searches[] = {
        {AppLanguage::french, u"ecart rouge"_s, true},        {AppLanguage::english, u"ecart rouge"_s, false},
        {AppLanguage::english, u"difference rouge"_s, true},  {AppLanguage::french, u"  "_s, true},
        {AppLanguage::french, u"vetements reserve"_s, true},  {AppLanguage::french, u"abimee etiquette"_s, true},
        {AppLanguage::french, u"pul-042 inv-9 taille"_s, true}, {AppLanguage::french, u"1234567"_s, true},
        {AppLanguage::french, u"rouge bleu"_s, false},
    };
    for (const auto& [language, text, matches] : searches) {
        useLanguage(language);
        EXPECT_EQ(InventoryAnalysisService::matchesSearch(pull, text), matches) << text.toStdString();
    }

    // The filters read the exported difference and counted quantity, not the status.
    using F = InventoryRowFilter;
    const auto row = [](std::optional<qint64> difference, std::optional<qint64> counted, std::optional<qint64> reference,
                        InventoryExportRowStatus status = InventoryExportRowStatus::counted) {
        InventoryExportRow r = makeRow({.difference = difference, .status = status});
        r.countedQuantity = counted, r.referenceQuantity = reference;
        return r;
    };
    const std::pair<InventoryExportRow, QList<F>> filters[] = {
        {row(-2, 3, 5), {F::all, F::differencesOnly, F::missingStock}},
        {row(4, 9, std::nullopt), {F::all, F::differencesOnly, F::extraStock, F::withoutReferenceStock}},
        {row(0, 1, 1, InventoryExportRowStatus::difference), {F::all}},
        {row(std::nullopt, 0, 2, InventoryExportRowStatus::notCounted), {F::all, F::notCounted}},
        {row(std::nullopt, std::nullopt, 2), {F::all, F::notCounted}},
    };
    for (const auto& [r, passes] : filters) {
        for (const F filter : allInventoryRowFilters) {
            EXPECT_EQ(InventoryAnalysisService::matchesFilter(r, filter), passes.contains(filter))
                << rawValue(filter).toStdString() << " " << r.difference.value_or(99);
        }
    }
}

TEST_F(InventoryAnalysisServiceTest, FilteredRowsCombineTheThreeMatchesInDocumentOrder) {
    const auto document = std::make_shared<const InventoryExportDocument>(makeDocument(
        {makeRow({.itemName = u"Bol bleu"_s, .difference = -1, .location = u"Réserve"_s}),
         makeRow({.itemName = u"Bol rouge"_s, .difference = 2}),
         makeRow({.itemName = u"Tasse rouge"_s, .difference = 3, .location = u"Réserve"_s}),
         makeRow({.itemName = u"Assiette"_s, .status = InventoryExportRowStatus::notCounted})},
        u"Magasin"_s));
    const std::tuple<QString, InventoryRowFilter, std::optional<QString>, QStringList> cases[] = {
        {u""_s, InventoryRowFilter::all, u" "_s, {u"Bol bleu"_s, u"Bol rouge"_s, u"Tasse rouge"_s, u"Assiette"_s}},
        {u""_s, InventoryRowFilter::all, u"Magasin"_s, {u"Bol rouge"_s, u"Assiette"_s}},
        {u"rouge"_s, InventoryRowFilter::all, u"Réserve"_s, {u"Tasse rouge"_s}},
        {u"bol"_s, InventoryRowFilter::extraStock, anywhere, {u"Bol rouge"_s}},
        {u"ecart"_s, InventoryRowFilter::all, anywhere, {}}, // statuses are "Compté" and "Non compté"
        {u"non compte"_s, InventoryRowFilter::notCounted, anywhere, {u"Assiette"_s}},
        {u""_s, InventoryRowFilter::missingStock, u"Réserve"_s, {u"Bol bleu"_s}},
    };
    for (const auto& [search, filter, location, names] : cases) {
        EXPECT_EQ(itemNames(InventoryAnalysisService::filteredRows(*document, search, filter, location)), names)
            << search.toStdString();
        EXPECT_EQ(itemNames(InventoryAnalysisService::filteredRows(document, search, filter, location)), names)
            << "cached: " << search.toStdString();
    }
    const auto listed = InventoryAnalysisService::filteredRows(document, QString(), InventoryRowFilter::all, anywhere);
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(listed.first(), &document->rows.first()); // the document's own rows, not copies
}

TEST_F(InventoryAnalysisServiceTest, DifferencesLargestGapFirstThenByNameInCodePointOrder) {
    constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
    const auto document = makeDocument({
        makeRow({.itemName = u"b"_s, .difference = 5}),
        makeRow({.itemName = u"B"_s, .difference = -5}),
        makeRow({.difference = 5, .barcode = u"A-code"_s}), // sorts by its barcode
        makeRow({.difference = -5}),                        // no name, no barcode: empty key, first
        makeRow({.itemName = u"Écharpe"_s, .difference = 5}),
        makeRow({.itemName = u"Pull bleu"_s, .difference = 5}),
        makeRow({.itemName = u"Pul"_s, .difference = 5}),
        makeRow({.itemName = u"\U0001F600"_s, .difference = 5}), // above U+FF21, though its code units are below
        makeRow({.itemName = u"\uFF21"_s, .difference = 5}),
        makeRow({.itemName = u"max"_s, .difference = int64Max}),
        makeRow({.itemName = u"min"_s, .difference = -int64Max - 1}),
        makeRow({.itemName = u"seven"_s, .difference = -7}),
        makeRow({.itemName = u"zero"_s, .difference = 0, .status = InventoryExportRowStatus::difference}),
        makeRow({.itemName = u"absent"_s, .status = InventoryExportRowStatus::difference}),
    });
    EXPECT_EQ(differenceNames(document), (QStringList{u"min"_s, u"max"_s, u"seven"_s, u"-"_s, u"-"_s, u"B"_s,
                                                      u"Pul"_s, u"Pull bleu"_s, u"b"_s, u"Écharpe"_s, u"\uFF21"_s,
                                                      u"\U0001F600"_s}));
    const std::tuple<QString, QString, int> orders[] = {
        {u"ab"_s, u"a"_s, 1}, {u""_s, u""_s, 0}, {u"B"_s, u"b"_s, -1}, {u"\U0001F600"_s, u"\uFFFD"_s, 1},
        {u"\U0001F600"_s, u"\U0001F601"_s, -1}, {u"\uE000"_s, u"\U00010000"_s, -1},
        {u"\uE000"_s, u"a"_s, 1}};
    for (const auto& [a, b, order] : orders) {
        EXPECT_EQ(InventoryDifferenceAnalyzer::compareCodePoints(a, b), order) << a.toStdString() << " " << b.toStdString();
    }
    // Composed and decomposed names are equal and keep document order.
    const auto accents = makeDocument({makeRow({.itemName = u"Cafe\u0301"_s, .difference = 2}),
                                       makeRow({.itemName = u"Café"_s, .difference = -2}),
                                       makeRow({.itemName = u"Cafd"_s, .difference = 2}),
                                       makeRow({.itemName = u"Cafe\u0301"_s, .difference = 2})});
    const auto rows = InventoryDifferenceAnalyzer::differences(accents, QString(), anywhere);
    EXPECT_EQ(rows, (InventoryRowList{&accents.rows[2], &accents.rows[0], &accents.rows[1], &accents.rows[3]}));

    const auto located = makeDocument({makeRow({.itemName = u"Bol rouge"_s, .difference = 1}),
                                       makeRow({.itemName = u"Tasse rouge"_s, .difference = -4, .location = u"Réserve"_s}),
                                       makeRow({.itemName = u"Bol bleu"_s, .difference = 2, .location = u" Magasin"_s})},
                                      u"Magasin"_s);
    EXPECT_EQ(differenceNames(located, u"  "_s, u"Magasin"_s), (QStringList{u"Bol bleu"_s, u"Bol rouge"_s}));
    EXPECT_EQ(differenceNames(located, u"ROUGE compte"_s, u"Magasin"_s), QStringList{u"Bol rouge"_s});
}

TEST_F(InventoryAnalysisServiceTest, UnknownCodesFollowTheirOwnLocationOrTheirRows) {
    InventoryExportRow unknownInReserve = makeRow(
        {.status = InventoryExportRowStatus::unknownCode, .location = u"Réserve"_s, .barcode = u"111"_s});
    InventoryExportRow unknownSource = makeRow({});
    unknownSource.source = u"unknown"_s, unknownSource.inventoryCode = u"222"_s;
    InventoryExportRow counted = makeRow({.location = u"Réserve"_s, .barcode = u"333"_s});
    counted.source = u"woocommerce"_s;
    auto document = makeDocument({unknownInReserve, unknownSource, counted}, u"Magasin"_s);
    for (const auto& [code, location] : {std::pair<QString, std::optional<QString>>{u"111"_s, anywhere},
                                         {u"222"_s, anywhere}, {u"333"_s, anywhere}, {u"444"_s, u" Réserve "_s},
                                         {u"111 "_s, anywhere}}) {
        document.unknownCodes.append(InventoryExportUnknownCode());
        document.unknownCodes.last().code = code;
        document.unknownCodes.last().location = location;
    }
    const auto codesOf = [&](std::optional<QString> location) {
        QStringList codes;
        for (const auto& unknown : InventoryAnalysisService::unknownCodes(document, location)) {
            codes.append(unknown.code);
        }
        return codes;
    };
    EXPECT_EQ(codesOf(u"  "_s), (QStringList{u"111"_s, u"222"_s, u"333"_s, u"444"_s, u"111 "_s}));
    // 333 belongs to a counted row (not related); "111 " differs from the row's code.
    EXPECT_EQ(codesOf(u"Réserve"_s), (QStringList{u"111"_s, u"444"_s}));
    EXPECT_EQ(codesOf(u"Magasin"_s), (QStringList{u"222"_s}));
}

TEST_F(InventoryAnalysisServiceTest, LocationsAreDistinctAndSortedWithoutRegardToCase) {
    QList<InventoryExportRow> rows{makeRow({.location = u"Bureau"_s}), makeRow({.location = u" atelier "_s}),
                                   makeRow({.location = u"atelier"_s}), makeRow({.location = u"   "_s}), makeRow({}),
                                   makeRow({.location = u"Écurie"_s}), makeRow({.location = u"entrepôt"_s})};
    // Localised: "Écurie" sorts with the e's, not after "Zone" as in code point order.
    const QStringList expected{u"atelier"_s, u"Bureau"_s, u"Écurie"_s, u"entrepôt"_s, u"Zone B"_s};
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument(rows, u"Zone B"_s)), expected);
    useLanguage(AppLanguage::english);
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument(rows, u"Zone B"_s)), expected);
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument({}, u" Magasin "_s)), QStringList{u"Magasin"_s});
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument({makeRow({})})), QStringList());
}

TEST_F(InventoryAnalysisServiceTest, BarcodeColumnShowsTheBarcodeOrTheItemsAliases) {
    auto document = makeDocument({});
    for (const auto& [code, item] : {std::pair{u" A1 "_s, u"item-1"_s}, {u"B2"_s, u" item-1"_s}, {u"A1"_s, u"item-1"_s},
                                     {u"  "_s, u"item-1"_s}, {u"C3"_s, u"item-2"_s}, {u"D4"_s, u"ITEM-1"_s}}) {
        document.scanAliasesCreated.append(InventoryExportScanAlias());
        document.scanAliasesCreated.last().code = code;
        document.scanAliasesCreated.last().itemLocalId = item;
    }
    const auto row = [](std::optional<QString> barcode, std::optional<QString> localItemId) {
        InventoryExportRow r = makeRow({.barcode = std::move(barcode)});
        r.localItemId = std::move(localItemId);
        return r;
    };
    const std::pair<InventoryExportRow, QStringList> cases[] = {
        {row(u" 376 "_s, u"item-1"_s), {u"376"_s}}, {row(u"  "_s, u" item-1 "_s), {u"A1"_s, u"B2"_s}},
        {row(std::nullopt, u"item-2"_s), {u"C3"_s}}, {row(std::nullopt, u"item-3"_s), {}},
        {row(std::nullopt, u" "_s), {}},             {row(std::nullopt, std::nullopt), {}},
    };
    const BarcodeColumnIndex index(document);
    for (const auto& [r, codes] : cases) {
        EXPECT_EQ(InventoryAnalysisService::barcodeColumnCodes(r, document), codes);
        EXPECT_EQ(index.barcodeColumnCodes(r), codes);
    }
}

TEST_F(InventoryAnalysisServiceTest, AnalysisCountsFromTheListsAndTheCorrections) {
    InventoryExportRow correctable = makeRow({.difference = 2, .status = InventoryExportRowStatus::difference});
    correctable.countedQuantity = 5, correctable.externalProductId = u"42"_s;
    InventoryExportRow emptyProductId = correctable, noCount = correctable;
    emptyProductId.externalProductId = u""_s;
    noCount.countedQuantity.reset();
    InventoryExportRow countedWithDifference = makeRow({.difference = -1});
    countedWithDifference.countedQuantity = 1, countedWithDifference.externalProductId = u"7"_s;
    auto document = makeDocument({correctable, emptyProductId, noCount,
                                  makeRow({.difference = 0, .status = InventoryExportRowStatus::difference}),
                                  countedWithDifference, makeRow({.status = InventoryExportRowStatus::notCounted}),
                                  makeRow({.status = InventoryExportRowStatus::unknownCode})});
    document.exportedAt = QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30), Qt::UTC);
    document.unknownCodes = {InventoryExportUnknownCode{}, InventoryExportUnknownCode{}};
    // Each temporary item falls in one list: of the session, legacy (no or empty id), or foreign
    // (the id must match exactly).
    for (const std::optional<QString>& sessionId : {std::optional(testSessionId), std::optional(testSessionId), std::optional<QString>(),
                                                    std::optional(u""_s), std::optional(u"other"_s),
                                                    std::optional(testSessionId.toLower()), std::optional(QString(u" "_s + testSessionId))}) {
        document.temporaryItems.append(InventoryExportTemporaryItem());
        document.temporaryItems.last().sessionId = sessionId;
    }
    InventorySessionAnalysis expected{QUuid::fromString(testSessionId), u"Printemps"_s, document.exportedAt, u"Boutique"_s, 7, 5, 1, 4, 2, 2, 1, 2, 3};
    EXPECT_EQ(InventoryAnalysisService::makeAnalysis(document, {}), expected);

    // With corrections, the rows are not looked at: the manually correctable statuses count.
    QList<WooCorrectionPreview> corrections;
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        corrections.append(WooCorrectionPreview{});
        corrections.last().status = status;
    }
    expected.possibleWooCorrectionsCount = 4;
    EXPECT_EQ(InventoryAnalysisService::makeAnalysis(document, corrections), expected);

    document.session.id = u"not-a-uuid"_s;
    const QUuid first = InventoryAnalysisService::makeAnalysis(document, {}).sessionId;
    EXPECT_FALSE(first.isNull());
    EXPECT_NE(first, InventoryAnalysisService::makeAnalysis(document, {}).sessionId) << "a fresh one each time";
}

