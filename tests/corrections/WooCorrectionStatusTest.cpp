#include "corrections/WooCorrectionStatus.h"

#include "corrections/CommerceConnectorKind.h"
#include "corrections/CorrectionRecords.h"
#include "support/TestLanguage.h"

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

using WooCorrectionStatusTest = LanguageTest<>;

TEST_F(WooCorrectionStatusTest, EachStatusHasOneGroupARawValueAndAName) {
    enum Group { manual, blocking, review };
    using S = WooCorrectionStatus;
    const std::pair<S, Group> cases[] = {
        {S::ready, manual},      {S::remoteStockChanged, review}, {S::missingRemoteIdentifier, blocking},
        {S::stockNotManaged, blocking}, {S::unknownCode, blocking}, {S::temporaryItem, blocking},
        {S::noDifference, manual}, {S::ignored, manual}, {S::sent, manual}, {S::failed, blocking},
    };
    for (const auto& [status, group] : cases) {
        SCOPED_TRACE(rawValue(status).toStdString());
        EXPECT_EQ(isManuallyCorrectable(status), group == manual);
        EXPECT_EQ(isBlocking(status), group == blocking);
        EXPECT_EQ(isSelectedByDefault(status), status == S::ready);
        EXPECT_EQ(wooCorrectionStatusFromRawValue(rawValue(status)), status);
        // Every status has its own entry in the text table (a missing key reads as the key).
        EXPECT_FALSE(displayName(status).startsWith(u"wooStatus."_s));
    }
    EXPECT_EQ(rawValue(S::missingRemoteIdentifier), u"missingRemoteIdentifier"_s);
    EXPECT_EQ(wooCorrectionStatusFromRawValue(u"Sent"), std::nullopt);
    EXPECT_EQ(displayName(S::remoteStockChanged, AppLanguage::french), u"Stock Woo modifié"_s);
    EXPECT_EQ(displayName(S::missingRemoteIdentifier), u"Missing Woo ID"_s);
}

TEST_F(WooCorrectionStatusTest, ConnectorKindAndRecordIds) {
    EXPECT_EQ(commerceConnectorKindFromRawValue(u"shopify"), std::nullopt);

    RemoteStockLevel level;
    EXPECT_EQ(level.id(), u"::"_s);
    level.localItemId = QUuid::fromString(u"a1b2c3d4-0000-4000-8000-00000000abcd"_s);
    level.externalProductId = u"12"_s, level.externalVariantId = u"7"_s;
    EXPECT_EQ(level.id(), u"A1B2C3D4-0000-4000-8000-00000000ABCD:12:7"_s);
    RemoteStockReloadReport report;
    report.levels = {level, RemoteStockLevel{}, RemoteStockLevel{}}, report.quantityCount = 1;
    EXPECT_EQ(report.loadedItemCount(), 3) << "levels with or without quantity";
}
