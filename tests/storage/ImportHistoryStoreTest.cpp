#include "storage/ImportHistoryStore.h"

#include "document/TallybrookFileDecoder.h"
#include "support/InventoryBuilders.h"
#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QSignalSpy>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {


struct ImportHistoryStoreTest : LanguageTest<> {
    void record(const QByteArray& bytes, const std::optional<QString>& fileName) {
        history.recordImport(TallybrookFileDecoder().decodeInventoryDocument(bytes), bytes, fileName);
    }
    QJsonArray stored() const {
        return QJsonDocument::fromJson(preferences->data(ImportHistoryStore::storageKey()).value_or("")).array();
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    ImportHistoryStore history{preferences, clock.clock()};
};

} // namespace

TEST_F(ImportHistoryStoreTest, ASnapshotIsStoredAsTheExpectedJson) {
    const QByteArray bytes = documentBytes(sessionA.toLower(), {}, u"Printemps"_s);
    record(bytes, u"stock.tallybrook"_s);
    record(documentBytes(sessionB), std::nullopt);
    ASSERT_EQ(stored().size(), 2);
    const QJsonObject withName = stored().at(1).toObject();
    EXPECT_EQ(withName.keys(), (QStringList{u"documentData"_s, u"exportedAt"_s, u"importedAt"_s, u"originalFileName"_s,
                                            u"sessionId"_s, u"sessionName"_s, u"sourceRaw"_s}));
    EXPECT_EQ(withName.value(u"sessionId"_s).toString(), sessionA) << "canonical upper-case UUID text";
    EXPECT_EQ(withName.value(u"sessionName"_s).toString(), u"Printemps"_s);
    // 2024-05-02T15:04:05.250Z and 2024-05-01T10:20:30Z in seconds since 2001-01-01T00:00:00Z.
    EXPECT_DOUBLE_EQ(withName.value(u"importedAt"_s).toDouble(), 736355045.25);
    EXPECT_DOUBLE_EQ(withName.value(u"exportedAt"_s).toDouble(), 736251630.0);
    EXPECT_EQ(withName.value(u"sourceRaw"_s).toString(), u"woocommerce"_s);
    EXPECT_EQ(withName.value(u"originalFileName"_s).toString(), u"stock.tallybrook"_s);
    EXPECT_EQ(QByteArray::fromBase64(withName.value(u"documentData"_s).toString().toLatin1()), bytes);
    EXPECT_FALSE(stored().at(0).toObject().contains(u"originalFileName"_s)) << "no name: the key is left out";
    ImportHistoryStore reopened(preferences);
    EXPECT_EQ(reopened.recentImports(), history.recentImports());
    EXPECT_EQ(reopened.recentImports().at(0).originalFileName, std::nullopt);

    // A file larger than the slices its Base64 text is written in reads back byte for byte.
    QByteArray large(7 * 1024 * 1024 + 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i) {
        large[i] = char(i * 7919 % 251);
    }
    history.recordImport(TallybrookFileDecoder().decodeInventoryDocument(bytes), large, u"large"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().constFirst().documentData, large);
}

TEST_F(ImportHistoryStoreTest, ReimportReplacesTheEntryAtTheFrontAndTenAreKept) {
    QSignalSpy changes(&history, &ImportHistoryStore::recentImportsChanged);
    record(documentBytes(sessionA, {}, u"v1"_s), u"a.tallybrook"_s);
    clock.advance(60);
    record(documentBytes(sessionB), u"b.tallybrook"_s);
    clock.advance(60);
    const QByteArray newer = documentBytes(sessionA, {}, u"v2"_s);
    record(newer, u"a2.tallybrook"_s);
    ASSERT_EQ(history.recentImports().size(), 2);
    const ImportedInventorySnapshot& front = history.recentImports().at(0);
    EXPECT_EQ(front.sessionId, QUuid::fromString(sessionA));
    EXPECT_EQ(std::tie(front.documentData, front.sessionName, front.importedAt, front.originalFileName),
              std::make_tuple(newer, u"v2"_s, *clock.now, std::optional<QString>(u"a2.tallybrook"_s)));
    EXPECT_EQ(history.recentImports().at(1).sessionId, QUuid::fromString(sessionB));
    EXPECT_EQ(changes.count(), 3);

    for (int i = 0; i < 10; ++i) {
        record(documentBytes(u"00000000-0000-4000-8000-0000000000"_s + QString::number(10 + i)), QString::number(i));
    }
    ASSERT_EQ(history.recentImports().size(), 10);
    EXPECT_EQ(history.recentImports().first().originalFileName, u"9"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().last().originalFileName, u"0"_s);

    InventoryExportDocument document = TallybrookFileDecoder().decodeInventoryDocument(documentBytes(sessionA));
    document.session.id = u"session-7"_s; // no UUID: not recorded
    history.recordImport(document, "bytes", u"x"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().first().originalFileName, u"9"_s);
}

TEST_F(ImportHistoryStoreTest, AnUndecodableHistoryReadsAsEmptyAndStaysUntilTheNextImport) {
    record(documentBytes(sessionA), u"a"_s);
    QJsonArray malformed = stored();
    malformed.append(QJsonObject{{u"sessionId"_s, sessionB}});
    const QByteArray damaged = QJsonDocument(malformed).toJson();
    for (const QByteArray& value : {damaged, QByteArray("garbage"), QByteArray("{}"),
                                    QByteArray(damaged).replace("documentData\":\"", "documentData\":\"*")}) {
        preferences->setData(ImportHistoryStore::storageKey(), value);
        EXPECT_TRUE(ImportHistoryStore(preferences).recentImports().isEmpty()) << value.toStdString();
        EXPECT_EQ(preferences->data(ImportHistoryStore::storageKey()), value);
    }
    ImportHistoryStore reopened(preferences, clock.clock());
    reopened.recordImport(TallybrookFileDecoder().decodeInventoryDocument(documentBytes(sessionB)), documentBytes(sessionB), u"b"_s);
    EXPECT_EQ(ImportHistoryStore(preferences).recentImports().size(), 1);
}
