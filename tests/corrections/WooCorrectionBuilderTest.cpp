#include "corrections/WooCorrectionBuilder.h"

#include "support/TestLanguage.h"
#include "document/InventoryExportDocument.h"
#include "localization/AppText.h"

#include <QSet>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

using WooCorrectionBuilderTest = test::LanguageTest<>;

const QString sessionText = u"6b1c0f6e-7a3b-4c8d-9e0f-112233445566"_s;
const QUuid itemA = QUuid::fromString(u"AAAAAAAA-0000-4000-8000-000000000001"_s);
const QUuid itemB = QUuid::fromString(u"BBBBBBBB-0000-4000-8000-000000000002"_s);

/// A counted catalogue row for product 12 with reference 3 and count 5: ready before any reload.
InventoryExportRow readyRow() {
    InventoryExportRow row;
    row.sessionId = sessionText, row.source = u"woocommerce"_s, row.externalProductId = u"12"_s;
    row.localItemId = itemA.toString(QUuid::WithoutBraces), row.itemName = u"Mug"_s, row.referenceQuantity = 3;
    row.countedQuantity = 5, row.difference = 2, row.status = InventoryExportRowStatus::difference;
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

TEST_F(WooCorrectionBuilderTest, StatusRulesApplyInOrder) {
    using S = WooCorrectionStatus;
    using Edit = std::function<void(InventoryExportRow&)>;
    const Edit none = [](auto&) {};
    const Edit noCount = [](auto& r) { r.countedQuantity.reset(); };
    const Edit noProduct = [](auto& r) { r.externalProductId.reset(); };
    const auto source = [](const char16_t* text) -> Edit { return [=](auto& r) { r.source = QString::fromUtf16(text); }; };
    const auto status = [](InventoryExportRowStatus s) -> Edit { return [=](auto& r) { r.status = s; }; };
    const auto both = [](Edit a, Edit b) -> Edit { return [=](auto& r) { a(r), b(r); }; };
    const std::tuple<const char*, Edit, QList<RemoteStockLevel>, S, const char16_t*> cases[] = {
        {"unknown-code status beats everything", status(InventoryExportRowStatus::unknownCode), {level(itemA, 5, false)}, S::unknownCode, u"unknownCode"},
        {"unknown source", source(u"unknown"), {}, S::unknownCode, u"unknownCode"},
        {"unknown source before temporary status", both(source(u"unknown"), status(InventoryExportRowStatus::temporaryItem)), {}, S::unknownCode, u"unknownCode"},
        {"temporary status before missing product id", both(status(InventoryExportRowStatus::temporaryItem), noProduct), {}, S::temporaryItem, u"temporaryItem"},
        {"temporary source before missing product id and count", both(source(u"temporary"), both(noProduct, noCount)), {}, S::temporaryItem, u"temporaryItem"},
        {"source match is exact", source(u"Unknown"), {}, S::ready, u"ready"},
        {"missing product id before missing count", both(noProduct, noCount), {}, S::missingRemoteIdentifier, u"missingWooId"},
        {"empty product id", [](auto& r) { r.externalProductId = u""_s; }, {}, S::missingRemoteIdentifier, u"missingWooId"},
        {"no count", noCount, {level(itemA, 9)}, S::ignored, u"missingCount"},
        {"reference equals count even when the store differs", [](auto& r) { r.referenceQuantity = 5; }, {level(itemA, 9, false)}, S::noDifference, u"noReferenceDifference"},
        {"unmanaged stock beats remote comparisons", none, {level(itemA, 5, false)}, S::stockNotManaged, u"stockNotManaged"},
        {"unknown management does not block", none, {level(itemA, 5, std::nullopt)}, S::noDifference, u"remoteAlreadyMatches"},
        {"no level read", none, {}, S::ready, u"ready"},
        {"level of another product", none, {level(itemA, 1, true, u"13"_s)}, S::ready, u"ready"},
        {"level without quantity", none, {level(itemA, std::nullopt)}, S::remoteStockChanged, u"noRemoteQuantity"},
        {"store already holds the count", none, {level(itemA, 5)}, S::noDifference, u"remoteAlreadyMatches"},
        {"store moved since the export", none, {level(itemA, 4)}, S::remoteStockChanged, u"remoteChanged"},
        {"a move needs a reference", [](auto& r) { r.referenceQuantity.reset(); }, {level(itemA, 4)}, S::ready, u"ready"},
        {"store still at the reference", none, {level(itemA, 3)}, S::ready, u"ready"},
    };
    for (const auto& [name, edit, levels, expected, messageKey] : cases) {
        SCOPED_TRACE(name);
        InventoryExportRow row = readyRow();
        edit(row);
        const WooCorrectionPreview preview = buildOne(row, levels);
        EXPECT_EQ(rawValue(preview.status), rawValue(expected));
        EXPECT_EQ(preview.message, AppText::localized(QString(u"wooCorrection."_s + QString::fromUtf16(messageKey)), AppLanguage::english));
        EXPECT_EQ(preview.isSelected, expected == S::ready);
        EXPECT_EQ(preview.proposedQuantity, row.countedQuantity);
    }
}

TEST_F(WooCorrectionBuilderTest, DifferencesBeforeAndAfterReload) {
    constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
    const auto edited = [](std::optional<qint64> counted, std::optional<qint64> reference, std::optional<qint64> exported) {
        InventoryExportRow row = readyRow();
        row.countedQuantity = counted, row.referenceQuantity = reference, row.difference = exported;
        return row;
    };
    // Row (counted, reference, exported difference), store stock -> proposal and the two differences.
    const std::tuple<InventoryExportRow, QList<RemoteStockLevel>, std::optional<qint64>, std::optional<qint64>,
                     std::optional<qint64>> cases[] = {
        {readyRow(), {}, 5, 2, std::nullopt},
        {readyRow(), {level(itemA, 3)}, 5, 2, 2},
        {readyRow(), {level(itemA, 9)}, 5, 2, -4},
        {edited(std::nullopt, 3, -3), {}, std::nullopt, -3, std::nullopt}, // the exported difference stands in
        {edited(5, std::nullopt, 7), {}, 5, 7, std::nullopt},
        {edited(5, 3, 100), {}, 5, 2, std::nullopt}, // the computed difference wins over the exported one
        {edited(int64Max, -1, 0), {level(itemA, -int64Max - 1)}, int64Max, std::nullopt, std::nullopt}, // overflow
    };
    for (const auto& [row, levels, proposed, fromReference, fromRemote] : cases) {
        const WooCorrectionPreview preview = buildOne(row, levels);
        EXPECT_EQ(std::tie(preview.proposedQuantity, preview.differenceFromReference, preview.differenceFromCurrentRemote),
                  std::tie(proposed, fromReference, fromRemote))
            << row.countedQuantity.value_or(-1) << " " << levels.size();
        EXPECT_EQ(preview.currentRemoteQuantity, levels.isEmpty() ? std::nullopt : levels.first().quantity);
    }
    EXPECT_EQ(checkedDifference(-int64Max - 1, 1), std::nullopt);
    EXPECT_EQ(checkedDifference(-1, int64Max), -int64Max - 1);
}

TEST_F(WooCorrectionBuilderTest, MatchingPrefersFullKeyThenProductVariant) {
    using Edit = std::function<void(InventoryExportRow&)>;
    struct Case {
        const char* name;
        Edit change;
        QList<RemoteStockLevel> levels;
        std::optional<qint64> expectedRemote;
    };
    const Edit none = [](auto&) {};
    const auto localId = [](const QString& id) -> Edit { return [=](auto& r) { r.localItemId = id; }; };
    const auto variant = [](const QString& id) -> Edit { return [=](auto& r) { r.externalVariantId = id; }; };
    const Case cases[] = {
        {"own local item beats an earlier level of another item", none, {level(itemB, 1), level(itemA, 2)}, 2},
        {"lower-case local id matches through the parsed UUID", localId(itemA.toString(QUuid::WithoutBraces).toLower()),
         {level(std::nullopt, 1), level(itemA, 2)}, 2},
        {"level without local item matches by product and variation", none, {level(std::nullopt, 4)}, 4},
        {"level of another local item still matches by product", none, {level(itemB, 4)}, 4},
        {"row with invalid local id matches a level without one", localId(u"item-1"_s), {level(itemA, 1), level(std::nullopt, 6)}, 6},
        {"first of two levels with the same full key wins", none, {level(itemA, 4), level(itemA, 3)}, 4},
        {"first of two product-variant levels wins", none, {level(itemB, 4), level(std::nullopt, 3)}, 4},
        {"variation must match", none, {level(itemA, 4, true, u"12"_s, u"7"_s)}, std::nullopt},
        {"variation row matches its variation", variant(u"7"_s), {level(itemA, 1), level(itemA, 8, true, u"12"_s, u"7"_s)}, 8},
        {"a colon inside an id does not blur product and variation", [](auto& r) { r.externalProductId = u"12:x"_s; },
         {level(itemA, 4, true, u"12"_s, u"x:"_s)}, std::nullopt},
        {"empty variation equals none", variant(u""_s), {level(itemA, 4)}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InventoryExportRow row = readyRow();
        c.change(row);
        EXPECT_EQ(buildOne(row, c.levels).currentRemoteQuantity, c.expectedRemote);
    }
}

TEST_F(WooCorrectionBuilderTest, CopiesRowFieldsAndNamesItemsInTheLanguageOfTheBuild) {
    InventoryExportRow named = readyRow();
    named.externalVariantId = u"7"_s, named.variantName = u"Blue"_s, named.sku = u"MUG-B"_s;
    named.barcode = u"376000"_s, named.localItemId = itemA.toString(QUuid::WithoutBraces).toLower();
    InventoryExportRow emptyName = readyRow();
    emptyName.itemName = u""_s, emptyName.barcode = u"376001"_s;
    InventoryExportRow barcodeOnly = readyRow();
    barcodeOnly.itemName.reset();
    barcodeOnly.barcode = u"376002"_s, barcodeOnly.localItemId = u"not a uuid"_s;
    InventoryExportRow unnamed = readyRow();
    unnamed.itemName.reset();
    const auto document = documentWith({named, emptyName, barcodeOnly, unnamed});
    const QList<WooCorrectionPreview> previews = WooCorrectionBuilder().buildPreviews(document, {});
    ASSERT_EQ(previews.size(), 4);
    WooCorrectionPreview expected{previews[0].id, QUuid::fromString(sessionText), itemA, u"12"_s, u"7"_s, u"Mug"_s,
                                  u"Blue"_s, u"MUG-B"_s, u"376000"_s, 3, std::nullopt, 5, 5, 2, std::nullopt,
                                  WooCorrectionStatus::ready, true, u"Correction ready to send."_s};
    EXPECT_EQ(previews[0], expected);
    EXPECT_EQ(previews[1].itemName, u""_s);
    EXPECT_EQ(previews[2].itemName, u"376002"_s);
    EXPECT_EQ(previews[2].localItemId, std::nullopt);
    EXPECT_EQ(previews[3].itemName, u"Unnamed item"_s);
    test::useLanguage(AppLanguage::french);
    const WooCorrectionPreview french = buildOne(unnamed, {});
    EXPECT_EQ(french.message, u"Correction prête à envoyer."_s);
    EXPECT_EQ(french.itemName, u"Article sans nom"_s);
    InventoryExportDocument noSession = document;
    noSession.session.id = u"session-1"_s;
    EXPECT_TRUE(WooCorrectionBuilder().buildPreviews(noSession, {level(itemA, 3)}).isEmpty());
}

TEST_F(WooCorrectionBuilderTest, EveryBuildDrawsNewIdsInRowOrder) {
    InventoryExportRow missing = readyRow();
    missing.externalProductId.reset();
    // More rows than one block of drawn ids, so ids stay unique across blocks.
    QList<InventoryExportRow> rows(600, readyRow());
    rows[1] = missing;
    const InventoryExportDocument document = documentWith(rows);
    const QList<WooCorrectionPreview> first = WooCorrectionBuilder().buildPreviews(document, {});
    const QList<WooCorrectionPreview> second = WooCorrectionBuilder().buildPreviews(document, {});
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
