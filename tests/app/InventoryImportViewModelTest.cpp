#include "app/InventoryImportViewModel.h"

#include "AppTestSupport.h"
#include "app/InventoryDashboardViewModel.h"
#include "app/TallybrookControlStore.h"
#include "storage/ImportHistoryStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

const QString sessionA = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;

struct InventoryImportViewModelTest : ::testing::Test {
    void SetUp() override {
        useLanguage(u"en"_s);
        ASSERT_TRUE(dir.isValid());
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    TallybrookControlStore store{preferences};
    ImportHistoryStore history{preferences};
    InventoryImportViewModel viewModel{store, history};
};

} // namespace

TEST_F(InventoryImportViewModelTest, ImportsAFileIntoTheStoreAndTheHistory) {
    const QByteArray bytes = documentBytes(sessionA, {row(sessionA, u"101"_s, 5, 3, u"Mug"_s)});
    const QString path = writeFile(u"printemps.tallybrook"_s, bytes);
    QSignalSpy importing(&viewModel, &InventoryImportViewModel::isImportingChanged);

    EXPECT_TRUE(viewModel.importFile(path));
    EXPECT_EQ(importing.count(), 2) << "true while importing, then false";
    EXPECT_FALSE(viewModel.isImporting());
    EXPECT_EQ(viewModel.errorMessage(), std::nullopt);
    ASSERT_NE(store.document(), nullptr);
    EXPECT_EQ(store.importedFileName(), u"printemps.tallybrook"_s);
    ASSERT_EQ(history.recentImports().size(), 1);
    EXPECT_EQ(history.recentImports().at(0).documentData, bytes);
    EXPECT_EQ(history.recentImports().at(0).originalFileName, u"printemps.tallybrook"_s);

    InventoryDashboardViewModel dashboard;
    dashboard.refresh(store.document(), store.corrections());
    EXPECT_TRUE(dashboard.analysis().has_value());
    dashboard.refresh(nullptr, {});
    EXPECT_FALSE(dashboard.analysis().has_value());
}

TEST_F(InventoryImportViewModelTest, AFailedImportShowsItsErrorAndChangesNothing) {
    const QString good = writeFile(u"good.tallybrook"_s, documentBytes(sessionA, {}));
    ASSERT_TRUE(viewModel.importFile(good));
    const auto document = store.document();
    const QList<ImportedInventorySnapshot> recorded = history.recentImports();
    const std::optional<QByteArray> storedHistory = preferences->data(ImportHistoryStore::storageKey());

    struct Case {
        const char* name;
        QString path;
        QString expectedStart;
    };
    const Case cases[] = {
        {"not JSON", writeFile(u"notes.txt"_s, "just some text"), u"Invalid Tallybrook format: "_s},
        {"unsupported version",
         writeFile(
             u"v9.tallybrook"_s,
             QByteArray(documentBytes(sessionA, {})).replace("\"formatVersion\":1", "\"formatVersion\":9")),
         u"Unsupported Tallybrook format version: 9."_s},
        {"missing file", dir.filePath(u"absent.tallybrook"_s), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(viewModel.importFile(c.path));
        ASSERT_TRUE(viewModel.errorMessage().has_value());
        EXPECT_FALSE(viewModel.errorMessage()->isEmpty());
        EXPECT_TRUE(viewModel.errorMessage()->startsWith(c.expectedStart))
            << viewModel.errorMessage()->toStdString();
        EXPECT_FALSE(viewModel.isImporting());
        EXPECT_EQ(store.document(), document);
        EXPECT_EQ(store.importedFileName(), u"good.tallybrook"_s);
        EXPECT_EQ(history.recentImports(), recorded);
        EXPECT_EQ(preferences->data(ImportHistoryStore::storageKey()), storedHistory);
    }

    // The next successful import clears the message.
    EXPECT_TRUE(viewModel.importDroppedUrls({QUrl::fromLocalFile(good), QUrl(u"https://example.com/x"_s)}));
    EXPECT_EQ(viewModel.errorMessage(), std::nullopt);
    EXPECT_FALSE(viewModel.importDroppedUrls({}));
}

TEST_F(InventoryImportViewModelTest, StartUpReopensTheNewestImport) {
    const QString path = writeFile(u"start.tallybrook"_s, documentBytes(sessionA, {}));
    ASSERT_TRUE(viewModel.importFile(path));

    TallybrookControlStore restarted(preferences);
    ImportHistoryStore restartedHistory(preferences);
    EXPECT_TRUE(restartedHistory.restoreMostRecent(restarted));
    ASSERT_NE(restarted.document(), nullptr);
    EXPECT_EQ(restarted.importedFileName(), u"start.tallybrook"_s);
    EXPECT_FALSE(restartedHistory.restoreMostRecent(restarted)) << "a document is already open";
}
