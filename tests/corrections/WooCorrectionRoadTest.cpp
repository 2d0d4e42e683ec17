#include "corrections/WooCorrectionRoad.h"

#include "corrections/WooStockUpdateRunner.h"
#include "support/TestLanguage.h"

#include <gmock/gmock.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

using WooCorrectionRoadTest = LanguageTest<>;
const QDateTime fixedNow = QDateTime::fromMSecsSinceEpoch(Q_INT64_C(1733472000000), Qt::UTC);

class MockConnector : public CommerceStockConnector {
public:
    MOCK_METHOD(CommerceConnectorKind, kind, (), (const, override));
    MOCK_METHOD(void, validateCredentials, (), (override));
    MOCK_METHOD(RemoteStockReloadReport, fetchCurrentStocksWithReport,
                (const InventoryExportDocument&, const WorkObserver&), (override));
    MOCK_METHOD(QList<WooUpdateResultLine>, updateSelectedStocks,
                (const QList<WooCorrectionPreview>&, const WorkObserver&), (override));
};

WooCorrectionPreview preview(WooCorrectionStatus status, bool selected, const QString& name = u"Mug"_s) {
    WooCorrectionPreview p;
    p.id = QUuid::createUuid(), p.externalProductId = u"12"_s, p.externalVariantId = u"7"_s, p.itemName = name;
    p.countedQuantity = 5, p.proposedQuantity = 6, p.currentRemoteQuantity = 2, p.differenceFromCurrentRemote = 4;
    p.status = status, p.isSelected = selected, p.message = u"before"_s;
    return p;
}

WooUpdateResultLine line(const WooCorrectionPreview& p, bool success, std::optional<qint64> after,
                         std::optional<QString> message) {
    WooUpdateResultLine l;
    l.id = QUuid::createUuid(), l.correctionId = p.id, l.itemName = p.itemName;
    l.requestedQuantity = p.proposedQuantity, l.remoteQuantityAfterUpdate = after, l.success = success;
    l.message = std::move(message);
    return l;
}

/// Every status selected, plus an unselected ready row: only the four manual statuses are sent.
QList<WooCorrectionPreview> mixedPreviews() {
    QList<WooCorrectionPreview> previews;
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        previews.append(preview(status, true, rawValue(status)));
    }
    previews.insert(1, preview(WooCorrectionStatus::ready, false, u"unselected"_s));
    return previews;
}

const QStringList keptNames{u"ready"_s, u"noDifference"_s, u"ignored"_s, u"sent"_s};

} // namespace

TEST_F(WooCorrectionRoadTest, ReloadSummaryInBothLanguages) {
    const auto issue = [](const QString& name, const QString& message) {
        return RemoteStockReloadIssue{QUuid::createUuid(), u"12"_s, std::nullopt, name, message};
    };
    const QList<RemoteStockReloadIssue> two{issue(u"Mug"_s, u"first"_s), issue(u"Cup"_s, u"second"_s)};
    const std::tuple<qint64, qint64, QList<RemoteStockReloadIssue>, std::optional<QString>, std::optional<QString>> cases[] = {
        {0, 0, two, u"Aucun article de l'inventaire ne contient d'identifiant WooCommerce exploitable."_s,
         u"No inventory item contains a usable WooCommerce identifier."_s},
        {10, 0, two, u"Recharge effectuée, mais aucune quantité de stock numérique n'a été renvoyée par WooCommerce. Mug: first"_s,
         u"Reload completed, but WooCommerce did not return any numeric stock quantity. Mug: first"_s},
        {10, 0, {}, u"Recharge effectuée, mais aucune quantité de stock numérique n'a été renvoyée par WooCommerce."_s,
         u"Reload completed, but WooCommerce did not return any numeric stock quantity."_s},
        {10, 8, {}, std::nullopt, std::nullopt},
        {10, 8, {two[1]}, u"8 stock(s) WooCommerce relu(s) sur 10. Cup: second"_s,
         u"8 WooCommerce stock(s) reloaded out of 10. Cup: second"_s},
    };
    for (const auto& [requested, quantities, issues, french, english] : cases) {
        SCOPED_TRACE(requested * 100 + quantities);
        useLanguage(AppLanguage::french);
        EXPECT_EQ(reloadSummary(requested, quantities, issues), french);
        useLanguage(AppLanguage::english);
        EXPECT_EQ(reloadSummary(RemoteStockReloadReport{{}, requested, quantities, issues}), english);
    }
}

TEST_F(WooCorrectionRoadTest, FoldLaysTheLatestLineOfEachCorrectionOverThePreviews) {
    const QList<WooCorrectionPreview> previews{
        preview(WooCorrectionStatus::ready, true),              // sent, store reports 7
        preview(WooCorrectionStatus::noDifference, true),       // sent, no quantity reported
        preview(WooCorrectionStatus::ready, true),              // failed, then sent
        preview(WooCorrectionStatus::remoteStockChanged, true), // not sent: no line
        preview(WooCorrectionStatus::ignored, true),            // failed without message
    };
    const QList<WooCorrectionPreview> folded = foldResults(
        {line(previews[2], true, 6, u"second"_s), line(previews[0], true, 7, u"WooCommerce stock updated."_s),
         line(previews[1], true, std::nullopt, u"updated"_s), line(previews[4], false, std::nullopt, std::nullopt)},
        previews);
    ASSERT_EQ(folded.size(), previews.size());
    const auto expect = [&](int i, WooCorrectionStatus status, std::optional<qint64> remote,
                            std::optional<qint64> difference, std::optional<QString> message) {
        SCOPED_TRACE(i);
        EXPECT_EQ(folded[i].id, previews[i].id);
        EXPECT_EQ(folded[i].status, status);
        EXPECT_FALSE(folded[i].isSelected);
        EXPECT_EQ(folded[i].currentRemoteQuantity, remote);
        EXPECT_EQ(folded[i].differenceFromCurrentRemote, difference);
        EXPECT_EQ(folded[i].proposedQuantity, 6);
        EXPECT_EQ(folded[i].message, message);
    };
    expect(0, WooCorrectionStatus::sent, 7, -1, u"WooCommerce stock updated."_s);
    expect(1, WooCorrectionStatus::sent, 6, 0, u"updated"_s);
    expect(4, WooCorrectionStatus::failed, 2, 4, std::nullopt);
    EXPECT_EQ(folded[3], previews[3]);
    EXPECT_EQ(foldResults({}, previews), previews);

    const QList<WooCorrectionPreview> latest =
        foldResults({line(previews[2], true, 6, u"sent"_s), line(previews[2], false, std::nullopt, u"HTTP 500"_s)},
                    {previews[2]});
    EXPECT_EQ(latest[0].status, WooCorrectionStatus::failed);
    EXPECT_EQ(latest[0].message, u"HTTP 500"_s);
    EXPECT_EQ(latest[0].currentRemoteQuantity, 2) << "a failure leaves the known stock";
}

TEST_F(WooCorrectionRoadTest, RunnerSendsOnlySelectedManualRowsInOrder) {
    auto connector = std::make_shared<MockConnector>();
    WooUpdateResultLine answer;
    answer.itemName = u"from connector"_s;
    bool observed = false;
    EXPECT_CALL(*connector, updateSelectedStocks(::testing::_, ::testing::_))
        .WillOnce([&](const QList<WooCorrectionPreview>& kept, const WorkObserver& observer) {
            QStringList names;
            for (const auto& p : kept) {
                names.append(p.itemName);
            }
            EXPECT_EQ(names, keptNames);
            observer.report(1, 4);
            return QList<WooUpdateResultLine>{answer};
        });
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { observed = done == 1 && total == 4; };
    const WooStockUpdateRunner runner(connector, [] { return fixedNow; });
    EXPECT_EQ(runner.updateSelectedStocks(mixedPreviews(), observer), QList<WooUpdateResultLine>{answer});
    EXPECT_TRUE(observed);
    // No eligible row: the connector is not called.
    EXPECT_TRUE(runner.updateSelectedStocks({preview(WooCorrectionStatus::remoteStockChanged, true),
                                             preview(WooCorrectionStatus::failed, true),
                                             preview(WooCorrectionStatus::ready, false)})
                    .isEmpty());
}

TEST_F(WooCorrectionRoadTest, WithoutConnectorEveryKeptRowFailsSayingSoInTheLanguageInForce) {
    useLanguage(AppLanguage::french);
    QList<WooCorrectionPreview> previews = mixedPreviews();
    previews[0].proposedQuantity.reset();
    const QList<WooUpdateResultLine> lines =
        WooStockUpdateRunner(nullptr, [] { return fixedNow; }).updateSelectedStocks(previews);
    QList<WooCorrectionPreview> kept;
    for (const auto& p : previews) {
        if (keptNames.contains(p.itemName)) {
            kept.append(p);
        }
    }
    ASSERT_EQ(lines.size(), kept.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const WooUpdateResultLine& l = lines[i];
        EXPECT_FALSE(l.id.isNull() || l.id == l.correctionId);
        EXPECT_EQ(l, (WooUpdateResultLine{l.id, kept[i].id, u"12"_s, u"7"_s, kept[i].itemName,
                                          i == 0 ? std::nullopt : std::optional<qint64>(6), std::nullopt, false,
                                          u"Connexion WooCommerce non configurée."_s, fixedNow}));
    }
}
