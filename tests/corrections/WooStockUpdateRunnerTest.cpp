#include "corrections/WooStockUpdateRunner.h"

#include "CorrectionTestSupport.h"

#include <gmock/gmock.h>

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

using ::testing::_;

using test::CorrectionTest;

class MockConnector : public CommerceStockConnector {
public:
    MOCK_METHOD(CommerceConnectorKind, kind, (), (const, override));
    MOCK_METHOD(void, validateCredentials, (), (override));
    MOCK_METHOD(RemoteStockReloadReport, fetchCurrentStocksWithReport,
                (const InventoryExportDocument&, const WorkObserver&), (override));
    MOCK_METHOD(QList<WooUpdateResultLine>, updateSelectedStocks,
                (const QList<WooCorrectionPreview>&, const WorkObserver&), (override));
};

WooCorrectionPreview preview(const QString& name, WooCorrectionStatus status, bool selected,
                             std::optional<qint64> proposed = 5) {
    WooCorrectionPreview p;
    p.id = QUuid::createUuid();
    p.sessionId = QUuid::createUuid();
    p.externalProductId = u"12"_s;
    p.externalVariantId = u"7"_s;
    p.itemName = name;
    p.proposedQuantity = proposed;
    p.status = status;
    p.isSelected = selected;
    return p;
}

QStringList names(const QList<WooCorrectionPreview>& previews) {
    QStringList result;
    for (const auto& p : previews) {
        result.append(p.itemName);
    }
    return result;
}

const QDateTime fixedNow = QDateTime::fromMSecsSinceEpoch(Q_INT64_C(1733472000000), Qt::UTC);

/// Every status selected, plus an unselected ready row: only the four manual statuses are kept.
QList<WooCorrectionPreview> mixedPreviews() {
    QList<WooCorrectionPreview> previews;
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        previews.append(preview(rawValue(status), status, true));
    }
    previews.insert(1, preview(u"unselected"_s, WooCorrectionStatus::ready, false));
    return previews;
}

const QStringList keptNames{u"ready"_s, u"noDifference"_s, u"ignored"_s, u"sent"_s};

TEST_F(CorrectionTest, NoEligibleRowMeansNoConnectorCall) {
    auto connector = std::make_shared<MockConnector>();
    EXPECT_CALL(*connector, updateSelectedStocks(_, _)).Times(0);
    const WooStockUpdateRunner runner(connector, [] { return fixedNow; });
    EXPECT_TRUE(runner
                    .updateSelectedStocks({preview(u"a"_s, WooCorrectionStatus::remoteStockChanged, true),
                                           preview(u"b"_s, WooCorrectionStatus::failed, true),
                                           preview(u"c"_s, WooCorrectionStatus::ready, false)})
                    .isEmpty());
    EXPECT_TRUE(runner.updateSelectedStocks({}).isEmpty());
    EXPECT_TRUE(WooStockUpdateRunner(nullptr)
                    .updateSelectedStocks({preview(u"c"_s, WooCorrectionStatus::ready, false)})
                    .isEmpty());
}

TEST_F(CorrectionTest, ConnectorReceivesKeptPreviewsInOrderAndObserver) {
    auto connector = std::make_shared<MockConnector>();
    WooUpdateResultLine line;
    line.itemName = u"from connector"_s;
    bool observed = false;
    EXPECT_CALL(*connector, updateSelectedStocks(_, _))
        .WillOnce([&](const QList<WooCorrectionPreview>& kept, const WorkObserver& observer) {
            EXPECT_EQ(names(kept), keptNames);
            observer.report(1, 4);
            return QList<WooUpdateResultLine>{line};
        });
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { observed = done == 1 && total == 4; };
    const QList<WooUpdateResultLine> lines = WooStockUpdateRunner(connector, [] {
                                                 return fixedNow;
                                             }).updateSelectedStocks(mixedPreviews(), observer);
    EXPECT_EQ(lines, QList<WooUpdateResultLine>{line});
    EXPECT_TRUE(observed);
}

TEST_F(CorrectionTest, WithoutConnectorEveryKeptRowFailsWithFixedMessage) {
    test::useLanguage(AppLanguage::english);
    QList<WooCorrectionPreview> previews = mixedPreviews();
    previews[0].proposedQuantity.reset();
    const QList<WooUpdateResultLine> lines =
        WooStockUpdateRunner(nullptr, [] { return fixedNow; }).updateSelectedStocks(previews);

    ASSERT_EQ(lines.size(), keptNames.size());
    QList<QUuid> expectedCorrections;
    for (const auto& p : previews) {
        if (keptNames.contains(p.itemName)) {
            expectedCorrections.append(p.id);
        }
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const WooUpdateResultLine& line = lines[i];
        EXPECT_EQ(line.itemName, keptNames[i]);
        EXPECT_EQ(line.correctionId, expectedCorrections[i]);
        EXPECT_FALSE(line.id.isNull());
        EXPECT_NE(line.id, line.correctionId);
        EXPECT_EQ(line.externalProductId, u"12"_s);
        EXPECT_EQ(line.externalVariantId, u"7"_s);
        EXPECT_EQ(line.requestedQuantity, i == 0 ? std::nullopt : std::optional<qint64>(5));
        EXPECT_EQ(line.remoteQuantityAfterUpdate, std::nullopt);
        EXPECT_FALSE(line.success);
        EXPECT_EQ(line.message, u"Connexion WooCommerce non configuree."_s);
        EXPECT_EQ(line.updatedAt, fixedNow);
    }
}

} // namespace
} // namespace tallybrook
