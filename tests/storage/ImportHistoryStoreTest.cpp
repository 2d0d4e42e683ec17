#include "storage/ImportHistoryStore.h"

#include "StorageTestSupport.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookFileDecoder.h"
#include "storage/InventoryImportTarget.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

const QString sessionA = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;
const QString sessionB = u"0A1B2C3D-4E5F-4607-8899-AABBCCDDEEFF"_s;

/// Records the imports handed to it, like the control store would take them.
struct RecordingTarget : InventoryImportTarget {
    bool documentOpen = false;
    QList<std::pair<TallybrookDecodedInventory, std::optional<QString>>> imports;

    bool hasDocument() const override { return documentOpen; }
    void importInventory(const TallybrookDecodedInventory& decoded,
                         const std::optional<QString>& fileName) override {
        imports.append({decoded, fileName});
        documentOpen = true;
    }
};

struct ImportHistoryStoreTest : ::testing::Test {
    void SetUp() override { useLanguage(u"en"_s); }

    void recordFile(ImportHistoryStore& history, const QByteArray& bytes,
                    const std::optional<QString>& fileName) {
        history.recordImport(TallybrookFileDecoder().decodeInventoryDocument(bytes), bytes, fileName);
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
};

QString sessionId(int index) {
    return u"00000000-0000-4000-8000-0000000000"_s + QString::number(10 + index);
}

} // namespace

TEST_F(ImportHistoryStoreTest, ASnapshotIsStoredAsTheExpectedJson) {
    ImportHistoryStore history(preferences, clock.clock());
    const QByteArray bytes = documentBytes(sessionA.toLower(), u"Printemps"_s);
    recordFile(history, bytes, u"stock.tallybrook"_s);
    recordFile(history, documentBytes(sessionB, u"Sans nom"_s), std::nullopt);

    const QJsonArray stored =
        QJsonDocument::fromJson(*preferences->data(ImportHistoryStore::storageKey())).array();
    ASSERT_EQ(stored.size(), 2);
    const QJsonObject withName = stored.at(1).toObject();
    EXPECT_EQ(withName.keys(),
              (QStringList{u"documentData"_s, u"exportedAt"_s, u"importedAt"_s, u"originalFileName"_s,
                           u"sessionId"_s, u"sessionName"_s, u"sourceRaw"_s}));
    EXPECT_EQ(withName.value(u"sessionId"_s).toString(), sessionA) << "canonical upper-case UUID text";
    EXPECT_EQ(withName.value(u"sessionName"_s).toString(), u"Printemps"_s);
    // 2024-05-02T15:04:05.250Z and 2024-05-01T10:20:30Z in seconds since 2001-01-01T00:00:00Z.
    EXPECT_DOUBLE_EQ(withName.value(u"importedAt"_s).toDouble(), 736355045.25);
    EXPECT_DOUBLE_EQ(withName.value(u"exportedAt"_s).toDouble(), 736251630.0);
    EXPECT_EQ(withName.value(u"sourceRaw"_s).toString(), u"woocommerce"_s);
    EXPECT_EQ(withName.value(u"originalFileName"_s).toString(), u"stock.tallybrook"_s);
    EXPECT_EQ(QByteArray::fromBase64(withName.value(u"documentData"_s).toString().toLatin1()), bytes);
    EXPECT_FALSE(stored.at(0).toObject().contains(u"originalFileName"_s)) << "no name: the key is left out";

    ImportHistoryStore reopened(preferences);
    EXPECT_EQ(reopened.recentImports(), history.recentImports());
    EXPECT_EQ(reopened.recentImports().at(0).originalFileName, std::nullopt);
    EXPECT_EQ(reopened.recentImports().at(1).documentData, bytes);
}

TEST_F(ImportHistoryStoreTest, ReimportingASessionReplacesItsEntryAtTheFront) {
    ImportHistoryStore history(preferences, clock.clock());
    QSignalSpy changes(&history, &ImportHistoryStore::recentImportsChanged);
    recordFile(history, documentBytes(sessionA, u"v1"_s), u"a.tallybrook"_s);
    clock.advance(60);
    recordFile(history, documentBytes(sessionB), u"b.tallybrook"_s);
    clock.advance(60);
    const QByteArray newer = documentBytes(sessionA, u"v2"_s);
    recordFile(history, newer, u"a2.tallybrook"_s);

    ASSERT_EQ(history.recentImports().size(), 2);
    const ImportedInventorySnapshot& front = history.recentImports().at(0);
    EXPECT_EQ(front.sessionId, QUuid::fromString(sessionA));
    EXPECT_EQ(front.documentData, newer);
    EXPECT_EQ(front.sessionName, u"v2"_s);
    EXPECT_EQ(front.importedAt, *clock.now);
    EXPECT_EQ(front.originalFileName, u"a2.tallybrook"_s);
    EXPECT_EQ(history.recentImports().at(1).sessionId, QUuid::fromString(sessionB));
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(ImportHistoryStoreTest, KeepsTheTenNewestImports) {
    ImportHistoryStore history(preferences, clock.clock());
    for (int i = 0; i < 11; ++i) {
        recordFile(history, documentBytes(sessionId(i)), u"file"_s + QString::number(i));
        clock.advance(1);
    }
    ASSERT_EQ(history.recentImports().size(), 10);
    EXPECT_EQ(history.recentImports().first().originalFileName, u"file10"_s);
    EXPECT_EQ(history.recentImports().last().originalFileName, u"file1"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().size(), 10);
}

TEST_F(ImportHistoryStoreTest, ADocumentWhoseSessionIdIsNotAUuidIsNotRecorded) {
    ImportHistoryStore history(preferences, clock.clock());
    InventoryExportDocument document =
        TallybrookFileDecoder().decodeInventoryDocument(documentBytes(sessionA));
    document.session.id = u"session-7"_s;
    history.recordImport(document, "bytes", u"x"_s);
    EXPECT_TRUE(history.recentImports().isEmpty());
    EXPECT_EQ(preferences->data(ImportHistoryStore::storageKey()), std::nullopt);
}

TEST_F(ImportHistoryStoreTest, AnUndecodableHistoryReadsAsEmptyAndStaysUntilTheNextImport) {
    ImportHistoryStore history(preferences, clock.clock());
    recordFile(history, documentBytes(sessionA), u"a"_s);
    QJsonArray stored = QJsonDocument::fromJson(*preferences->data(ImportHistoryStore::storageKey())).array();
    stored.append(QJsonObject{{u"sessionId"_s, sessionB}}); // one malformed element
    const QByteArray damaged = QJsonDocument(stored).toJson();

    struct Case {
        const char* name;
        QByteArray value;
    };
    const Case cases[] = {
        {"malformed element", damaged},
        {"not JSON", "garbage"},
        {"object instead of array", "{}"},
        {"bad base64", QByteArray(damaged).replace("documentData\":\"", "documentData\":\"*")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences->setData(ImportHistoryStore::storageKey(), c.value);
        ImportHistoryStore reopened(preferences, clock.clock());
        EXPECT_TRUE(reopened.recentImports().isEmpty());
        EXPECT_EQ(preferences->data(ImportHistoryStore::storageKey()), c.value);
    }
    ImportHistoryStore reopened(preferences, clock.clock());
    recordFile(reopened, documentBytes(sessionB), u"b"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().size(), 1);
}

TEST_F(ImportHistoryStoreTest, RestoreReopensTheNewestEntryWithItsFileName) {
    {
        ImportHistoryStore history(preferences, clock.clock());
        recordFile(history, documentBytes(sessionB), u"older.tallybrook"_s);
        recordFile(history, documentBytes(sessionA, u"Newest"_s), u"newest.tallybrook"_s);
    }
    ImportHistoryStore history(preferences, clock.clock());
    const QList<ImportedInventorySnapshot> before = history.recentImports();

    RecordingTarget busy;
    busy.documentOpen = true;
    EXPECT_FALSE(history.restoreMostRecent(busy));
    EXPECT_TRUE(busy.imports.isEmpty());

    RecordingTarget target;
    EXPECT_TRUE(history.restoreMostRecent(target));
    ASSERT_EQ(target.imports.size(), 1);
    EXPECT_EQ(target.imports.at(0).first.document.session.name, u"Newest"_s);
    EXPECT_EQ(target.imports.at(0).second, u"newest.tallybrook"_s);
    EXPECT_EQ(history.recentImports(), before) << "restoring does not re-record";

    RecordingTarget empty;
    EXPECT_FALSE(ImportHistoryStore(std::make_shared<InMemoryPreferencesStore>()).restoreMostRecent(empty));
}

TEST_F(ImportHistoryStoreTest, ANewestEntryThatNoLongerDecodesIsDroppedAndNothingOpens) {
    {
        ImportHistoryStore history(preferences, clock.clock());
        recordFile(history, documentBytes(sessionB), u"good"_s);
        // Recorded by an earlier version that accepted format version 2.
        InventoryExportDocument document =
            TallybrookFileDecoder().decodeInventoryDocument(documentBytes(sessionA));
        history.recordImport(document, documentBytes(sessionA, u"x"_s, {}, 2), u"v2"_s);
    }
    ImportHistoryStore history(preferences, clock.clock());
    RecordingTarget target;
    EXPECT_FALSE(history.restoreMostRecent(target));
    EXPECT_TRUE(target.imports.isEmpty());
    ASSERT_EQ(history.recentImports().size(), 1);
    EXPECT_EQ(history.recentImports().at(0).originalFileName, u"good"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().size(), 1) << "the drop is persisted";
}
