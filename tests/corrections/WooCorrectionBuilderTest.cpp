#include "corrections/WooCorrectionBuilder.h"

#include "CorrectionTestSupport.h"
#include "corrections/WooStockComparisonService.h"
#include "document/InventoryExportDocument.h"
#include "localization/AppText.h"

#include <QSet>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

using test::CorrectionTest;

const QString sessionText = u"6b1c0f6e-7a3b-4c8d-9e0f-112233445566"_s;
const QUuid itemA = QUuid::fromString(u"AAAAAAAA-0000-4000-8000-000000000001"_s);
const QUuid itemB = QUuid::fromString(u"BBBBBBBB-0000-4000-8000-000000000002"_s);

/// A counted catalogue row for product 12 with reference 3 and count 5: ready before any reload.
InventoryExportRow readyRow() {
    InventoryExportRow row;
    row.sessionId = sessionText;
    row.source = u"woocommerce"_s;
    row.externalProductId = u"12"_s;
    row.localItemId = itemA.toString(QUuid::WithoutBraces);
    row.itemName = u"Mug"_s;
    row.referenceQuantity = 3;
    row.countedQuantity = 5;
    row.difference = 2;
    row.status = InventoryExportRowStatus::difference;
    return row;
}

RemoteStockLevel level(std::optional<QUuid> localItem, std::optional<qint64> quantity,
                       std::optional<bool> managed = true, std::optional<QString> product = u"12"_s,
                       std::optional<QString> variant = std::nullopt) {
    return RemoteStockLevel{localItem,
                            std::move(product),
                            std::move(variant),
                            quantity,
                            managed,
                            QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)};
}

InventoryExportDocument documentWith(QList<InventoryExportRow> rows) {
    InventoryExportDocument document;
    document.session.id = sessionText;
    document.rows = std::move(rows);
    return document;
}

WooCorrectionPreview buildOne(const InventoryExportRow& row, const QList<RemoteStockLevel>& levels) {
    const QList<WooCorrectionPreview> previews =
        WooCorrectionBuilder().buildPreviews(documentWith({row}), levels);
    EXPECT_EQ(previews.size(), 1);
    return previews.value(0);
}

TEST_F(CorrectionTest, StatusRulesApplyInOrder) {
    struct Case {
        const char* name;
        std::function<void(InventoryExportRow&)> change;
        QList<RemoteStockLevel> levels;
        WooCorrectionStatus status;
        const char16_t* messageKey;
    };
    const auto none = [](InventoryExportRow&) {};
    const QList<Case> cases{
        {"1 unknown-code status beats everything",
         [](InventoryExportRow& r) { r.status = InventoryExportRowStatus::unknownCode; },
         {level(itemA, 5, false)},
         WooCorrectionStatus::unknownCode,
         u"wooCorrection.unknownCode"},
        {"2 source unknown",
         [](InventoryExportRow& r) { r.source = u"unknown"_s; },
         {},
         WooCorrectionStatus::unknownCode,
         u"wooCorrection.unknownCode"},
        {"3 temporary status before missing product id",
         [](InventoryExportRow& r) {
             r.status = InventoryExportRowStatus::temporaryItem;
             r.externalProductId.reset();
         },
         {},
         WooCorrectionStatus::temporaryItem,
         u"wooCorrection.temporaryItem"},
        {"4 source temporary",
         [](InventoryExportRow& r) { r.source = u"temporary"_s; },
         {},
         WooCorrectionStatus::temporaryItem,
         u"wooCorrection.temporaryItem"},
        {"2 unknown source before temporary status",
         [](InventoryExportRow& r) {
             r.source = u"unknown"_s;
             r.status = InventoryExportRowStatus::temporaryItem;
         },
         {},
         WooCorrectionStatus::unknownCode,
         u"wooCorrection.unknownCode"},
        {"4 temporary source before missing product id and count",
         [](InventoryExportRow& r) {
             r.source = u"temporary"_s;
             r.externalProductId.reset();
             r.countedQuantity.reset();
         },
         {},
         WooCorrectionStatus::temporaryItem,
         u"wooCorrection.temporaryItem"},
        {"5 missing product id before missing count",
         [](InventoryExportRow& r) {
             r.externalProductId.reset();
             r.countedQuantity.reset();
         },
         {},
         WooCorrectionStatus::missingRemoteIdentifier,
         u"wooCorrection.missingWooId"},
        {"source match is exact",
         [](InventoryExportRow& r) { r.source = u"Unknown"_s; },
         {},
         WooCorrectionStatus::ready,
         u"wooCorrection.ready"},
        {"5 no product id",
         [](InventoryExportRow& r) { r.externalProductId.reset(); },
         {},
         WooCorrectionStatus::missingRemoteIdentifier,
         u"wooCorrection.missingWooId"},
        {"5 empty product id",
         [](InventoryExportRow& r) { r.externalProductId = u""_s; },
         {},
         WooCorrectionStatus::missingRemoteIdentifier,
         u"wooCorrection.missingWooId"},
        {"6 no count",
         [](InventoryExportRow& r) { r.countedQuantity.reset(); },
         {level(itemA, 9)},
         WooCorrectionStatus::ignored,
         u"wooCorrection.missingCount"},
        {"7 reference equals count even when the store differs",
         [](InventoryExportRow& r) { r.referenceQuantity = 5; },
         {level(itemA, 9, false)},
         WooCorrectionStatus::noDifference,
         u"wooCorrection.noReferenceDifference"},
        {"8 unmanaged stock beats remote comparisons",
         none,
         {level(itemA, 5, false)},
         WooCorrectionStatus::stockNotManaged,
         u"wooCorrection.stockNotManaged"},
        {"8 unknown management does not block",
         none,
         {level(itemA, 5, std::nullopt)},
         WooCorrectionStatus::noDifference,
         u"wooCorrection.remoteAlreadyMatches"},
        {"9 no level read", none, {}, WooCorrectionStatus::ready, u"wooCorrection.ready"},
        {"9 level of another product",
         none,
         {level(itemA, 1, true, u"13"_s)},
         WooCorrectionStatus::ready,
         u"wooCorrection.ready"},
        {"10 level without quantity",
         none,
         {level(itemA, std::nullopt)},
         WooCorrectionStatus::remoteStockChanged,
         u"wooCorrection.noRemoteQuantity"},
        {"11 store already holds the count",
         none,
         {level(itemA, 5)},
         WooCorrectionStatus::noDifference,
         u"wooCorrection.remoteAlreadyMatches"},
        {"12 store moved since the export",
         none,
         {level(itemA, 4)},
         WooCorrectionStatus::remoteStockChanged,
         u"wooCorrection.remoteChanged"},
        {"12 needs a reference",
         [](InventoryExportRow& r) { r.referenceQuantity.reset(); },
         {level(itemA, 4)},
         WooCorrectionStatus::ready,
         u"wooCorrection.ready"},
        {"13 store still at the reference",
         none,
         {level(itemA, 3)},
         WooCorrectionStatus::ready,
         u"wooCorrection.ready"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InventoryExportRow row = readyRow();
        c.change(row);
        const WooCorrectionPreview preview = buildOne(row, c.levels);
        EXPECT_EQ(rawValue(preview.status), rawValue(c.status));
        EXPECT_EQ(preview.message, AppText::localized(c.messageKey, AppLanguage::english));
        EXPECT_EQ(preview.isSelected, c.status == WooCorrectionStatus::ready);
        EXPECT_EQ(preview.proposedQuantity, row.countedQuantity);
    }
}

TEST_F(CorrectionTest, QuantitiesBeforeAndAfterReload) {
    const WooCorrectionPreview before = buildOne(readyRow(), {});
    EXPECT_EQ(before.status, WooCorrectionStatus::ready);
    EXPECT_TRUE(before.isSelected);
    EXPECT_EQ(before.proposedQuantity, 5);
    EXPECT_EQ(before.differenceFromReference, 2);
    EXPECT_EQ(before.currentRemoteQuantity, std::nullopt);
    EXPECT_EQ(before.differenceFromCurrentRemote, std::nullopt);

    const WooCorrectionPreview after = buildOne(readyRow(), {level(itemA, 3)});
    EXPECT_EQ(after.currentRemoteQuantity, 3);
    EXPECT_EQ(after.differenceFromCurrentRemote, 2);

    const WooCorrectionPreview storeAhead = buildOne(readyRow(), {level(itemA, 9)});
    EXPECT_EQ(storeAhead.differenceFromCurrentRemote, -4);
}

TEST_F(CorrectionTest, DifferenceFromReferenceFallsBackToExportedDifference) {
    InventoryExportRow row = readyRow();
    row.countedQuantity.reset();
    row.difference = -3;
    WooCorrectionPreview preview = buildOne(row, {});
    EXPECT_EQ(preview.status, WooCorrectionStatus::ignored);
    EXPECT_EQ(preview.proposedQuantity, std::nullopt);
    EXPECT_EQ(preview.differenceFromReference, -3);

    row = readyRow();
    row.referenceQuantity.reset();
    row.difference = 7;
    EXPECT_EQ(buildOne(row, {}).differenceFromReference, 7);

    // With both quantities present the computed difference wins over the exported one.
    row = readyRow();
    row.difference = 100;
    EXPECT_EQ(buildOne(row, {}).differenceFromReference, 2);
}

TEST_F(CorrectionTest, OverflowingDifferencesAreNone) {
    InventoryExportRow row = readyRow();
    row.countedQuantity = std::numeric_limits<qint64>::max();
    row.referenceQuantity = -1;
    const WooCorrectionPreview preview =
        buildOne(row, {level(itemA, std::numeric_limits<qint64>::min(), true)});
    EXPECT_EQ(preview.differenceFromReference, std::nullopt);
    EXPECT_EQ(preview.differenceFromCurrentRemote, std::nullopt);
    EXPECT_EQ(preview.proposedQuantity, std::numeric_limits<qint64>::max());

    EXPECT_EQ(checkedDifference(std::numeric_limits<qint64>::min(), 1), std::nullopt);
    EXPECT_EQ(checkedDifference(-1, std::numeric_limits<qint64>::max()), std::numeric_limits<qint64>::min());
}

TEST_F(CorrectionTest, MatchingPrefersFullKeyThenProductVariant) {
    struct Case {
        const char* name;
        std::function<void(InventoryExportRow&)> change;
        QList<RemoteStockLevel> levels;
        std::optional<qint64> expectedRemote;
    };
    const auto none = [](InventoryExportRow&) {};
    const QList<Case> cases{
        {"own local item beats an earlier level of another item",
         none,
         {level(itemB, 1), level(itemA, 2)},
         2},
        {"lower-case local id matches through the parsed UUID",
         [](InventoryExportRow& r) { r.localItemId = itemA.toString(QUuid::WithoutBraces).toLower(); },
         {level(std::nullopt, 1), level(itemA, 2)},
         2},
        {"level without local item matches through product and variation", none, {level(std::nullopt, 4)}, 4},
        {"level of another local item still matches by product", none, {level(itemB, 4)}, 4},
        {"row with invalid local id matches a level without one",
         [](InventoryExportRow& r) { r.localItemId = u"item-1"_s; },
         {level(itemA, 1), level(std::nullopt, 6)},
         6},
        {"first of two levels with the same full key wins", none, {level(itemA, 4), level(itemA, 3)}, 4},
        {"first of two product-variant levels wins", none, {level(itemB, 4), level(std::nullopt, 3)}, 4},
        {"variation must match", none, {level(itemA, 4, true, u"12"_s, u"7"_s)}, std::nullopt},
        {"variation row matches its variation",
         [](InventoryExportRow& r) { r.externalVariantId = u"7"_s; },
         {level(itemA, 1), level(itemA, 8, true, u"12"_s, u"7"_s)},
         8},
        {"a colon inside an id does not blur product and variation",
         [](InventoryExportRow& r) { r.externalProductId = u"12:x"_s; },
         {level(itemA, 4, true, u"12"_s, u"x:"_s)},
         std::nullopt},
        {"empty variation equals none",
         [](InventoryExportRow& r) { r.externalVariantId = u""_s; },
         {level(itemA, 4)},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InventoryExportRow row = readyRow();
        c.change(row);
        EXPECT_EQ(buildOne(row, c.levels).currentRemoteQuantity, c.expectedRemote);
    }
}

TEST_F(CorrectionTest, CopiesRowFieldsAndNamesItems) {
    InventoryExportRow named = readyRow();
    named.externalVariantId = u"7"_s;
    named.variantName = u"Blue"_s;
    named.sku = u"MUG-B"_s;
    named.barcode = u"376000"_s;
    named.localItemId = itemA.toString(QUuid::WithoutBraces).toLower();

    InventoryExportRow emptyName = readyRow();
    emptyName.itemName = u""_s;
    emptyName.barcode = u"376001"_s;

    InventoryExportRow barcodeOnly = readyRow();
    barcodeOnly.itemName.reset();
    barcodeOnly.barcode = u"376002"_s;
    barcodeOnly.localItemId = u"not a uuid"_s;

    InventoryExportRow unnamed = readyRow();
    unnamed.itemName.reset();
    unnamed.localItemId.reset();

    const QList<WooCorrectionPreview> previews =
        WooCorrectionBuilder().buildPreviews(documentWith({named, emptyName, barcodeOnly, unnamed}), {});
    ASSERT_EQ(previews.size(), 4);
    const WooCorrectionPreview& first = previews[0];
    EXPECT_EQ(first.sessionId, QUuid::fromString(sessionText));
    EXPECT_EQ(first.localItemId, itemA);
    EXPECT_EQ(first.externalProductId, u"12"_s);
    EXPECT_EQ(first.externalVariantId, u"7"_s);
    EXPECT_EQ(first.itemName, u"Mug"_s);
    EXPECT_EQ(first.variantName, u"Blue"_s);
    EXPECT_EQ(first.sku, u"MUG-B"_s);
    EXPECT_EQ(first.barcode, u"376000"_s);
    EXPECT_EQ(first.referenceQuantityAtInventory, 3);
    EXPECT_EQ(first.countedQuantity, 5);

    EXPECT_EQ(previews[1].itemName, u""_s);
    EXPECT_EQ(previews[2].itemName, u"376002"_s);
    EXPECT_EQ(previews[2].localItemId, std::nullopt);
    EXPECT_EQ(previews[3].itemName, u"Unnamed item"_s);
    EXPECT_EQ(previews[3].localItemId, std::nullopt);
}

TEST_F(CorrectionTest, MessagesUseLanguageAtBuildTime) {
    test::useLanguage(AppLanguage::french);
    InventoryExportRow unnamed = readyRow();
    unnamed.itemName.reset();
    const WooCorrectionPreview preview = buildOne(unnamed, {});
    EXPECT_EQ(preview.message, u"Correction prête à envoyer."_s);
    EXPECT_EQ(preview.itemName, u"Article sans nom"_s);
}

TEST_F(CorrectionTest, InvalidSessionIdGivesNoPreviews) {
    InventoryExportDocument document = documentWith({readyRow(), readyRow()});
    document.session.id = u"session-1"_s;
    EXPECT_TRUE(WooCorrectionBuilder().buildPreviews(document, {level(itemA, 3)}).isEmpty());
}

TEST_F(CorrectionTest, EveryBuildDrawsNewIdsInRowOrder) {
    InventoryExportRow missing = readyRow();
    missing.externalProductId.reset();
    // More rows than one block of drawn ids, so ids stay unique across blocks.
    QList<InventoryExportRow> rows(600, readyRow());
    rows[1] = missing;
    const InventoryExportDocument document = documentWith(rows);
    const WooStockComparisonService service;
    const QList<WooCorrectionPreview> first = service.buildPreviews(document, {});
    const QList<WooCorrectionPreview> second = service.buildPreviews(document, {});
    ASSERT_EQ(first.size(), 600);
    ASSERT_EQ(second.size(), 600);
    EXPECT_EQ(first[1].status, WooCorrectionStatus::missingRemoteIdentifier);
    QSet<QUuid> ids;
    for (const auto& list : {first, second}) {
        for (const WooCorrectionPreview& preview : list) {
            EXPECT_EQ(preview.id.version(), QUuid::Random);
            EXPECT_EQ(preview.id.variant(), QUuid::DCE);
            ids.insert(preview.id);
        }
    }
    EXPECT_EQ(ids.size(), 1200);
}

} // namespace
} // namespace tallybrook
