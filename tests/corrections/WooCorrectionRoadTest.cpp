#include "corrections/WooCorrectionRoad.h"

#include "CorrectionTestSupport.h"

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

using test::CorrectionTest;

RemoteStockReloadIssue issue(const QString& name, const QString& message) {
    return RemoteStockReloadIssue{QUuid::createUuid(), u"12"_s, std::nullopt, name, message};
}

TEST_F(CorrectionTest, ReloadSummaryInBothLanguages) {
    const QList<RemoteStockReloadIssue> two{issue(u"Mug"_s, u"first problem"_s),
                                            issue(u"Cup"_s, u"second"_s)};
    struct Case {
        const char* name;
        qint64 requested;
        qint64 quantities;
        QList<RemoteStockReloadIssue> issues;
        std::optional<QString> french;
        std::optional<QString> english;
    };
    const QList<Case> cases{
        {"nothing requested, even with issues", 0, 0, two,
         u"Aucun article de l'inventaire ne contient d'identifiant WooCommerce exploitable."_s,
         u"No inventory item contains a usable WooCommerce identifier."_s},
        {"no quantity, first issue only", 10, 0, two,
         u"Recharge effectuée, mais aucune quantité de stock numérique n'a été renvoyée par WooCommerce. Mug: first problem"_s,
         u"Reload completed, but WooCommerce did not return any numeric stock quantity. Mug: first problem"_s},
        {"no quantity, no issue",
         10,
         0,
         {},
         u"Recharge effectuée, mais aucune quantité de stock numérique n'a été renvoyée par WooCommerce."_s,
         u"Reload completed, but WooCommerce did not return any numeric stock quantity."_s},
        {"partial without issue", 10, 8, {}, std::nullopt, std::nullopt},
        {"partial with issue",
         10,
         8,
         {two[1]},
         u"8 stock(s) WooCommerce relu(s) sur 10. Cup: second"_s,
         u"8 WooCommerce stock(s) reloaded out of 10. Cup: second"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::useLanguage(AppLanguage::french);
        EXPECT_EQ(reloadSummary(c.requested, c.quantities, c.issues), c.french);
        test::useLanguage(AppLanguage::english);
        EXPECT_EQ(reloadSummary(RemoteStockReloadReport{{}, c.requested, c.quantities, c.issues}), c.english);
    }
}

WooCorrectionPreview preview(WooCorrectionStatus status, bool selected) {
    WooCorrectionPreview p;
    p.id = QUuid::createUuid();
    p.itemName = u"Mug"_s;
    p.countedQuantity = 5;
    p.proposedQuantity = 6;
    p.currentRemoteQuantity = 2;
    p.differenceFromCurrentRemote = 4;
    p.status = status;
    p.isSelected = selected;
    p.message = u"before"_s;
    return p;
}

WooUpdateResultLine line(const WooCorrectionPreview& p, bool success, std::optional<qint64> requested,
                         std::optional<qint64> after, std::optional<QString> message) {
    WooUpdateResultLine l;
    l.id = QUuid::createUuid();
    l.correctionId = p.id;
    l.itemName = p.itemName;
    l.requestedQuantity = requested;
    l.remoteQuantityAfterUpdate = after;
    l.success = success;
    l.message = std::move(message);
    return l;
}

TEST_F(CorrectionTest, FoldLaysSendOutcomeOverPreviews) {
    const QList<WooCorrectionPreview> previews{
        preview(WooCorrectionStatus::ready, true),              // sent, store reports 7
        preview(WooCorrectionStatus::noDifference, true),       // sent, no quantity reported
        preview(WooCorrectionStatus::ready, true),              // failed
        preview(WooCorrectionStatus::remoteStockChanged, true), // not sent: no line
        preview(WooCorrectionStatus::ignored, true),            // failed without message
    };
    const QList<WooUpdateResultLine> lines{
        line(previews[2], false, 6, std::nullopt, u"WooCommerce error 500"_s),
        line(previews[0], true, 6, 7, u"WooCommerce stock updated."_s),
        line(previews[1], true, 6, std::nullopt, u"WooCommerce stock updated."_s),
        line(previews[4], false, std::nullopt, std::nullopt, std::nullopt),
    };
    const QList<WooCorrectionPreview> folded = foldResults(lines, previews);
    ASSERT_EQ(folded.size(), previews.size());
    for (qsizetype i = 0; i < folded.size(); ++i) {
        EXPECT_EQ(folded[i].id, previews[i].id);
    }

    EXPECT_EQ(folded[0].status, WooCorrectionStatus::sent);
    EXPECT_FALSE(folded[0].isSelected);
    EXPECT_EQ(folded[0].currentRemoteQuantity, 7);
    EXPECT_EQ(folded[0].differenceFromCurrentRemote, -1);
    EXPECT_EQ(folded[0].message, u"WooCommerce stock updated."_s);

    EXPECT_EQ(folded[1].status, WooCorrectionStatus::sent);
    EXPECT_EQ(folded[1].currentRemoteQuantity, 6);
    EXPECT_EQ(folded[1].differenceFromCurrentRemote, 0);

    EXPECT_EQ(folded[2].status, WooCorrectionStatus::failed);
    EXPECT_FALSE(folded[2].isSelected);
    EXPECT_EQ(folded[2].currentRemoteQuantity, 2);
    EXPECT_EQ(folded[2].differenceFromCurrentRemote, 4);
    EXPECT_EQ(folded[2].proposedQuantity, 6);
    EXPECT_EQ(folded[2].message, u"WooCommerce error 500"_s);

    EXPECT_EQ(folded[3], previews[3]);

    EXPECT_EQ(folded[4].status, WooCorrectionStatus::failed);
    EXPECT_EQ(folded[4].message, std::nullopt);

    EXPECT_EQ(foldResults({}, previews), previews);
}

TEST_F(CorrectionTest, FoldUsesTheLatestLineOfACorrection) {
    const WooCorrectionPreview p = preview(WooCorrectionStatus::ready, true);
    const QList<WooCorrectionPreview> folded =
        foldResults({line(p, false, 6, std::nullopt, u"first"_s), line(p, true, 6, 6, u"second"_s)}, {p});
    EXPECT_EQ(folded[0].status, WooCorrectionStatus::sent);
    EXPECT_EQ(folded[0].message, u"second"_s);
}

} // namespace
} // namespace tallybrook
