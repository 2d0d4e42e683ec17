#include "corrections/WooCorrectionStatus.h"

#include "CorrectionTestSupport.h"
#include "corrections/CommerceConnectorKind.h"
#include "corrections/CorrectionRecords.h"

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

using test::CorrectionTest;

TEST(WooCorrectionStatusTest, GroupsPartitionTheStatuses) {
    int manual = 0;
    int blocking = 0;
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        SCOPED_TRACE(rawValue(status).toStdString());
        const bool review = status == WooCorrectionStatus::remoteStockChanged;
        EXPECT_EQ(int(isManuallyCorrectable(status)) + int(isBlocking(status)) + int(review), 1);
        EXPECT_EQ(isSelectedByDefault(status), status == WooCorrectionStatus::ready);
        manual += isManuallyCorrectable(status) ? 1 : 0;
        blocking += isBlocking(status) ? 1 : 0;
    }
    EXPECT_EQ(manual, 4);
    EXPECT_EQ(blocking, 5);
    EXPECT_TRUE(isBlocking(WooCorrectionStatus::failed));
    EXPECT_FALSE(isManuallyCorrectable(WooCorrectionStatus::failed));
    EXPECT_TRUE(isManuallyCorrectable(WooCorrectionStatus::sent));
}

TEST(WooCorrectionStatusTest, EachStatusHasItsGroup) {
    enum Group { manual, blocking, review };
    const struct {
        WooCorrectionStatus status;
        Group group;
    } cases[] = {
        {WooCorrectionStatus::ready, manual},
        {WooCorrectionStatus::remoteStockChanged, review},
        {WooCorrectionStatus::missingRemoteIdentifier, blocking},
        {WooCorrectionStatus::stockNotManaged, blocking},
        {WooCorrectionStatus::unknownCode, blocking},
        {WooCorrectionStatus::temporaryItem, blocking},
        {WooCorrectionStatus::noDifference, manual},
        {WooCorrectionStatus::ignored, manual},
        {WooCorrectionStatus::sent, manual},
        {WooCorrectionStatus::failed, blocking},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(rawValue(c.status).toStdString());
        EXPECT_EQ(isManuallyCorrectable(c.status), c.group == manual);
        EXPECT_EQ(isBlocking(c.status), c.group == blocking);
    }
}

TEST(WooCorrectionStatusTest, RawValuesAreCaseNamesInDeclarationOrder) {
    const QStringList expected{u"ready"_s,
                               u"remoteStockChanged"_s,
                               u"missingRemoteIdentifier"_s,
                               u"stockNotManaged"_s,
                               u"unknownCode"_s,
                               u"temporaryItem"_s,
                               u"noDifference"_s,
                               u"ignored"_s,
                               u"sent"_s,
                               u"failed"_s};
    ASSERT_EQ(qsizetype(allWooCorrectionStatuses.size()), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rawValue(allWooCorrectionStatuses[std::size_t(i)]), expected[i]);
        EXPECT_EQ(wooCorrectionStatusFromRawValue(expected[i]), allWooCorrectionStatuses[std::size_t(i)]);
    }
    EXPECT_EQ(wooCorrectionStatusFromRawValue(u"Sent"), std::nullopt);
    EXPECT_EQ(wooCorrectionStatusFromRawValue(u""), std::nullopt);
}

TEST_F(CorrectionTest, StatusDisplayNamesFollowLanguage) {
    EXPECT_EQ(displayName(WooCorrectionStatus::failed, AppLanguage::french), u"Échec"_s);
    EXPECT_EQ(displayName(WooCorrectionStatus::failed, AppLanguage::english), u"Failed"_s);
    EXPECT_EQ(displayName(WooCorrectionStatus::remoteStockChanged, AppLanguage::french),
              u"Stock Woo modifié"_s);
    EXPECT_EQ(displayName(WooCorrectionStatus::missingRemoteIdentifier), u"Missing Woo ID"_s);
    test::useLanguage(AppLanguage::french);
    EXPECT_EQ(displayName(WooCorrectionStatus::missingRemoteIdentifier), u"Identifiant Woo manquant"_s);
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        // Every status has its own entry in the text table (a missing key reads as the key).
        EXPECT_FALSE(displayName(status).startsWith(u"wooStatus."_s)) << rawValue(status).toStdString();
    }
}

TEST_F(CorrectionTest, ConnectorKindAndStrategy) {
    EXPECT_EQ(rawValue(CommerceConnectorKind::wooCommerce), u"wooCommerce"_s);
    EXPECT_EQ(displayName(CommerceConnectorKind::wooCommerce), u"WooCommerce"_s);
    EXPECT_EQ(stockLabel(CommerceConnectorKind::wooCommerce), u"Current Woo stock"_s);
    test::useLanguage(AppLanguage::french);
    EXPECT_EQ(stockLabel(CommerceConnectorKind::wooCommerce), u"Stock Woo actuel"_s);

    EXPECT_EQ(commerceConnectorKindFromRawValue(u"wooCommerce"), CommerceConnectorKind::wooCommerce);
    EXPECT_EQ(commerceConnectorKindFromRawValue(u"shopify"), std::nullopt);
    EXPECT_EQ(inventoryAdjustmentStrategyFromRawValue(u"applyDeltaToCurrentStock"),
              InventoryAdjustmentStrategy::applyDeltaToCurrentStock);
    EXPECT_EQ(rawValue(InventoryAdjustmentStrategy::replaceWithCountedQuantity),
              u"replaceWithCountedQuantity"_s);
    EXPECT_EQ(inventoryAdjustmentStrategyFromRawValue(u"replace"), std::nullopt);
}

TEST(RemoteStockLevelTest, IdJoinsUpperCaseUuidProductAndVariation) {
    RemoteStockLevel level;
    EXPECT_EQ(level.id(), u"::"_s);
    level.externalProductId = u"12"_s;
    EXPECT_EQ(level.id(), u":12:"_s);
    level.localItemId = QUuid::fromString(u"a1b2c3d4-0000-4000-8000-00000000abcd"_s);
    level.externalVariantId = u"7"_s;
    EXPECT_EQ(level.id(), u"A1B2C3D4-0000-4000-8000-00000000ABCD:12:7"_s);
}

TEST(RemoteStockReloadReportTest, LoadedItemCountCountsLevelsWithOrWithoutQuantity) {
    RemoteStockReloadReport report;
    report.levels = {RemoteStockLevel{}, RemoteStockLevel{}, RemoteStockLevel{}};
    report.levels[0].quantity = 4;
    report.quantityCount = 1;
    EXPECT_EQ(report.loadedItemCount(), 3);
    EXPECT_GT(report.loadedItemCount(), report.quantityCount);
}

} // namespace
} // namespace tallybrook
