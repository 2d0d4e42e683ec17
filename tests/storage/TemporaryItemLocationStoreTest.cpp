#include "storage/TemporaryItemLocationStore.h"

#include "StorageTestSupport.h"
#include "document/InventoryExportDocument.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

TEST(TemporaryItemLocationStoreTest, ItemKeysOfCurrentLegacyAndForeignItems) {
    struct Case {
        const char* name;
        std::optional<QString> sessionId;
        std::optional<QString> scannedCode;
        QString expected;
    };
    const Case cases[] = {
        {"item of the session", u"S-1"_s, u"123"_s, u"S-1|T-9|123|Vase bleu"_s},
        {"legacy item without session", std::nullopt, u"123"_s, u"legacy|T-9|123|Vase bleu"_s},
        {"empty session id stays empty", QString(), std::nullopt, u"|T-9||Vase bleu"_s},
        {"item of another session keeps its own id", u"OTHER"_s, std::nullopt, u"OTHER|T-9||Vase bleu"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InventoryExportTemporaryItem item;
        item.id = u"T-9"_s;
        item.sessionId = c.sessionId;
        item.scannedCode = c.scannedCode;
        item.provisionalName = u"Vase bleu"_s;
        EXPECT_EQ(TemporaryItemLocationStore::itemKey(item), c.expected);
    }
}

TEST(TemporaryItemLocationStoreTest, AssignmentsAreStoredPerExactSessionText) {
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    TemporaryItemLocationStore store(preferences, clock.clock());
    const QMap<QString, QString> assignments{{u"legacy|T|1|A"_s, u"Réserve"_s}, {u"S|U||B"_s, u"Vitrine"_s}};
    const QString sessionId = u" 6f0e2c1a-9b8d-4e7f-a1b2-c3d4e5f60718 "_s;
    store.saveAssignments(assignments, sessionId);

    EXPECT_EQ(TemporaryItemLocationStore(preferences).loadAssignments(sessionId), assignments);
    EXPECT_TRUE(store.loadAssignments(sessionId.trimmed()).isEmpty()) << "looked up by the exact text";
    EXPECT_TRUE(store.loadAssignments(u"unknown"_s).isEmpty());

    const QJsonObject blob =
        QJsonDocument::fromJson(*preferences->data(u"com.tallybrook.control.temporary-item-locations.v1"_s))
            .object();
    const QJsonObject session = blob.value(sessionId).toObject();
    EXPECT_EQ(session.value(u"sessionId"_s).toString(), sessionId);
    EXPECT_DOUBLE_EQ(session.value(u"updatedAt"_s).toDouble(), 736355045.25);
    EXPECT_EQ(session.value(u"assignments"_s).toObject().value(u"S|U||B"_s).toString(), u"Vitrine"_s);

    clock.advance(5);
    store.saveAssignments({}, sessionId);
    EXPECT_TRUE(store.loadAssignments(sessionId).isEmpty());
    EXPECT_EQ(store.loadSessions().value(sessionId).updatedAt, *clock.now);
}

TEST(TemporaryItemLocationStoreTest, PrunesToTwentySessionsAndIgnoresUndecodableBlobs) {
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    TemporaryItemLocationStore store(preferences, clock.clock());
    for (int i = 0; i < 21; ++i) {
        store.saveAssignments({{u"k"_s, QString::number(i)}}, u"session-"_s + QString::number(i));
        clock.advance(1);
    }
    const auto sessions = store.loadSessions();
    EXPECT_EQ(sessions.size(), 20);
    EXPECT_FALSE(sessions.contains(u"session-0"_s));
    EXPECT_EQ(sessions.value(u"session-20"_s).assignments.value(u"k"_s), u"20"_s);

    const QString key = TemporaryItemLocationStore::defaultStorageKey();
    for (const QByteArray& foreign :
         {QByteArray("\xff\xfe"), QByteArray("{\"s\":{\"sessionId\":\"s\",\"updatedAt\":1}}"),
          QByteArray("{\"s\":{\"sessionId\":\"s\",\"updatedAt\":1,\"assignments\":{\"k\":3}}}")}) {
        preferences->setData(key, foreign);
        EXPECT_TRUE(store.loadSessions().isEmpty());
        EXPECT_TRUE(store.loadAssignments(u"s"_s).isEmpty());
        EXPECT_EQ(preferences->data(key), foreign);
    }
    store.saveAssignments({{u"k"_s, u"v"_s}}, u"s"_s);
    EXPECT_EQ(store.loadSessions().keys(), QStringList{u"s"_s});
}

// Each store remembers the last blob it decoded; what another writer stores must still be seen.
TEST(TemporaryItemLocationStoreTest, ChangesMadeByAnotherWriterAreAlwaysRead) {
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    const QString key = u"com.tallybrook.control.temporary-item-locations.v1"_s;
    TemporaryItemLocationStore first(preferences);
    TemporaryItemLocationStore second(preferences);
    first.saveAssignments({{u"legacy|A||Lampe"_s, u"Réserve"_s}}, u"S"_s);
    EXPECT_EQ(first.loadAssignments(u"S"_s).value(u"legacy|A||Lampe"_s), u"Réserve"_s);

    second.saveAssignments({{u"legacy|A||Lampe"_s, u"Vitrine"_s}}, u"S"_s);
    EXPECT_EQ(first.loadAssignments(u"S"_s).value(u"legacy|A||Lampe"_s), u"Vitrine"_s);

    preferences->setData(key, "written by something else");
    EXPECT_TRUE(first.loadSessions().isEmpty());
    preferences->remove(key);
    EXPECT_TRUE(first.loadSessions().isEmpty());
}
