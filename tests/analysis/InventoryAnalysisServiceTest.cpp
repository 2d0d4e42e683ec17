#include "analysis/InventoryAnalysisService.h"

#include "analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using test::makeDocument;
using test::makeRow;
using test::RowSpec;

class InventoryAnalysisServiceTest : public test::AnalysisTest {};

TEST_F(InventoryAnalysisServiceTest, LocationMatchFallsBackToTheSourceLocation) {
    const InventoryExportRow inShop = makeRow({.location = u" Réserve "_s});
    const InventoryExportRow blankLocation = makeRow({.location = u"  "_s});
    const InventoryExportRow noLocation = makeRow({});
    const InventoryExportDocument withSource = makeDocument({}, u" Magasin "_s);
    const InventoryExportDocument withoutSource = makeDocument({});
    const std::optional<QString> none;
    const struct {
        const InventoryExportRow& row;
        const InventoryExportDocument& document;
        std::optional<QString> location;
        bool matches;
    } cases[] = {
        {noLocation, withoutSource, none, true},
        {noLocation, withoutSource, u"  "_s, true},
        {noLocation, withoutSource, u"Magasin"_s, false},
        {noLocation, withSource, u"Magasin"_s, true},
        {blankLocation, withSource, u" Magasin\n"_s, true},
        {inShop, withSource, u"Réserve"_s, true},
        {inShop, withSource, u"Magasin"_s, false},
        {inShop, withSource, u"réserve"_s, false}, // case-sensitive
        {inShop, withoutSource, u"\tRéserve "_s, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InventoryAnalysisService::matchesLocation(c.row, c.document, c.location), c.matches)
            << c.location.value_or(u"<none>"_s).toStdString() << " / "
            << c.row.location.value_or(u"<none>"_s).toStdString();
    }
}

TEST_F(InventoryAnalysisServiceTest, SearchMatchesAccentFreeWordsInTheCurrentLanguage) {
    InventoryExportRow pull =
        makeRow({.itemName = u"Pull Rouge"_s, .status = InventoryExportRowStatus::difference});
    pull.variantName = u"Taille M"_s;
    pull.sku = u"PUL-042"_s;
    pull.inventoryCode = u"INV-9"_s;
    pull.category = u"Vêtements"_s;
    pull.location = u"Réserve"_s;
    pull.note = u"Étiquette abîmée"_s;
    pull.barcode = u"3760001234567"_s;
    const struct {
        AppLanguage language;
        QString search;
        bool matches;
    } cases[] = {
        {AppLanguage::french, u"ecart rouge"_s, true},
        {AppLanguage::english, u"ecart rouge"_s, false},
        {AppLanguage::english, u"difference rouge"_s, true},
        {AppLanguage::french, u"difference"_s, false},
        {AppLanguage::french, u"  "_s, true},
        {AppLanguage::french, u"ROUGE pull"_s, true},
        {AppLanguage::french, u"vetements reserve"_s, true},
        {AppLanguage::french, u"abimee etiquette"_s, true},
        {AppLanguage::french, u"pul-042 inv-9 taille"_s, true},
        {AppLanguage::french, u"1234567"_s, true},
        {AppLanguage::french, u"rouge bleu"_s, false},
        {AppLanguage::english, u"m reserve"_s, true},
    };
    for (const auto& c : cases) {
        test::setLanguage(c.language);
        EXPECT_EQ(InventoryAnalysisService::matchesSearch(pull, c.search), c.matches)
            << c.search.toStdString() << " in " << rawValue(c.language).toStdString();
    }
}

TEST_F(InventoryAnalysisServiceTest, FilterMatchReadsTheExportedDifference) {
    using F = InventoryRowFilter;
    struct Case {
        const char* name;
        InventoryExportRow row;
        QList<F> passes;
    };
    InventoryExportRow missing = makeRow({.difference = -2});
    missing.countedQuantity = 3;
    missing.referenceQuantity = 5;
    InventoryExportRow extra = makeRow({.difference = 4});
    extra.countedQuantity = 9;
    InventoryExportRow zeroDifference =
        makeRow({.difference = 0, .status = InventoryExportRowStatus::difference});
    zeroDifference.countedQuantity = 1;
    zeroDifference.referenceQuantity = 1;
    InventoryExportRow notCounted = makeRow({.status = InventoryExportRowStatus::notCounted});
    notCounted.countedQuantity = 0;
    notCounted.referenceQuantity = 2;
    InventoryExportRow countedWithoutQuantity = makeRow({});
    countedWithoutQuantity.referenceQuantity = 2;
    const Case cases[] = {
        {"missing", missing, {F::all, F::differencesOnly, F::missingStock}},
        {"extra", extra, {F::all, F::differencesOnly, F::extraStock, F::withoutReferenceStock}},
        {"zero difference", zeroDifference, {F::all}},
        {"not counted", notCounted, {F::all, F::notCounted}},
        {"counted without quantity", countedWithoutQuantity, {F::all, F::notCounted}},
    };
    for (const Case& c : cases) {
        for (const F filter : allInventoryRowFilters) {
            EXPECT_EQ(InventoryAnalysisService::matchesFilter(c.row, filter), c.passes.contains(filter))
                << c.name << " / " << rawValue(filter).toStdString();
        }
    }
}

TEST_F(InventoryAnalysisServiceTest, FilteredRowsCombineTheThreeMatchesInDocumentOrder) {
    QList<InventoryExportRow> rows = {
        makeRow({.itemName = u"Bol bleu"_s, .difference = -1, .location = u"Réserve"_s}),
        makeRow({.itemName = u"Bol rouge"_s, .difference = 2}),
        makeRow({.itemName = u"Tasse rouge"_s, .difference = 3, .location = u"Réserve"_s}),
        makeRow({.itemName = u"Assiette"_s, .status = InventoryExportRowStatus::notCounted}),
    };
    const auto document = std::make_shared<const InventoryExportDocument>(makeDocument(rows, u"Magasin"_s));
    const std::optional<QString> none;
    const struct {
        QString search;
        InventoryRowFilter filter;
        std::optional<QString> location;
        QStringList names;
    } cases[] = {
        {u""_s,
         InventoryRowFilter::all,
         none,
         {u"Bol bleu"_s, u"Bol rouge"_s, u"Tasse rouge"_s, u"Assiette"_s}},
        {u""_s,
         InventoryRowFilter::all,
         u" "_s,
         {u"Bol bleu"_s, u"Bol rouge"_s, u"Tasse rouge"_s, u"Assiette"_s}},
        {u""_s, InventoryRowFilter::all, u"Magasin"_s, {u"Bol rouge"_s, u"Assiette"_s}},
        {u"rouge"_s, InventoryRowFilter::all, none, {u"Bol rouge"_s, u"Tasse rouge"_s}},
        {u"rouge"_s, InventoryRowFilter::all, u"Réserve"_s, {u"Tasse rouge"_s}},
        {u"bol"_s, InventoryRowFilter::extraStock, none, {u"Bol rouge"_s}},
        {u"ecart"_s, InventoryRowFilter::all, none, {}}, // statuses are "Compté" and "Non compté"
        {u"non compte"_s, InventoryRowFilter::notCounted, none, {u"Assiette"_s}},
        {u""_s, InventoryRowFilter::missingStock, u"Réserve"_s, {u"Bol bleu"_s}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::itemNames(
                      InventoryAnalysisService::filteredRows(*document, c.search, c.filter, c.location)),
                  c.names)
            << c.search.toStdString();
        EXPECT_EQ(
            test::itemNames(InventoryAnalysisService::filteredRows(document, c.search, c.filter, c.location)),
            c.names)
            << "cached: " << c.search.toStdString();
    }
    const auto listed =
        InventoryAnalysisService::filteredRows(document, QString(), InventoryRowFilter::all, none);
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(listed.first(), &document->rows.first()); // the document's own rows, not copies
}

TEST_F(InventoryAnalysisServiceTest, UnknownCodesFollowTheirOwnLocationOrTheirRows) {
    InventoryExportRow unknownInReserve = makeRow(
        {.status = InventoryExportRowStatus::unknownCode, .location = u"Réserve"_s, .barcode = u"111"_s});
    InventoryExportRow unknownSourceWithoutLocation = makeRow({});
    unknownSourceWithoutLocation.source = u"unknown"_s;
    unknownSourceWithoutLocation.inventoryCode = u"222"_s;
    InventoryExportRow countedWithCode = makeRow({.location = u"Réserve"_s, .barcode = u"333"_s});
    countedWithCode.source = u"woocommerce"_s;
    auto document =
        makeDocument({unknownInReserve, unknownSourceWithoutLocation, countedWithCode}, u"Magasin"_s);
    const auto code = [](QString text, std::optional<QString> location) {
        InventoryExportUnknownCode unknown;
        unknown.code = std::move(text);
        unknown.location = std::move(location);
        return unknown;
    };
    document.unknownCodes = {code(u"111"_s, std::nullopt), code(u"222"_s, std::nullopt),
                             code(u"333"_s, std::nullopt), code(u"444"_s, u" Réserve "_s),
                             code(u"111 "_s, std::nullopt)};
    const auto codesOf = [&](std::optional<QString> location) {
        QStringList codes;
        for (const auto& unknown : InventoryAnalysisService::unknownCodes(document, location)) {
            codes.append(unknown.code);
        }
        return codes;
    };
    EXPECT_EQ(codesOf(std::nullopt), (QStringList{u"111"_s, u"222"_s, u"333"_s, u"444"_s, u"111 "_s}));
    EXPECT_EQ(codesOf(u"  "_s), (QStringList{u"111"_s, u"222"_s, u"333"_s, u"444"_s, u"111 "_s}));
    // 333 belongs to a counted row (not related); "111 " differs from the row's code.
    EXPECT_EQ(codesOf(u"Réserve"_s), (QStringList{u"111"_s, u"444"_s}));
    EXPECT_EQ(codesOf(u"Magasin"_s), (QStringList{u"222"_s}));
    EXPECT_EQ(codesOf(u"Ailleurs"_s), QStringList());
}

TEST_F(InventoryAnalysisServiceTest, LocationsAreDistinctAndSortedWithoutRegardToCase) {
    const auto document =
        makeDocument({makeRow({.location = u"Bureau"_s}), makeRow({.location = u" atelier "_s}),
                      makeRow({.location = u"atelier"_s}), makeRow({.location = u"   "_s}), makeRow({}),
                      makeRow({.location = u"Écurie"_s}), makeRow({.location = u"entrepôt"_s})},
                     u"Zone B"_s);
    // Localised: "Écurie" sorts with the e's, not after "Zone" as in code point order.
    const QStringList expected{u"atelier"_s, u"Bureau"_s, u"Écurie"_s, u"entrepôt"_s, u"Zone B"_s};
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(document), expected);
    test::setLanguage(AppLanguage::english);
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(document), expected);
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument({}, u" Magasin "_s)),
              QStringList{u"Magasin"_s});
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument({makeRow({})})), QStringList());

    // Many locations, each written several times.
    QList<InventoryExportRow> rows;
    QStringList many;
    for (int round = 0; round < 3; ++round) {
        for (int i = 40; i > 0; --i) {
            rows.append(makeRow({.location = u"Allée %1 "_s.arg(i, 2, 10, QChar(u'0'))}));
        }
    }
    for (int i = 1; i <= 40; ++i) {
        many.append(u"Allée %1"_s.arg(i, 2, 10, QChar(u'0')));
    }
    EXPECT_EQ(InventoryAnalysisService::inventoryLocations(makeDocument(rows, u"Allée 07"_s)), many);
}

TEST_F(InventoryAnalysisServiceTest, TemporaryItemsFallInExactlyOneList) {
    auto document = makeDocument({});
    const auto item = [](QString name, std::optional<QString> sessionId) {
        InventoryExportTemporaryItem temporary;
        temporary.id = name;
        temporary.sessionId = std::move(sessionId);
        return temporary;
    };
    const QString session = document.session.id;
    document.temporaryItems = {item(u"same"_s, session),
                               item(u"none"_s, std::nullopt),
                               item(u"empty"_s, u""_s),
                               item(u"other"_s, u"0F1E2D3C-0000-4000-8000-000000000000"_s),
                               item(u"lower"_s, session.toLower()),
                               item(u"spaced"_s, u" "_s + session)};
    const auto ids = [](const QList<InventoryExportTemporaryItem>& items) {
        QStringList result;
        for (const auto& temporary : items) {
            result.append(temporary.id);
        }
        return result;
    };
    EXPECT_EQ(ids(InventoryAnalysisService::temporaryItemsForImportedSession(document)),
              QStringList{u"same"_s});
    EXPECT_EQ(ids(InventoryAnalysisService::temporaryItemsForOtherSessions(document)),
              (QStringList{u"other"_s, u"lower"_s, u"spaced"_s}));
    EXPECT_EQ(ids(InventoryAnalysisService::legacyTemporaryItemsWithoutSession(document)),
              (QStringList{u"none"_s, u"empty"_s}));
}

TEST_F(InventoryAnalysisServiceTest, BarcodeColumnShowsTheBarcodeOrTheItemsAliases) {
    auto document = makeDocument({});
    const auto alias = [](QString code, QString itemId) {
        InventoryExportScanAlias scanAlias;
        scanAlias.code = std::move(code);
        scanAlias.itemLocalId = std::move(itemId);
        return scanAlias;
    };
    document.scanAliasesCreated = {alias(u" A1 "_s, u"item-1"_s), alias(u"B2"_s, u" item-1"_s),
                                   alias(u"A1"_s, u"item-1"_s),   alias(u"  "_s, u"item-1"_s),
                                   alias(u"C3"_s, u"item-2"_s),   alias(u"D4"_s, u"ITEM-1"_s)};
    const auto row = [](std::optional<QString> barcode, std::optional<QString> localItemId) {
        InventoryExportRow r = makeRow({.barcode = std::move(barcode)});
        r.localItemId = std::move(localItemId);
        return r;
    };
    const struct {
        InventoryExportRow row;
        QStringList codes;
    } cases[] = {
        {row(u" 376 "_s, u"item-1"_s), {u"376"_s}},
        {row(u"  "_s, u" item-1 "_s), {u"A1"_s, u"B2"_s}},
        {row(std::nullopt, u"item-2"_s), {u"C3"_s}},
        {row(std::nullopt, u"item-3"_s), {}},
        {row(std::nullopt, u" "_s), {}},
        {row(std::nullopt, std::nullopt), {}},
    };
    const BarcodeColumnIndex index(document);
    for (const auto& c : cases) {
        EXPECT_EQ(InventoryAnalysisService::barcodeColumnCodes(c.row, document), c.codes);
        EXPECT_EQ(index.barcodeColumnCodes(c.row), c.codes);
    }
}

TEST_F(InventoryAnalysisServiceTest, AnalysisCountsFromTheListsAndTheCorrections) {
    InventoryExportRow correctable =
        makeRow({.difference = 2, .status = InventoryExportRowStatus::difference});
    correctable.countedQuantity = 5;
    correctable.externalProductId = u"42"_s;
    InventoryExportRow emptyProductId = correctable;
    emptyProductId.externalProductId = u""_s;
    InventoryExportRow noCount = correctable;
    noCount.countedQuantity.reset();
    InventoryExportRow zeroDifference =
        makeRow({.difference = 0, .status = InventoryExportRowStatus::difference});
    InventoryExportRow countedWithDifference = makeRow({.difference = -1});
    countedWithDifference.countedQuantity = 1;
    countedWithDifference.externalProductId = u"7"_s;
    InventoryExportRow notCounted = makeRow({.status = InventoryExportRowStatus::notCounted});
    InventoryExportRow unknown = makeRow({.status = InventoryExportRowStatus::unknownCode});

    auto document = makeDocument(
        {correctable, emptyProductId, noCount, zeroDifference, countedWithDifference, notCounted, unknown});
    document.exportedAt = QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30), Qt::UTC);
    document.unknownCodes = {InventoryExportUnknownCode{}, InventoryExportUnknownCode{}};
    InventoryExportTemporaryItem mine;
    mine.sessionId = document.session.id;
    InventoryExportTemporaryItem other;
    other.sessionId = u"other"_s;
    document.temporaryItems = {mine, mine, other, InventoryExportTemporaryItem{}};

    InventorySessionAnalysis expected;
    expected.sessionId = QUuid::fromString(u"6B1F3A52-7C0D-4E59-9D3A-1F2E3D4C5B6A"_s);
    expected.sessionName = u"Printemps"_s;
    expected.exportedAt = document.exportedAt;
    expected.sourceDisplayName = u"Boutique"_s;
    expected.totalRows = 7;
    expected.countedRows = 5;
    expected.notCountedRows = 1;
    expected.differenceRows = 4;
    expected.unknownCodesCount = 2;
    expected.temporaryItemsCount = 2;
    expected.possibleWooCorrectionsCount = 1;
    expected.legacyTemporaryItemsCount = 1;
    expected.ignoredTemporaryItemsCount = 1;
    EXPECT_EQ(InventoryAnalysisService::makeAnalysis(document, {}), expected);

    // With corrections, the rows are not looked at: the manually correctable statuses count.
    QList<WooCorrectionPreview> corrections;
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        WooCorrectionPreview preview;
        preview.status = status;
        corrections.append(preview);
    }
    expected.possibleWooCorrectionsCount = 4;
    EXPECT_EQ(InventoryAnalysisService::makeAnalysis(document, corrections), expected);
}

TEST_F(InventoryAnalysisServiceTest, AnalysisOfASessionIdThatIsNoUuidGetsAFreshOne) {
    auto document = makeDocument({});
    document.session.id = u"not-a-uuid"_s;
    const auto first = InventoryAnalysisService::makeAnalysis(document, {});
    const auto second = InventoryAnalysisService::makeAnalysis(document, {});
    EXPECT_FALSE(first.sessionId.isNull());
    EXPECT_NE(first.sessionId, second.sessionId);
}

TEST_F(InventoryAnalysisServiceTest, RowFiltersHaveRawValuesAndLabels) {
    for (const InventoryRowFilter filter : allInventoryRowFilters) {
        EXPECT_EQ(inventoryRowFilterFromRawValue(rawValue(filter)), filter);
    }
    EXPECT_EQ(rawValue(InventoryRowFilter::withoutReferenceStock), u"withoutReferenceStock"_s);
    EXPECT_EQ(inventoryRowFilterFromRawValue(u"DifferencesOnly"), std::nullopt);
    EXPECT_EQ(label(InventoryRowFilter::differencesOnly, AppLanguage::french), u"Écarts uniquement"_s);
    EXPECT_EQ(label(InventoryRowFilter::withoutReferenceStock, AppLanguage::english),
              u"Without reference stock"_s);
    test::setLanguage(AppLanguage::english);
    EXPECT_EQ(label(InventoryRowFilter::all), u"All rows"_s);
}

} // namespace
} // namespace tallybrook
