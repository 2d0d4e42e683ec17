#include "app/TallybrookControlStore.h"

#include "AppTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

const QString sessionA = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;
const QString sessionB = u"0A1B2C3D-4E5F-4607-8899-AABBCCDDEEFF"_s;

struct TallybrookControlStoreTest : ::testing::Test {
    void SetUp() override { useLanguage(u"en"_s); }

    QByteArray twoRows(const QString& session, const QString& secondLocation = u"Réserve"_s) {
        return documentBytes(session, {row(session, u"101"_s, 5, 3, u"Mug"_s, u"Boutique"_s),
                                       row(session, u"102"_s, 2, 2, u"Bol"_s, secondLocation)});
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    TallybrookControlStore store{preferences};
};

} // namespace

TEST_F(TallybrookControlStoreTest, ImportReplacesTheSessionAndBuildsPreviewsWithoutStock) {
    QSignalSpy documents(&store, &TallybrookControlStore::documentChanged);
    QSignalSpy corrections(&store, &TallybrookControlStore::correctionsChanged);
    store.importInventory(decoded(twoRows(sessionA)), u"a.tallybrook"_s);

    ASSERT_NE(store.document(), nullptr);
    EXPECT_EQ(store.importedFileName(), u"a.tallybrook"_s);
    EXPECT_EQ(store.lastRemoteReloadAt(), std::nullopt);
    ASSERT_EQ(store.corrections().size(), 2);
    EXPECT_EQ(store.corrections().at(0).status, WooCorrectionStatus::ready);
    EXPECT_TRUE(store.corrections().at(0).isSelected);
    EXPECT_EQ(store.corrections().at(1).status, WooCorrectionStatus::noDifference);
    EXPECT_EQ(documents.count(), 1);
    EXPECT_EQ(corrections.count(), 1);

    // Every assignment is announced, also one that changes nothing.
    store.setCorrections(store.corrections());
    EXPECT_EQ(corrections.count(), 2);
    const auto first = store.document();
    store.importInventory(decoded(twoRows(sessionA)), u"a.tallybrook"_s);
    EXPECT_NE(store.document(), first) << "a new import is a new shared document";
    EXPECT_EQ(first->session.id, sessionA) << "holders of the old document keep it";
}

TEST_F(TallybrookControlStoreTest, AnImportAssignsThePropertiesInOrder) {
    QStringList announced;
    const auto record = [&](auto signal, const char* name) {
        QObject::connect(&store, signal, &store,
                         [&announced, name] { announced.append(QLatin1StringView(name)); });
    };
    record(&TallybrookControlStore::documentChanged, "document");
    record(&TallybrookControlStore::importedFileNameChanged, "importedFileName");
    record(&TallybrookControlStore::validationWarningsChanged, "validationWarnings");
    record(&TallybrookControlStore::correctionsChanged, "corrections");
    record(&TallybrookControlStore::updateResultsChanged, "updateResults");
    record(&TallybrookControlStore::lastRemoteReloadAtChanged, "lastRemoteReloadAt");
    record(&TallybrookControlStore::selectedInventoryLocationChanged, "selectedInventoryLocation");
    record(&TallybrookControlStore::temporaryItemLocationAssignmentsChanged,
           "temporaryItemLocationAssignments");

    store.selectInventoryLocation(u"Vitrine"_s);
    announced.clear();
    store.importInventory(decoded(twoRows(sessionA)), u"a.tallybrook"_s);
    const QStringList clearingTheFilter{u"document"_s,
                                        u"importedFileName"_s,
                                        u"validationWarnings"_s,
                                        u"lastRemoteReloadAt"_s,
                                        u"selectedInventoryLocation"_s,
                                        u"temporaryItemLocationAssignments"_s,
                                        u"updateResults"_s,
                                        u"corrections"_s};
    EXPECT_EQ(announced, clearingTheFilter);

    // A filter the new document has is left alone, so it is not announced.
    store.selectInventoryLocation(u"Réserve"_s);
    announced.clear();
    store.importInventory(decoded(twoRows(sessionB)), std::nullopt);
    QStringList keepingTheFilter = clearingTheFilter;
    keepingTheFilter.removeAll(u"selectedInventoryLocation"_s);
    EXPECT_EQ(announced, keepingTheFilter);
}

TEST_F(TallybrookControlStoreTest, TheLocationFilterSurvivesOnlyWhenTheNewDocumentHasIt) {
    store.importInventory(decoded(twoRows(sessionA)), std::nullopt);
    struct Case {
        const char* name;
        std::optional<QString> typed;
        std::optional<QString> stored;
    };
    const Case cases[] = {{"spaces around", u"  Réserve \n"_s, u"Réserve"_s},
                          {"only spaces", u"   "_s, std::nullopt},
                          {"none", std::nullopt, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.selectInventoryLocation(c.typed);
        EXPECT_EQ(store.selectedInventoryLocation(), c.stored);
    }

    store.selectInventoryLocation(u"Réserve"_s);
    store.importInventory(decoded(twoRows(sessionB)), std::nullopt);
    EXPECT_EQ(store.selectedInventoryLocation(), u"Réserve"_s);
    store.importInventory(decoded(twoRows(sessionB, u"Vitrine"_s)), std::nullopt);
    EXPECT_EQ(store.selectedInventoryLocation(), std::nullopt);
}

TEST_F(TallybrookControlStoreTest, TemporaryItemLocationsAreAssignedSavedAndRestoredPerSession) {
    const QJsonArray items{
        QJsonObject{{u"id"_s, u"T-1"_s}, {u"sessionId"_s, sessionA}, {u"provisionalName"_s, u"Vase"_s}},
        QJsonObject{{u"id"_s, u"T-2"_s}, {u"provisionalName"_s, u"Lot"_s}, {u"location"_s, u"Vitrine"_s}},
        QJsonObject{{u"provisionalName"_s, u"Sans id"_s}}};
    const QByteArray bytes = documentBytes(u" "_s + sessionA.toLower() + u" "_s, {}, items);
    store.importInventory(decoded(bytes), std::nullopt);
    const QList<InventoryExportTemporaryItem> temporary = store.document()->temporaryItems;

    store.assignLocation(u"  Réserve "_s, temporary.at(0));
    store.assignLocation(u"Réserve"_s, temporary.at(1));
    store.assignLocation(u"Atelier"_s, temporary.at(2));
    EXPECT_EQ(store.effectiveLocation(temporary.at(0)), u"Réserve"_s);
    EXPECT_EQ(store.effectiveLocation(temporary.at(1)), u"Vitrine"_s) << "the file's location wins";
    EXPECT_EQ(
        store.temporaryItemLocationAssignments().value(u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718|T-1||Vase"_s),
        u"Réserve"_s);

    TallybrookControlStore restarted(preferences);
    restarted.importInventory(decoded(bytes), std::nullopt);
    const QList<InventoryExportTemporaryItem> again = restarted.document()->temporaryItems;
    EXPECT_EQ(restarted.effectiveLocation(again.at(0)), u"Réserve"_s);
    EXPECT_EQ(restarted.effectiveLocation(again.at(2)), std::nullopt) << "an item without id gets a new key";

    restarted.assignLocation(u" "_s, again.at(0));
    EXPECT_EQ(restarted.effectiveLocation(again.at(0)), std::nullopt);
    TallybrookControlStore third(preferences);
    third.importInventory(decoded(bytes), std::nullopt);
    EXPECT_EQ(third.temporaryItemLocationAssignments().size(), 2)
        << "T-2 and the earlier id-less item remain";
}

TEST_F(TallybrookControlStoreTest, ReimportRestoresSendResultsAndProgressButNotTheReloadTime) {
    store.importInventory(decoded(twoRows(sessionA)), std::nullopt);
    RemoteStockLevel level;
    level.externalProductId = u"101"_s;
    level.quantity = 3;
    level.fetchedAt = QDateTime::currentDateTimeUtc();
    store.applyRemoteStocks({level});
    ASSERT_TRUE(store.lastRemoteReloadAt().has_value());
    const QDateTime reloadedAt = *store.lastRemoteReloadAt();
    store.saveProgress();
    store.applyRemoteStocks({});
    EXPECT_EQ(store.lastRemoteReloadAt(), reloadedAt) << "an empty list leaves the reload time";

    QList<WooCorrectionPreview> corrections = store.corrections();
    corrections[0].isSelected = false;
    WooUpdateResultLine line;
    line.id = QUuid::createUuid();
    line.correctionId = corrections[0].id;
    line.itemName = u"Mug"_s;
    line.updatedAt = reloadedAt;
    store.setCorrections(corrections);
    store.setUpdateResults({line});
    store.saveProgress();

    TallybrookControlStore restarted(preferences);
    restarted.importInventory(decoded(twoRows(sessionA)), std::nullopt);
    EXPECT_EQ(restarted.updateResults(), QList<WooUpdateResultLine>{line});
    EXPECT_EQ(restarted.lastRemoteReloadAt(), std::nullopt);
    EXPECT_FALSE(restarted.corrections().at(0).isSelected);
    EXPECT_EQ(restarted.corrections().at(0).currentRemoteQuantity, 3) << "last known stock laid over";

    restarted.importInventory(decoded(twoRows(sessionB)), std::nullopt);
    EXPECT_TRUE(restarted.updateResults().isEmpty());
}

TEST_F(TallybrookControlStoreTest, APartialReloadReplacesOnlyTheRowsThatWereRead) {
    store.importInventory(decoded(twoRows(sessionA)), std::nullopt);
    const QList<WooCorrectionPreview> before = store.corrections();
    RemoteStockLevel level;
    level.externalProductId = u"102"_s;
    level.quantity = 9;
    level.fetchedAt = QDateTime::currentDateTimeUtc();
    store.applyPartialRemoteStocks({level});
    EXPECT_EQ(store.corrections().at(0), before.at(0)) << "not read: unchanged";
    EXPECT_EQ(store.corrections().at(1).currentRemoteQuantity, 9);
    EXPECT_NE(store.corrections().at(1).id, before.at(1).id);
}
