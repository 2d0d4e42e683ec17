#include "storage/TemporaryItemLocationStore.h"

#include "document/InventoryExportDocument.h"
#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

TEST(TemporaryItemLocationStoreTest, ItemKeysOfCurrentLegacyAndForeignItems) {
    const std::tuple<std::optional<QString>, std::optional<QString>, QString> cases[] = {
        {u"S-1"_s, u"123"_s, u"S-1|T-9|123|Vase bleu"_s},
        {std::nullopt, u"123"_s, u"legacy|T-9|123|Vase bleu"_s},
        {QString(), std::nullopt, u"|T-9||Vase bleu"_s},
        {u"OTHER"_s, std::nullopt, u"OTHER|T-9||Vase bleu"_s},
    };
    for (const auto& [sessionId, scannedCode, expected] : cases) {
        InventoryExportTemporaryItem item;
        item.id = u"T-9"_s, item.sessionId = sessionId, item.scannedCode = scannedCode;
        item.provisionalName = u"Vase bleu"_s;
        EXPECT_EQ(TemporaryItemLocationStore::itemKey(item), expected);
    }
}

TEST(TemporaryItemLocationStoreTest, AssignmentsAreStoredPerExactSessionTextAndPruned) {
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    TemporaryItemLocationStore store(preferences, clock.clock());
    const QMap<QString, QString> assignments{{u"legacy|T|1|A"_s, u"Réserve"_s}, {u"S|U||B"_s, u"Vitrine"_s}};
    const QString sessionId = u" 6f0e2c1a-9b8d-4e7f-a1b2-c3d4e5f60718 "_s;
    store.saveAssignments(assignments, sessionId);
    EXPECT_EQ(TemporaryItemLocationStore(preferences).loadAssignments(sessionId), assignments);
    EXPECT_TRUE(store.loadAssignments(sessionId.trimmed()).isEmpty()) << "looked up by the exact text";
    const QString key = TemporaryItemLocationStore::defaultStorageKey();
    EXPECT_EQ(key, u"com.tallybrook.control.temporary-item-locations.v1"_s);
    const QJsonObject session = QJsonDocument::fromJson(*preferences->data(key)).object().value(sessionId).toObject();
    EXPECT_EQ(session.value(u"sessionId"_s).toString(), sessionId);
    EXPECT_DOUBLE_EQ(session.value(u"updatedAt"_s).toDouble(), 736355045.25);
    EXPECT_EQ(session.value(u"assignments"_s).toObject().value(u"S|U||B"_s).toString(), u"Vitrine"_s);
    clock.advance(5);
    store.saveAssignments({}, sessionId);
    EXPECT_TRUE(store.loadAssignments(sessionId).isEmpty());
    EXPECT_EQ(store.loadSessions().value(sessionId).updatedAt, *clock.now);

    for (int i = 0; i < 20; ++i) {
        clock.advance(1);
        store.saveAssignments({{u"k"_s, QString::number(i)}}, u"session-"_s + QString::number(i));
    }
    const auto sessions = store.loadSessions();
    EXPECT_EQ(sessions.size(), 20);
    EXPECT_FALSE(sessions.contains(sessionId)) << "the least recently updated goes";
    EXPECT_EQ(sessions.value(u"session-19"_s).assignments.value(u"k"_s), u"19"_s);
}

// Each store remembers the last blob it decoded; what another writer stores must still be seen,
// and a blob it cannot decode reads as empty and is left as it is.
TEST(TemporaryItemLocationStoreTest, WhatAnotherWriterStoresIsAlwaysRead) {
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    const QString key = TemporaryItemLocationStore::defaultStorageKey();
    TemporaryItemLocationStore first(preferences);
    TemporaryItemLocationStore second(preferences);
    first.saveAssignments({{u"legacy|A||Lampe"_s, u"Réserve"_s}}, u"S"_s);
    EXPECT_EQ(first.loadAssignments(u"S"_s).value(u"legacy|A||Lampe"_s), u"Réserve"_s);
    second.saveAssignments({{u"legacy|A||Lampe"_s, u"Vitrine"_s}}, u"S"_s);
    EXPECT_EQ(first.loadAssignments(u"S"_s).value(u"legacy|A||Lampe"_s), u"Vitrine"_s);
    for (const QByteArray& foreign : {QByteArray("\xff\xfe"), QByteArray("{\"s\":{\"sessionId\":\"s\",\"updatedAt\":1}}"),
                                      QByteArray("{\"s\":{\"sessionId\":\"s\",\"updatedAt\":1,\"assignments\":{\"k\":3}}}")}) {
        preferences->setData(key, foreign);
        EXPECT_TRUE(first.loadSessions().isEmpty());
        EXPECT_TRUE(first.loadAssignments(u"s"_s).isEmpty());
        EXPECT_EQ(preferences->data(key), foreign);
    }
    preferences->remove(key);
    EXPECT_TRUE(first.loadSessions().isEmpty());
    first.saveAssignments({{u"k"_s, u"v"_s}}, u"s"_s);
    EXPECT_EQ(second.loadSessions().keys(), QStringList{u"s"_s});
}
