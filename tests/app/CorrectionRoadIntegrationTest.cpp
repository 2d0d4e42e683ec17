// The whole correction road, headless, with real components: the sample inventory, a SQLite
// preferences file in a temporary folder, the demo shop on 127.0.0.1 and the real WooCommerce
// connector. Only the secret store is in memory (it stands for the Keychain, which outlives
// the process like the preferences file does).

#include "AppTestSupport.h"
#include "app/CommerceConnectorFactory.h"
#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "app/WooCorrectionsViewModel.h"
#include "demo-shop/DemoShop.h"
#include "document/TextRules.h"
#include "storage/ImportHistoryStore.h"
#include "storage/InMemorySecretStore.h"
#include "storage/SqlitePreferencesStore.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {

const QString samplePath = QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook");

std::shared_ptr<SqlitePreferencesStore> openPreferences(const QString& path) {
    auto preferences = SqlitePreferencesStore::open(path);
    if (preferences) {
        PreferencesStore::setStandard(preferences);
        preferences->setString(u"com.tallybrook.control.language"_s, u"en"_s);
    }
    return preferences;
}

WooCredentialStore credentialStore(const std::shared_ptr<PreferencesStore>& preferences,
                                   const std::shared_ptr<SecretStore>& secrets) {
    return WooCredentialStore(preferences,
                              KeychainService(KeychainService::wooCommerceServiceName(), secrets));
}

QHash<QString, WooCorrectionPreview> byRecordKey(const QList<WooCorrectionPreview>& previews) {
    QHash<QString, WooCorrectionPreview> map;
    for (const WooCorrectionPreview& preview : previews) {
        map.insert(WooCorrectionProgressStore::recordKey(preview), preview);
    }
    return map;
}

std::optional<qint64> variationOf(const WooCorrectionPreview& preview) {
    return preview.externalVariantId ? std::optional(preview.externalVariantId->toLongLong()) : std::nullopt;
}

qint64 shopStock(const DemoShop& shop, const WooCorrectionPreview& preview) {
    return shop.stock(preview.externalProductId->toLongLong(), variationOf(preview)).value_or(-1);
}

} // namespace

TEST(CorrectionRoadIntegrationTest, ReloadSelectSendRestartAndVerifyAgainstTheDemoShop) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString preferencesPath = dir.filePath(u"preferences.sqlite3"_s);
    auto secrets = std::make_shared<InMemorySecretStore>();

    QFile sample(samplePath);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly)) << samplePath.toStdString();
    const InventoryExportDocument sampleDocument = decoded(sample.readAll()).document;
    DemoShop shop(DemoCatalog::fromDocument(sampleDocument));
    shop.start(0);
    ASSERT_EQ(shop.url().host(), u"127.0.0.1"_s);

    QList<WooUpdateResultLine> sentLines;
    QString deselectedKey;
    QString proposalKey;
    QString otherSentKey;
    {
        auto preferences = openPreferences(preferencesPath);
        ASSERT_NE(preferences, nullptr);
        credentialStore(preferences, secrets).save(shop.url(), u"Demo"_s, u"ck_demo"_s, u"cs_demo"_s);

        TallybrookControlStore store(preferences);
        ImportHistoryStore history(preferences);
        InventoryImportViewModel importer(store, history);
        ASSERT_TRUE(importer.importFile(samplePath));
        WooCorrectionsViewModel corrections(store, credentialStore(preferences, secrets),
                                            wooCommerceConnectorFactory());

        corrections.reloadStocks();
        ASSERT_TRUE(waitUntil([&] { return !corrections.isReloadingStocks(); }));
        EXPECT_EQ(corrections.errorMessage(), std::nullopt) << corrections.errorMessage().value_or(QString()).toStdString();

        QList<WooCorrectionPreview> ready;
        for (const WooCorrectionPreview& preview : store.corrections()) {
            if (preview.status == WooCorrectionStatus::ready) {
                ready.append(preview);
                EXPECT_TRUE(preview.isSelected);
                EXPECT_EQ(preview.currentRemoteQuantity, preview.referenceQuantityAtInventory);
            }
        }
        ASSERT_GE(ready.size(), 3);
        const WooCorrectionPreview deselected = ready.at(0);
        const WooCorrectionPreview proposal = ready.at(1);
        deselectedKey = WooCorrectionProgressStore::recordKey(deselected);
        proposalKey = WooCorrectionProgressStore::recordKey(proposal);
        otherSentKey = WooCorrectionProgressStore::recordKey(ready.at(2));
        corrections.setSelection(deselected.id, false);
        corrections.setProposedQuantityText(deselected.id, u"9"_s);
        corrections.setProposedQuantityText(proposal.id, u"7"_s);
        EXPECT_EQ(corrections.counters().selected, ready.size() - 1);

        corrections.sendSelected();
        ASSERT_TRUE(waitUntil([&] { return !corrections.isSending(); }));
        sentLines = store.updateResults();
        ASSERT_EQ(sentLines.size(), ready.size() - 1);

        const QHash<QString, WooCorrectionPreview> after = byRecordKey(store.corrections());
        for (const WooUpdateResultLine& line : std::as_const(sentLines)) {
            SCOPED_TRACE(line.itemName.toStdString());
            EXPECT_TRUE(line.success && line.remoteQuantityAfterUpdate == line.requestedQuantity);
            const auto preview =
                std::find_if(store.corrections().cbegin(), store.corrections().cend(),
                             [&](const WooCorrectionPreview& p) { return p.id == line.correctionId; });
            ASSERT_NE(preview, store.corrections().cend());
            EXPECT_EQ(std::tie(preview->status, preview->isSelected, preview->currentRemoteQuantity,
                               preview->differenceFromCurrentRemote, preview->message),
                      std::make_tuple(WooCorrectionStatus::sent, false, line.requestedQuantity, std::optional<qint64>(0),
                                      std::optional<QString>(u"WooCommerce stock updated."_s)));
            EXPECT_EQ(shopStock(shop, *preview), line.requestedQuantity.value_or(-2));
        }
        EXPECT_EQ(shopStock(shop, after.value(proposalKey)), 7);
        EXPECT_EQ(shopStock(shop, deselected), *deselected.referenceQuantityAtInventory) << "not sent";
    }

    // A restart: new objects over the same preferences file; the history reopens the sample.
    auto preferences = openPreferences(preferencesPath);
    ASSERT_NE(preferences, nullptr);
    TallybrookControlStore store(preferences);
    ImportHistoryStore history(preferences);
    ASSERT_TRUE(history.restoreMostRecent(store));
    EXPECT_EQ(store.importedFileName(), u"boutique-lumiere.tallybrook"_s);
    EXPECT_EQ(store.updateResults(), sentLines);

    const auto records =
        store.progressStore().loadSessions().value(uuidText(*store.document()->session.uuid())).records;
    const auto sentOn = [&](const QString& key) -> QString {
        for (const WooCorrectionProgressRecord& record : records) {
            if (record.key == key && record.sentAt) {
                return u"Correction sent on "_s + WooCorrectionProgressStore::sentDateText(*record.sentAt) +
                       u"."_s;
            }
        }
        return QString();
    };
    QHash<QString, WooCorrectionPreview> restored = byRecordKey(store.corrections());
    const WooCorrectionPreview deselected = restored.value(deselectedKey);
    EXPECT_EQ(std::tie(deselected.status, deselected.isSelected, deselected.proposedQuantity, deselected.message),
              std::make_tuple(WooCorrectionStatus::ready, false, std::optional<qint64>(9),
                              std::optional<QString>(u"Proposed quantity adjusted manually."_s)));
    for (const QString& key : {proposalKey, otherSentKey}) {
        EXPECT_FALSE(sentOn(key).isEmpty());
        EXPECT_EQ(std::tie(restored[key].status, restored[key].isSelected, restored[key].message),
                  std::make_tuple(WooCorrectionStatus::sent, false, std::optional(sentOn(key))));
    }
    EXPECT_EQ(restored.value(proposalKey).proposedQuantity, 7);
    EXPECT_EQ(restored.value(proposalKey).currentRemoteQuantity, 7) << "last known store stock";

    // The store's stock drifts for one sent row; the next reload shows the mismatch.
    const WooCorrectionPreview drifted = restored.value(proposalKey);
    ASSERT_TRUE(shop.setStock(drifted.externalProductId->toLongLong(), variationOf(drifted), 6));

    WooCorrectionsViewModel corrections(store, credentialStore(preferences, secrets),
                                        wooCommerceConnectorFactory());
    corrections.reloadStocks();
    ASSERT_TRUE(waitUntil([&] { return !corrections.isReloadingStocks(); }));
    restored = byRecordKey(store.corrections());
    EXPECT_EQ(restored.value(proposalKey).status, WooCorrectionStatus::sent);
    EXPECT_EQ(restored.value(proposalKey).message,
              sentOn(proposalKey) + u" Current Woo stock differs from the sent quantity (6 instead of 7)."_s);
    EXPECT_EQ(restored.value(otherSentKey).message, sentOn(otherSentKey)) << "stock still as sent";
    EXPECT_EQ(restored.value(deselectedKey).proposedQuantity, 9);
}
