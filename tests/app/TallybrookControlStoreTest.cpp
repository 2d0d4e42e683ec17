#include "app/TallybrookControlStore.h"

#include "AppTestSupport.h"
#include "app/InventoryDashboardViewModel.h"
#include "app/InventoryImportViewModel.h"
#include "storage/ImportHistoryStore.h"
#include "storage/SqlitePreferencesStore.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {


QByteArray twoRows(const QString& session, const QString& secondLocation = u"Réserve"_s) {
    return documentBytes(session, {rowJson(session, u"101"_s, 5, 3, u"Mug"_s), rowJson(session, u"102"_s, 2, 2, u"Bol"_s, secondLocation)});
}

struct TallybrookControlStoreTest : LanguageTest<> {
    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    TallybrookControlStore store{preferences};
};

} // namespace

TEST_F(TallybrookControlStoreTest, AnImportAssignsThePropertiesInOrderAndBuildsPreviews) {
    QStringList announced;
    const auto record = [&](auto signal, const char* name) {
        QObject::connect(&store, signal, &store, [&announced, name] { announced.append(QLatin1StringView(name)); });
    };
    record(&TallybrookControlStore::documentChanged, "document");
    record(&TallybrookControlStore::importedFileNameChanged, "importedFileName");
    record(&TallybrookControlStore::validationWarningsChanged, "validationWarnings");
    record(&TallybrookControlStore::correctionsChanged, "corrections");
    record(&TallybrookControlStore::updateResultsChanged, "updateResults");
    record(&TallybrookControlStore::lastRemoteReloadAtChanged, "lastRemoteReloadAt");
    record(&TallybrookControlStore::selectedInventoryLocationChanged, "selectedInventoryLocation");
    record(&TallybrookControlStore::temporaryItemLocationAssignmentsChanged, "temporaryItemLocationAssignments");
    store.selectInventoryLocation(u"Vitrine"_s);
    announced.clear();
    importInto(store, decoded(twoRows(sessionA)), u"a.tallybrook"_s);
    QStringList expected{u"document"_s, u"importedFileName"_s, u"validationWarnings"_s, u"lastRemoteReloadAt"_s,
                         u"selectedInventoryLocation"_s, u"temporaryItemLocationAssignments"_s, u"updateResults"_s,
                         u"corrections"_s};
    EXPECT_EQ(announced, expected);
    EXPECT_EQ(store.importedFileName(), u"a.tallybrook"_s);
    ASSERT_EQ(store.corrections().size(), 2);
    EXPECT_EQ(store.corrections().at(0).status, WooCorrectionStatus::ready);
    EXPECT_TRUE(store.corrections().at(0).isSelected);
    EXPECT_EQ(store.corrections().at(1).status, WooCorrectionStatus::noDifference);

    // A filter the new document has is kept, so it is not announced; every assignment is.
    store.selectInventoryLocation(u"  Réserve \n"_s);
    EXPECT_EQ(store.selectedInventoryLocation(), u"Réserve"_s);
    announced.clear();
    const auto first = store.document();
    importInto(store, decoded(twoRows(sessionB)));
    expected.removeAll(u"selectedInventoryLocation"_s);
    EXPECT_EQ(announced, expected);
    EXPECT_EQ(store.selectedInventoryLocation(), u"Réserve"_s);
    EXPECT_EQ(first->session.id, sessionA) << "holders of the old document keep it";
    importInto(store, decoded(twoRows(sessionB, u"Vitrine"_s)));
    EXPECT_EQ(store.selectedInventoryLocation(), std::nullopt);
    store.selectInventoryLocation(u"   "_s);
    EXPECT_EQ(store.selectedInventoryLocation(), std::nullopt);
}

TEST_F(TallybrookControlStoreTest, TemporaryItemLocationsAreAssignedSavedAndRestoredPerSession) {
    const QJsonArray items{
        QJsonObject{{u"id"_s, u"T-1"_s}, {u"sessionId"_s, sessionA}, {u"provisionalName"_s, u"Vase"_s}},
        QJsonObject{{u"id"_s, u"T-2"_s}, {u"provisionalName"_s, u"Lot"_s}, {u"location"_s, u"Vitrine"_s}},
        QJsonObject{{u"provisionalName"_s, u"Sans id"_s}}};
    const QByteArray bytes = documentBytes(u" "_s + sessionA.toLower() + u" "_s, {}, u"Test"_s, {{u"temporaryItems"_s, items}});
    importInto(store, decoded(bytes));
    const QList<InventoryExportTemporaryItem> temporary = store.document()->temporaryItems;
    store.assignLocation(u"  Réserve "_s, temporary.at(0));
    store.assignLocation(u"Réserve"_s, temporary.at(1));
    store.assignLocation(u"Atelier"_s, temporary.at(2));
    EXPECT_EQ(store.effectiveLocation(temporary.at(0)), u"Réserve"_s);
    EXPECT_EQ(store.effectiveLocation(temporary.at(1)), u"Vitrine"_s) << "the file's location wins";
    EXPECT_EQ(store.temporaryItemLocationAssignments().value(sessionA + u"|T-1||Vase"_s), u"Réserve"_s);

    TallybrookControlStore restarted(preferences);
    importInto(restarted, decoded(bytes));
    const QList<InventoryExportTemporaryItem> again = restarted.document()->temporaryItems;
    EXPECT_EQ(restarted.effectiveLocation(again.at(0)), u"Réserve"_s);
    EXPECT_EQ(restarted.effectiveLocation(again.at(2)), std::nullopt) << "an item without id gets a new key";
    restarted.assignLocation(u" "_s, again.at(0));
    EXPECT_EQ(restarted.effectiveLocation(again.at(0)), std::nullopt);
    TallybrookControlStore third(preferences);
    importInto(third, decoded(bytes));
    EXPECT_EQ(third.temporaryItemLocationAssignments().size(), 2) << "T-2 and the earlier id-less item remain";
}

TEST_F(TallybrookControlStoreTest, ReloadsAndReimportsKeepWhatTheyShould) {
    importInto(store, decoded(twoRows(sessionA)));
    const QList<WooCorrectionPreview> built = store.corrections();
    store.applyPartialRemoteStocks({level(u"102"_s, 9)});
    EXPECT_EQ(store.corrections().at(0), built.at(0)) << "not read: unchanged";
    EXPECT_EQ(store.corrections().at(1).currentRemoteQuantity, 9);
    EXPECT_NE(store.corrections().at(1).id, built.at(1).id);

    store.applyRemoteStocks({level(u"101"_s, 3)});
    ASSERT_TRUE(store.lastRemoteReloadAt().has_value());
    const QDateTime reloadedAt = *store.lastRemoteReloadAt();
    store.saveProgress();
    store.applyRemoteStocks({});
    EXPECT_EQ(store.lastRemoteReloadAt(), reloadedAt) << "an empty list leaves the reload time";
    QList<WooCorrectionPreview> corrections = store.corrections();
    corrections[0].isSelected = false;
    WooUpdateResultLine line;
    line.id = QUuid::createUuid(), line.correctionId = corrections[0].id, line.updatedAt = reloadedAt;
    store.setCorrections(corrections);
    store.setUpdateResults({line});
    store.saveProgress();

    TallybrookControlStore restarted(preferences);
    importInto(restarted, decoded(twoRows(sessionA)));
    EXPECT_EQ(restarted.updateResults(), QList<WooUpdateResultLine>{line});
    EXPECT_EQ(restarted.lastRemoteReloadAt(), std::nullopt);
    EXPECT_FALSE(restarted.corrections().at(0).isSelected);
    EXPECT_EQ(restarted.corrections().at(0).currentRemoteQuantity, 3) << "last known stock laid over";
    importInto(restarted, decoded(twoRows(sessionB)));
    EXPECT_TRUE(restarted.updateResults().isEmpty());
}

TEST_F(TallybrookControlStoreTest, FilesAreImportedIntoTheStoreAndTheHistoryOrNotAtAll) {
    QTemporaryDir dir;
    const auto writeFile = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    ImportHistoryStore history(preferences);
    InventoryImportViewModel viewModel(store, history);
    const QByteArray bytes = twoRows(sessionA);
    const auto importFile = [&](const QString& path) {
        return runImport(viewModel, [&] { return viewModel.startImport(path); });
    };
    int importingChanges = 0;
    QObject::connect(&viewModel, &InventoryImportViewModel::isImportingChanged, [&] { ++importingChanges; });
    EXPECT_EQ(importFile(writeFile(u"printemps.tallybrook"_s, bytes)), true);
    EXPECT_EQ(importingChanges, 2) << "true while importing, then false";
    EXPECT_EQ(store.importedFileName(), u"printemps.tallybrook"_s);
    ASSERT_EQ(history.recentImports().size(), 1);
    EXPECT_EQ(history.recentImports().at(0).documentData, bytes);
    InventoryDashboardViewModel dashboard;
    dashboard.refresh(store.document(), store.corrections());
    EXPECT_EQ(dashboard.analysis().value_or(InventorySessionAnalysis()).totalRows, 2);

    const auto document = store.document();
    const std::optional<QByteArray> storedHistory = preferences->data(ImportHistoryStore::storageKey());
    const std::pair<QString, QString> failures[] = {
        {writeFile(u"notes.txt"_s, "just some text"), u"Invalid Tallybrook format: "_s},
        {writeFile(u"v9.tallybrook"_s, documentBytes(sessionB, {}, u"v9"_s, {{u"formatVersion"_s, 9}})),
         u"Unsupported Tallybrook format version: 9."_s},
        {dir.filePath(u"absent.tallybrook"_s), u"No such file or directory"_s},
    };
    for (const auto& [path, messageStart] : failures) {
        EXPECT_EQ(importFile(path), false);
        EXPECT_TRUE(viewModel.errorMessage().value_or(QString()).startsWith(messageStart)) << viewModel.errorMessage()->toStdString();
        EXPECT_FALSE(viewModel.isImporting());
        EXPECT_EQ(store.document(), document);
        EXPECT_EQ(preferences->data(ImportHistoryStore::storageKey()), storedHistory);
    }
    EXPECT_EQ(importFile(dir.filePath(u"printemps.tallybrook"_s)), true);
    EXPECT_EQ(viewModel.errorMessage(), std::nullopt) << "the next successful import clears the message";
}

TEST_F(TallybrookControlStoreTest, AStartReopensTheNewestImportThatStillDecodes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"preferences.sqlite"_s);
    const QByteArray newest = documentBytes(sessionA, {}, u"Newest"_s);
    {
        auto saved = SqlitePreferencesStore::open(path);
        ImportHistoryStore history(saved);
        history.recordImport(decoded(twoRows(sessionB)).document, twoRows(sessionB), u"older.tallybrook"_s);
        history.recordImport(decoded(newest).document, newest, u"newest.tallybrook"_s);
    }
    const auto restart = [&](auto check) {
        auto saved = SqlitePreferencesStore::open(path);
        TallybrookControlStore restarted(saved);
        ImportHistoryStore history(saved);
        InventoryImportViewModel importer(restarted, history);
        check(restarted, history, importer);
    };
    restart([&](TallybrookControlStore& restarted, ImportHistoryStore& history, InventoryImportViewModel& importer) {
        const QList<ImportedInventorySnapshot> before = history.recentImports();
        EXPECT_EQ(runImport(importer, [&] { return importer.startRestoreMostRecent(); }), true);
        ASSERT_TRUE(restarted.hasDocument());
        EXPECT_EQ(restarted.document()->session.name, u"Newest"_s);
        EXPECT_EQ(restarted.importedFileName(), u"newest.tallybrook"_s);
        EXPECT_EQ(history.recentImports(), before) << "reopening does not record again";
        EXPECT_EQ(runImport(importer, [&] { return importer.startRestoreMostRecent(); }), std::nullopt)
            << "a document is already open";

        // Recorded by a version that accepted format version 2: it no longer decodes.
        const QByteArray v2 = documentBytes(sessionA, {}, u"v2"_s, {{u"formatVersion"_s, 2}});
        history.recordImport(decoded(newest).document, v2, u"v2.tallybrook"_s);
    });
    restart([&](TallybrookControlStore& restarted, ImportHistoryStore& history, InventoryImportViewModel& importer) {
        EXPECT_EQ(runImport(importer, [&] { return importer.startRestoreMostRecent(); }), false);
        EXPECT_FALSE(restarted.hasDocument());
        EXPECT_EQ(importer.errorMessage(), std::nullopt) << "dropped without a message";
        ASSERT_EQ(history.recentImports().size(), 1);
        EXPECT_EQ(history.recentImports().at(0).originalFileName, u"older.tallybrook"_s);
    });
    EXPECT_EQ(ImportHistoryStore(SqlitePreferencesStore::open(path)).recentImports().size(), 1) << "the drop is saved";
}
