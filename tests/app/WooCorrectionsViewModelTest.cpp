#include "app/WooCorrectionsViewModel.h"

#include "AppTestSupport.h"
#include "app/TallybrookControlStore.h"
#include "corrections/WooStockUpdateRunner.h"
#include "storage/InMemorySecretStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {


/// Rows built as: 0 ready (Mug), 1 noDifference (Bol), 2 missingRemoteIdentifier (Carafe),
/// 3 ignored (Vase), 4 ready (Théière).
QByteArray fiveRows(const QString& session) {
    return documentBytes(session, {rowJson(session, u"101"_s, 5, 3, u"Mug"_s), rowJson(session, u"102"_s, 2, 2, u"Bol"_s),
                                   rowJson(session, std::nullopt, 4, 1, u"Carafe"_s),
                                   rowJson(session, u"104"_s, std::nullopt, 3, u"Vase"_s),
                                   rowJson(session, u"105"_s, 1, 6, u"Théière"_s)});
}

struct WooCorrectionsViewModelTest : LanguageTest<> {
    void SetUp() override {
        LanguageTest::SetUp();
        importInto(store, decoded(fiveRows(sessionA)));
    }

    WooCredentialStore credentialStore() const {
        return WooCredentialStore(preferences, KeychainService(KeychainService::wooCommerceServiceName(), secrets));
    }
    void configure() { credentialStore().save(QUrl(u"https://shop.example"_s), std::nullopt, u"k"_s, u"s"_s); }
    const WooCorrectionPreview& preview(int index) const { return store.corrections().at(index); }
    std::optional<QByteArray> storedProgress() const {
        return preferences->data(WooCorrectionProgressStore::defaultStorageKey());
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    std::shared_ptr<ScriptedConnector> connector = std::make_shared<ScriptedConnector>();
    TallybrookControlStore store{preferences};
    WooCorrectionsViewModel model{store, credentialStore(), [this](const WooStoredCredentials&, WooRequestMode) { return connector; }};
    WooCorrectionsViewModel* viewModel = &model;
};

} // namespace

TEST(ProposedQuantityTextTest, ParsesSignedDecimalIntegersOnly) {
    using Kind = ProposedQuantityText::Kind;
    constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
    const std::pair<QString, ProposedQuantityText> cases[] = {
        {u"  12 \n"_s, {Kind::value, 12}}, {u"+3"_s, {Kind::value, 3}}, {u"-4"_s, {Kind::value, -4}},
        {u"007"_s, {Kind::value, 7}}, {u"9223372036854775807"_s, {Kind::value, int64Max}},
        {u"-9223372036854775808"_s, {Kind::value, -int64Max - 1}}, {u" \t\n"_s, {Kind::cleared, 0}},
        {u"9223372036854775808"_s, {}}, {u"2.5"_s, {}}, {u"3 pieces"_s, {}}, {u"+"_s, {}}, {u"--1"_s, {}},
        {u"1 000"_s, {}}, {u"١٢"_s, {}} /* Arabic-Indic digits */, {u"0x10"_s, {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ProposedQuantityText::parse(text), expected) << text.toStdString();
    }
}

TEST_F(WooCorrectionsViewModelTest, ProposedQuantityEditsFollowTheTextRules) {
    const QUuid mug = preview(0).id;
    ASSERT_EQ(preview(0).status, WooCorrectionStatus::ready);

    const auto mugState = [&] {
        return std::make_tuple(preview(0).proposedQuantity, preview(0).differenceFromCurrentRemote, preview(0).message);
    };
    viewModel->setProposedQuantityText(mug, u"-3"_s); // negative proposals become 0; no remote stock known
    EXPECT_EQ(mugState(), std::make_tuple(std::optional<qint64>(0), std::optional<qint64>(), std::optional(u"Proposed quantity adjusted manually."_s)));

    const std::optional<QByteArray> saved = storedProgress();
    const QList<WooCorrectionPreview> before = store.corrections();
    for (const QString& rejected : {u"2.5"_s, u"4 pieces"_s}) {
        viewModel->setProposedQuantityText(mug, rejected);
        EXPECT_EQ(store.corrections(), before);
        EXPECT_EQ(storedProgress(), saved) << "nothing saved";
    }
    viewModel->setProposedQuantityText(QUuid::createUuid(), u"4"_s);
    EXPECT_EQ(store.corrections(), before);

    // With a known remote stock the remote difference follows the proposal.
    QList<WooCorrectionPreview> corrections = store.corrections();
    corrections[0].currentRemoteQuantity = 3;
    store.setCorrections(corrections);
    viewModel->setProposedQuantityText(mug, u"  8 "_s);
    EXPECT_EQ(std::pair(preview(0).proposedQuantity, preview(0).differenceFromCurrentRemote), std::pair(std::optional<qint64>(8), std::optional<qint64>(5)));

    // Clearing the only other selected row's proposal keeps it selected but makes it unsendable.
    viewModel->setSelection(preview(4).id, false);
    EXPECT_TRUE(viewModel->canSend());
    viewModel->setProposedQuantityText(mug, u"  "_s);
    EXPECT_EQ(mugState(), std::make_tuple(std::optional<qint64>(), std::optional<qint64>(), std::optional(u"Proposed quantity is required."_s)));
    EXPECT_EQ(std::pair(preview(0).isSelected, preview(0).status), std::pair(true, WooCorrectionStatus::ready));
    EXPECT_FALSE(viewModel->canSend());

    // Sending without credentials still yields a failed line for it, and never a message line
    // (the one of the reload before is cleared).
    viewModel->reloadStocks();
    ASSERT_TRUE(viewModel->errorMessage().has_value());
    viewModel->sendSelected();
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isSending(); }));
    EXPECT_EQ(viewModel->errorMessage(), std::nullopt);
    ASSERT_EQ(store.updateResults().size(), 1);
    EXPECT_EQ(store.updateResults().at(0).message, u"WooCommerce connection is not configured."_s);
    EXPECT_EQ(preview(0).status, WooCorrectionStatus::failed);
    EXPECT_FALSE(preview(0).isSelected);
}

TEST_F(WooCorrectionsViewModelTest, FilterAndSearch) {
    const auto visibleNames = [&] {
        QStringList names;
        for (const qsizetype i : viewModel->filteredIndices()) {
            names.append(store.corrections().at(i).itemName);
        }
        return names;
    };
    const std::tuple<std::optional<WooCorrectionStatus>, QString, QStringList> cases[] = {
        {std::nullopt, u"  \n "_s, {u"Mug"_s, u"Bol"_s, u"Carafe"_s, u"Vase"_s, u"Théière"_s}},
        {std::nullopt, u"THEIERE"_s, {u"Théière"_s}},
        {std::nullopt, u"ready"_s, {u"Mug"_s, u"Théière"_s}}, // the status name in the current language
        {std::nullopt, u"sku mug"_s, {u"Mug"_s}},
        {std::nullopt, u"104"_s, {u"Vase"_s}},
        {std::nullopt, u"missing woocommerce"_s, {u"Carafe"_s}}, // the message
        {WooCorrectionStatus::noDifference, QString(), {u"Bol"_s}},
        {WooCorrectionStatus::ready, u"mug"_s, {u"Mug"_s}},
    };
    for (const auto& [status, search, expected] : cases) {
        viewModel->setSelectedStatus(status);
        viewModel->setSearchText(search);
        EXPECT_EQ(visibleNames(), expected) << search.toStdString();
    }
    useLanguage(AppLanguage::french);
    viewModel->setSelectedStatus(std::nullopt);
    viewModel->setSearchText(u"pret"_s);
    EXPECT_EQ(visibleNames(), (QStringList{u"Mug"_s, u"Théière"_s})) << "\"Prêt\" in French";

    // The counters count the whole list, whatever is shown.
    QList<WooCorrectionPreview> corrections = store.corrections();
    corrections[1].status = WooCorrectionStatus::remoteStockChanged;
    corrections[1].isSelected = true; // not correctable: not counted as selected
    corrections[3].status = WooCorrectionStatus::failed;
    corrections[4].isSelected = false;
    store.setCorrections(corrections);
    EXPECT_EQ(viewModel->counters(), (WooCorrectionCounters{2, 1, 1, 2}));
}

TEST_F(WooCorrectionsViewModelTest, SelectionRules) {
    // Failed is not correctable: selecting the visible correctable rows does nothing, saves nothing.
    QList<WooCorrectionPreview> corrections = store.corrections();
    corrections[3].status = WooCorrectionStatus::failed;
    store.setCorrections(corrections);
    viewModel->setSelectedStatus(WooCorrectionStatus::failed);
    EXPECT_TRUE(viewModel->visibleCorrectableIds().isEmpty());
    const QList<WooCorrectionPreview> before = store.corrections();
    viewModel->setVisibleSelection(true);
    EXPECT_EQ(store.corrections(), before);
    EXPECT_EQ(storedProgress(), std::nullopt);

    // One row: only correctable statuses change.
    viewModel->setSelection(preview(2).id, true);
    EXPECT_FALSE(preview(2).isSelected) << "missing id is blocking";
    viewModel->setSelection(preview(1).id, true);
    EXPECT_TRUE(preview(1).isSelected);
    EXPECT_NE(storedProgress(), std::nullopt);

    // Bulk: visible correctable rows only; hidden rows keep their selection.
    viewModel->setSelectedStatus(std::nullopt);
    viewModel->setSearchText(u"mug"_s);
    EXPECT_EQ(viewModel->visibleCorrectableIds(), QList<QUuid>{preview(0).id});
    viewModel->toggleVisibleSelection();
    EXPECT_FALSE(preview(0).isSelected) << "all visible were selected: the toggle deselects";
    EXPECT_TRUE(preview(4).isSelected) << "hidden by the search";
    viewModel->toggleVisibleSelection();
    EXPECT_TRUE(preview(0).isSelected);

    viewModel->setSearchText(QString());
    viewModel->setVisibleSelection(false);
    for (const WooCorrectionPreview& p : store.corrections()) {
        EXPECT_FALSE(p.isSelected) << p.itemName.toStdString();
    }
    EXPECT_FALSE(viewModel->canSend());
    viewModel->setVisibleSelection(true);
    EXPECT_TRUE(preview(1).isSelected) << "noDifference is correctable";
    EXPECT_FALSE(preview(2).isSelected) << "missing id is blocking";
    EXPECT_FALSE(preview(3).isSelected) << "failed is blocking";
}

TEST_F(WooCorrectionsViewModelTest, ReloadAppliesTheLevelsAndSummarisesTheReport) {
    const QList<WooCorrectionPreview> before = store.corrections();
    QSignalSpy reloading(viewModel, &WooCorrectionsViewModel::isReloadingStocksChanged);
    viewModel->reloadStocks();
    EXPECT_EQ(viewModel->errorMessage(), u"WooCommerce connection is not configured."_s);
    EXPECT_EQ(std::pair(viewModel->isReloadingStocks(), reloading.count()), std::pair(false, qsizetype(2)));
    EXPECT_EQ(store.corrections(), before);
    EXPECT_EQ(connector->requests.load(), 0);

    configure();
    QSignalSpy progress(viewModel, &WooCorrectionsViewModel::progressChanged);
    const std::pair<QList<RemoteStockLevel>, std::optional<QString>> cases[] = {
        {{level(u"101"_s, 3), level(u"102"_s, 2), level(u"104"_s, 3), level(u"105"_s, 6)}, std::nullopt},
        {{level(u"101"_s, std::nullopt)}, u"Reload completed, but WooCommerce did not return any numeric stock quantity."_s},
    };
    for (const auto& [levels, message] : cases) {
        connector->levels = levels;
        connector->requestedItemCount = 4;
        viewModel->reloadStocks();
        EXPECT_TRUE(viewModel->isReloadingStocks());
        ASSERT_TRUE(waitUntil([&] { return !viewModel->isReloadingStocks(); }));
        EXPECT_EQ(viewModel->errorMessage(), message);
        EXPECT_TRUE(store.lastRemoteReloadAt().has_value());
        EXPECT_EQ(viewModel->progressTotal(), 0) << "progress resets when the run ends";
    }
    EXPECT_EQ(preview(0).status, WooCorrectionStatus::remoteStockChanged) << "101 read without quantity";
    const auto reported = [&](qint64 done, qint64 total) {
        return std::any_of(progress.cbegin(), progress.cend(), [&](const QList<QVariant>& arguments) {
            return arguments.at(0).toLongLong() == done && arguments.at(1).toLongLong() == total;
        });
    };
    EXPECT_TRUE(reported(4, 4)) << "the last step of the first reload is always reported";
    EXPECT_NE(storedProgress(), std::nullopt) << "a reload saves progress";
}

TEST_F(WooCorrectionsViewModelTest, AReloadForAReplacedDocumentIsDropped) {
    configure();
    connector->levels = {level(u"101"_s, 1)};
    connector->requestedItemCount = 1;
    connector->gated = true;
    viewModel->reloadStocks();
    ASSERT_TRUE(connector->entered.tryAcquire(1, 60000));

    importInto(store, decoded(fiveRows(sessionB)));
    const QList<WooCorrectionPreview> replaced = store.corrections();
    connector->gate.release();
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isReloadingStocks(); }));
    EXPECT_EQ(store.corrections(), replaced);
    EXPECT_EQ(store.lastRemoteReloadAt(), std::nullopt);
    EXPECT_EQ(viewModel->errorMessage(), std::nullopt);
}

TEST_F(WooCorrectionsViewModelTest, ASendForAReplacedDocumentKeepsItsOutcomeInItsSession) {
    configure();
    connector->gated = true;
    const auto sentNames = [&] {
        QStringList names;
        for (const WooCorrectionPreview& p : store.corrections()) {
            if (p.status == WooCorrectionStatus::sent) {
                EXPECT_FALSE(p.isSelected) << p.itemName.toStdString();
                names.append(p.itemName);
            }
        }
        return names;
    };
    const QStringList readyRows{u"Mug"_s, u"Théière"_s};

    // Another session replaces the one being sent: the store keeps showing the new one...
    viewModel->sendSelected();
    ASSERT_TRUE(connector->entered.tryAcquire(1, 60000));
    importInto(store, decoded(fiveRows(sessionB)));
    const QList<WooCorrectionPreview> other = store.corrections();
    connector->gate.release(2);
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isSending(); }));
    EXPECT_EQ(connector->requests.load(), 2);
    EXPECT_EQ(store.corrections(), other);
    EXPECT_TRUE(store.updateResults().isEmpty());

    // ...and the sent session shows its outcome when it is imported again.
    importInto(store, decoded(fiveRows(sessionA)));
    EXPECT_EQ(sentNames(), readyRows);
    EXPECT_EQ(store.updateResults().size(), 2);

    // The same session imported again during the send takes the outcome at once.
    importInto(store, decoded(fiveRows(sessionB)));
    viewModel->sendSelected();
    ASSERT_TRUE(connector->entered.tryAcquire(1, 60000));
    importInto(store, decoded(fiveRows(sessionB)));
    EXPECT_TRUE(sentNames().isEmpty());
    connector->gate.release(2);
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isSending(); }));
    EXPECT_EQ(sentNames(), readyRows);
    ASSERT_EQ(store.updateResults().size(), 2);
    EXPECT_EQ(store.updateResults().at(0).itemName, u"Mug"_s);

    // A later save from the page keeps them sent.
    viewModel->setSelection(preview(1).id, true);
    TallybrookControlStore restarted(preferences);
    importInto(restarted, decoded(fiveRows(sessionB)));
    EXPECT_EQ(restarted.corrections().at(0).status, WooCorrectionStatus::sent);
    EXPECT_EQ(restarted.corrections().at(4).status, WooCorrectionStatus::sent);
    EXPECT_TRUE(restarted.corrections().at(1).isSelected);
}

TEST_F(WooCorrectionsViewModelTest, StoppingEndsARunBetweenTwoRequests) {
    configure();
    connector->levels = {level(u"101"_s, 3), level(u"105"_s, 6), level(u"102"_s, 2)};
    connector->requestedItemCount = 3;
    connector->gated = true;
    const QList<WooCorrectionPreview> before = store.corrections();

    viewModel->reloadStocks();
    ASSERT_TRUE(connector->entered.tryAcquire(1, 60000));
    viewModel->requestStop();
    connector->gate.release();
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isReloadingStocks(); }));
    EXPECT_EQ(connector->requests.load(), 1);
    EXPECT_EQ(preview(0).currentRemoteQuantity, 3) << "the row read is rebuilt";
    EXPECT_NE(preview(0).id, before.at(0).id);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(preview(i), before.at(i)) << "rows not reached stay as they were";
    }

    // A stopped send reports only the lines it made.
    connector->requests = 0;
    viewModel->sendSelected();
    ASSERT_TRUE(connector->entered.tryAcquire(1, 60000));
    viewModel->requestStop();
    connector->gate.release();
    ASSERT_TRUE(waitUntil([&] { return !viewModel->isSending(); }));
    ASSERT_EQ(store.updateResults().size(), 1);
    EXPECT_EQ(store.updateResults().at(0).correctionId, preview(0).id);
    EXPECT_EQ(preview(0).status, WooCorrectionStatus::sent);
    EXPECT_EQ(preview(4).status, WooCorrectionStatus::ready) << "not reached";
    EXPECT_TRUE(preview(4).isSelected);
}
