#include "storage/WooCorrectionProgressStore.h"

#include "StorageTestSupport.h"
#include "corrections/CorrectionJson.h"
#include "document/TextRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <limits>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

// A blob holding one session under the given member name, as another writer may have stored it.
QByteArray blobOf(const QString& memberName, const WooCorrectionProgressSession& session) {
    QByteArray blob = "{\"" + memberName.toUtf8() + "\":";
    appendProgressSessionJson(blob, session);
    return blob + '}';
}

const QUuid session = QUuid::fromString(u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s);

/// A preview as the builder makes it for a row with product `product`, counted 5, reference 3.
WooCorrectionPreview preview(const QString& product,
                             WooCorrectionStatus status = WooCorrectionStatus::ready) {
    WooCorrectionPreview p;
    p.id = QUuid::createUuid();
    p.sessionId = session;
    p.localItemId =
        QUuid::fromString(u"11111111-2222-4333-8444-5555555555"_s + product.right(2).rightJustified(2, u'0'));
    p.externalProductId = product;
    p.itemName = u"Item "_s + product;
    p.sku = u"SKU-"_s + product;
    p.referenceQuantityAtInventory = 3;
    p.countedQuantity = 5;
    p.proposedQuantity = 5;
    p.differenceFromReference = 2;
    p.status = status;
    p.isSelected = status == WooCorrectionStatus::ready;
    p.message = u"built message"_s;
    return p;
}

struct WooCorrectionProgressStoreTest : ::testing::Test {
    void SetUp() override { useLanguage(u"en"_s); }

    std::optional<WooCorrectionProgressRecord> storedRecord(const WooCorrectionPreview& p) const {
        const auto sessions = store.loadSessions();
        if (!sessions.contains(uuidKey)) {
            return std::nullopt;
        }
        for (const WooCorrectionProgressRecord& record : sessions.value(uuidKey).records) {
            if (record.key == WooCorrectionProgressStore::recordKey(p)) {
                return record;
            }
        }
        return std::nullopt;
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    WooCorrectionProgressStore store{preferences, clock.clock()};
    const QString uuidKey = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;
};

} // namespace

TEST_F(WooCorrectionProgressStoreTest, RecordKeyJoinsTheRowIdentityWithoutThePreviewId) {
    WooCorrectionPreview p = preview(u"42"_s);
    p.localItemId = QUuid::fromString(u"abcdef01-2345-4678-9abc-def012345678"_s);
    p.externalVariantId = u"7"_s;
    p.barcode = u"321"_s;
    EXPECT_EQ(WooCorrectionProgressStore::recordKey(p),
              u"ABCDEF01-2345-4678-9ABC-DEF012345678|42|7|SKU-42|321|Item 42"_s);
    WooCorrectionPreview bare;
    bare.itemName = u"Unnamed item"_s;
    EXPECT_EQ(WooCorrectionProgressStore::recordKey(bare), u"|||||Unnamed item"_s);
}

TEST_F(WooCorrectionProgressStoreTest, SaveRulesOfTheRecordTable) {
    const QDateTime earlier = *clock.now;
    // An earlier save leaves records whose fields later saves must carry over.
    WooCorrectionPreview sentBefore = preview(u"10"_s, WooCorrectionStatus::sent);
    sentBefore.currentRemoteQuantity = 9;
    sentBefore.proposedQuantity = 9;
    sentBefore.message = u"WooCommerce stock updated."_s;
    WooCorrectionPreview failedBefore = preview(u"11"_s, WooCorrectionStatus::sent);
    failedBefore.proposedQuantity = 8;
    WooCorrectionPreview toDefault = preview(u"12"_s);
    toDefault.isSelected = false;
    WooCorrectionPreview untouched = preview(u"13"_s);
    untouched.proposedQuantity = 1;
    store.saveProgress(session, {sentBefore, failedBefore, toDefault, untouched}, {});
    clock.advance(3600);
    const QDateTime now = *clock.now;

    struct Case {
        const char* name;
        WooCorrectionPreview correction;
        std::optional<WooCorrectionProgressRecord> expected; // key filled in below
    };
    WooCorrectionPreview readyDefault = preview(u"1"_s);
    WooCorrectionPreview deselected = preview(u"2"_s);
    deselected.isSelected = false;
    WooCorrectionPreview selectedNoDifference = preview(u"3"_s, WooCorrectionStatus::noDifference);
    selectedNoDifference.isSelected = true;
    WooCorrectionPreview proposal = preview(u"4"_s);
    proposal.proposedQuantity = 7;
    proposal.message = u"Proposed quantity adjusted manually."_s;
    WooCorrectionPreview reloaded = preview(u"5"_s);
    reloaded.currentRemoteQuantity = 4;
    WooCorrectionPreview sentNow = preview(u"6"_s, WooCorrectionStatus::sent);
    sentNow.currentRemoteQuantity = 5;
    sentNow.message = u"WooCommerce stock updated."_s;
    WooCorrectionPreview failedNow = preview(u"7"_s, WooCorrectionStatus::failed);
    failedNow.isSelected = false;
    failedNow.message = u"HTTP 500"_s;
    WooCorrectionPreview noCount = preview(u"8"_s, WooCorrectionStatus::ignored);
    noCount.countedQuantity.reset();
    noCount.proposedQuantity.reset();
    WooCorrectionPreview sentAgain = sentBefore; // same row sent again: sentAt stays the first
    sentAgain.currentRemoteQuantity.reset();
    WooCorrectionPreview failedAfterSend = failedBefore;
    failedAfterSend.status = WooCorrectionStatus::failed;
    failedAfterSend.message = u"refused"_s;
    WooCorrectionPreview backToDefault = toDefault;
    backToDefault.isSelected = true;

    const Case cases[] = {
        {"ready, selected, never reloaded: no record", readyDefault, std::nullopt},
        {"deselected ready row", deselected,
         WooCorrectionProgressRecord{{}, {}, {}, {}, false, {}, now, {}, {}, {}, {}}},
        {"selected noDifference row", selectedNoDifference,
         WooCorrectionProgressRecord{{}, {}, {}, {}, true, {}, now, {}, {}, {}, {}}},
        {"manual proposal keeps its message", proposal,
         WooCorrectionProgressRecord{
             {}, {}, 7, {}, {}, u"Proposed quantity adjusted manually."_s, now, {}, {}, {}, {}}},
        {"known remote stock", reloaded,
         WooCorrectionProgressRecord{{}, {}, {}, {}, {}, {}, now, {}, 4, now, {}}},
        {"sent", sentNow,
         WooCorrectionProgressRecord{{},
                                     WooCorrectionStatus::sent,
                                     5,
                                     5,
                                     false,
                                     u"WooCommerce stock updated."_s,
                                     now,
                                     now,
                                     5,
                                     now,
                                     true}},
        {"failed without earlier send", failedNow,
         WooCorrectionProgressRecord{
             {}, WooCorrectionStatus::failed, 5, 5, false, u"HTTP 500"_s, now, {}, {}, {}, false}},
        {"no count, nothing changed", noCount, std::nullopt},
        {"sent again keeps the first sentAt and the last reload time", sentAgain,
         WooCorrectionProgressRecord{{},
                                     WooCorrectionStatus::sent,
                                     9,
                                     9,
                                     false,
                                     u"WooCommerce stock updated."_s,
                                     now,
                                     earlier,
                                     {},
                                     earlier,
                                     true}},
        {"failure after a send keeps its sentAt", failedAfterSend,
         WooCorrectionProgressRecord{
             {}, WooCorrectionStatus::failed, 8, 8, false, u"refused"_s, now, earlier, {}, {}, false}},
        {"back to defaults removes the record", backToDefault, std::nullopt},
    };
    QList<WooCorrectionPreview> corrections;
    for (const Case& c : cases) {
        corrections.append(c.correction);
    }
    store.saveProgress(session, corrections, {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<WooCorrectionProgressRecord> expected = c.expected;
        if (expected) {
            expected->key = WooCorrectionProgressStore::recordKey(c.correction);
        }
        EXPECT_EQ(storedRecord(c.correction), expected);
    }
    // A record of a row absent from this save stays as it was.
    const auto kept = storedRecord(untouched);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->updatedAt, earlier);
    EXPECT_EQ(kept->proposedQuantity, 1);

    const WooCorrectionProgressSession stored = store.loadSessions().value(uuidKey);
    EXPECT_EQ(stored.updatedAt, now);
    EXPECT_EQ(stored.records.last().key, WooCorrectionProgressStore::recordKey(untouched)) << "newest first";
}

TEST_F(WooCorrectionProgressStoreTest, ARecordKeepsEarlierSendFieldsWhenTheRowIsEditedLater) {
    WooCorrectionPreview sent = preview(u"20"_s, WooCorrectionStatus::sent);
    sent.currentRemoteQuantity = 5;
    store.saveProgress(session, {sent}, {});
    const QDateTime sentAt = *clock.now;
    clock.advance(10);
    // The row is edited again later (without a known store stock): the send fields stay.
    WooCorrectionPreview later = preview(u"20"_s, WooCorrectionStatus::ready);
    later.proposedQuantity = 6;
    store.saveProgress(session, {later}, {});
    const auto record = storedRecord(later);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->status, std::nullopt);
    EXPECT_EQ(record->proposedQuantity, 6);
    EXPECT_EQ(record->requestedQuantity, 5);
    EXPECT_EQ(record->sentAt, sentAt);
    EXPECT_EQ(record->success, true);
    EXPECT_EQ(record->lastRemoteQuantity, std::nullopt);
    EXPECT_EQ(record->lastRemoteReloadAt, sentAt);
}

TEST_F(WooCorrectionProgressStoreTest, ApplyLaysSavedProgressOverFreshPreviews) {
    WooCorrectionPreview deselected = preview(u"1"_s);
    deselected.isSelected = false;
    WooCorrectionPreview chosen = preview(u"2"_s, WooCorrectionStatus::noDifference);
    chosen.isSelected = true;
    WooCorrectionPreview proposal = preview(u"3"_s);
    proposal.proposedQuantity = 7;
    proposal.message = u"adjusted"_s;
    WooCorrectionPreview reviewSelected = preview(u"4"_s, WooCorrectionStatus::noDifference);
    reviewSelected.isSelected = true;
    WooCorrectionPreview remoteKnown = preview(u"5"_s);
    remoteKnown.currentRemoteQuantity = 2;
    WooCorrectionPreview failedWithMessage = preview(u"6"_s, WooCorrectionStatus::failed);
    failedWithMessage.message = u"Refused by the shop"_s;
    WooCorrectionPreview failedWithoutMessage = preview(u"7"_s, WooCorrectionStatus::failed);
    failedWithoutMessage.message.reset();
    const QList<WooCorrectionPreview> saved{
        deselected, chosen, proposal, reviewSelected, remoteKnown, failedWithMessage, failedWithoutMessage};
    store.saveProgress(session, saved, {});

    // Fresh previews after a rebuild: new ids, default selection, and a reload that now shows
    // row 4 as changed in the store.
    QList<WooCorrectionPreview> fresh;
    for (const WooCorrectionPreview& p : saved) {
        WooCorrectionPreview rebuilt = preview(p.externalProductId.value());
        fresh.append(rebuilt);
    }
    fresh[1].status = WooCorrectionStatus::noDifference;
    fresh[1].isSelected = false;
    fresh[3].status = WooCorrectionStatus::remoteStockChanged;
    fresh[3].isSelected = false;
    fresh[2].currentRemoteQuantity = 4;

    const QList<WooCorrectionPreview> applied = store.applyProgress(fresh, session);
    ASSERT_EQ(applied.size(), fresh.size());
    EXPECT_EQ(applied[0].id, fresh[0].id);
    EXPECT_FALSE(applied[0].isSelected);
    EXPECT_EQ(applied[0].message, u"built message"_s);
    EXPECT_EQ(applied[1].status, WooCorrectionStatus::noDifference) << "status stays as built";
    EXPECT_TRUE(applied[1].isSelected) << "a stored selection is restored onto a correctable row";
    EXPECT_EQ(applied[2].proposedQuantity, 7);
    EXPECT_EQ(applied[2].differenceFromCurrentRemote, 3) << "recomputed from the current remote stock";
    EXPECT_EQ(applied[2].message, u"adjusted"_s);
    EXPECT_FALSE(applied[3].isSelected) << "a stored selection is not restored onto a review row";
    EXPECT_EQ(applied[4].currentRemoteQuantity, 2) << "the last known stock fills a preview without one";
    EXPECT_EQ(applied[4].proposedQuantity, 5);
    EXPECT_EQ(applied[5].status, WooCorrectionStatus::failed);
    EXPECT_FALSE(applied[5].isSelected);
    EXPECT_EQ(applied[5].message, u"Refused by the shop"_s);
    EXPECT_EQ(applied[6].message, u"Last send failed."_s);

    EXPECT_EQ(store.applyProgress(fresh, QUuid::createUuid()), fresh) << "unknown session: unchanged";
}

TEST_F(WooCorrectionProgressStoreTest, SentRowsShowTheSentOnTextAndAMismatchAfterAReload) {
    WooCorrectionPreview sent = preview(u"30"_s, WooCorrectionStatus::sent);
    sent.proposedQuantity = 7;
    sent.currentRemoteQuantity = 7;
    const QDateTime sentAt = *clock.now;
    store.saveProgress(session, {sent}, {});
    const QString base = u"Correction sent on "_s + WooCorrectionProgressStore::sentDateText(sentAt) + u"."_s;
    EXPECT_FALSE(WooCorrectionProgressStore::sentDateText(sentAt).isEmpty());

    struct Case {
        const char* name;
        std::optional<qint64> reloadedStock;
        QString expected;
    };
    const Case cases[] = {
        {"store still holds the sent quantity", 7, base},
        {"store drifted", 6, base + u" Current Woo stock differs from the sent quantity (6 instead of 7)."_s},
        {"no reload yet: the last known stock is used", std::nullopt, base},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WooCorrectionPreview fresh = preview(u"30"_s);
        fresh.currentRemoteQuantity = c.reloadedStock;
        const WooCorrectionPreview applied = store.applyProgress({fresh}, session).at(0);
        EXPECT_EQ(applied.status, WooCorrectionStatus::sent);
        EXPECT_FALSE(applied.isSelected);
        EXPECT_EQ(applied.proposedQuantity, 7);
        EXPECT_EQ(applied.message, c.expected);
    }

    useLanguage(u"fr"_s);
    WooCorrectionPreview fresh = preview(u"30"_s);
    fresh.currentRemoteQuantity = 6;
    EXPECT_EQ(store.applyProgress({fresh}, session).at(0).message,
              u"Correction envoyée le "_s + WooCorrectionProgressStore::sentDateText(sentAt) +
                  u". Stock Woo actuel différent de la quantité envoyée (6 au lieu de 7)."_s);

    // A record without sentAt (written elsewhere) falls back to the plain sent text.
    useLanguage(u"en"_s);
    WooCorrectionProgressRecord record;
    record.status = WooCorrectionStatus::sent;
    record.requestedQuantity = 7;
    fresh.currentRemoteQuantity = 6;
    EXPECT_EQ(WooCorrectionProgressStore::sentMessage(record, fresh),
              u"Correction sent. Current Woo stock differs from the sent quantity (6 instead of 7)."_s);
}

TEST_F(WooCorrectionProgressStoreTest, SendResultsOfTheLastRunAreStoredWithTheSession) {
    WooUpdateResultLine line;
    line.id = QUuid::createUuid();
    line.correctionId = QUuid::createUuid();
    line.externalProductId = u"42"_s;
    line.itemName = u"Mug"_s;
    line.requestedQuantity = 3;
    line.success = true;
    line.message = u"WooCommerce stock updated."_s;
    line.updatedAt = *clock.now;
    store.saveProgress(session, {}, {line});
    EXPECT_EQ(store.loadSessions().value(uuidKey).updateResults, QList<WooUpdateResultLine>{line});
    store.saveProgress(session, {}, {});
    EXPECT_TRUE(store.loadSessions().value(uuidKey).updateResults.isEmpty()) << "replaced even when empty";
}

TEST_F(WooCorrectionProgressStoreTest, TheTwentyFirstSessionDropsTheLeastRecentlyUpdated) {
    QList<QUuid> sessions;
    for (int i = 0; i < 21; ++i) {
        sessions.append(QUuid::createUuid());
        store.saveProgress(sessions.last(), {}, {});
        clock.advance(1);
    }
    const auto stored = store.loadSessions();
    EXPECT_EQ(stored.size(), 20);
    EXPECT_FALSE(stored.contains(uuidText(sessions.first())));
    EXPECT_TRUE(stored.contains(uuidText(sessions.at(1))));
    EXPECT_TRUE(stored.contains(uuidText(sessions.last())));

    // Saving the oldest kept session again makes it the newest; the next oldest goes instead.
    store.saveProgress(sessions.at(1), {}, {});
    clock.advance(1);
    store.saveProgress(QUuid::createUuid(), {}, {});
    const auto after = store.loadSessions();
    EXPECT_TRUE(after.contains(uuidText(sessions.at(1))));
    EXPECT_FALSE(after.contains(uuidText(sessions.at(2))));
}

TEST_F(WooCorrectionProgressStoreTest, AnUndecodableBlobReadsAsEmptyAndIsReplacedOnlyByTheNextSave) {
    const QString key = WooCorrectionProgressStore::defaultStorageKey();
    EXPECT_EQ(key, u"com.tallybrook.control.woo-correction-progress.v1"_s);
    const QByteArray missingUpdateResults =
        "{\"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718\":{\"sessionId\":\"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718\","
        "\"updatedAt\":1,\"records\":[]}}";
    const QByteArray recordWithoutUpdatedAt =
        "{\"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718\":{\"sessionId\":\"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718\","
        "\"updatedAt\":1,\"records\":[{\"key\":\"k\",\"isSelected\":false}],\"updateResults\":[]}}";
    for (const QByteArray& foreign :
         {QByteArray("not json"), QByteArray("[1,2]"), QByteArray("{\"x\":{\"a\":1}}"), missingUpdateResults,
          recordWithoutUpdatedAt}) {
        SCOPED_TRACE(foreign.toStdString());
        preferences->setData(key, foreign);
        EXPECT_TRUE(store.loadSessions().isEmpty());
        WooCorrectionPreview p = preview(u"1"_s);
        EXPECT_EQ(store.applyProgress({p}, session), QList<WooCorrectionPreview>{p});
        EXPECT_EQ(preferences->data(key), foreign) << "reading never rewrites";
    }
    WooCorrectionPreview deselected = preview(u"1"_s);
    deselected.isSelected = false;
    store.saveProgress(session, {deselected}, {});
    EXPECT_EQ(store.loadSessions().size(), 1);

    // The blob is one JSON object keyed by upper-case session UUID text.
    const QJsonObject blob = QJsonDocument::fromJson(*preferences->data(key)).object();
    EXPECT_EQ(blob.keys(), QStringList{uuidKey});
    const QJsonObject stored = blob.value(uuidKey).toObject();
    EXPECT_EQ(stored.keys(), (QStringList{u"records"_s, u"sessionId"_s, u"updateResults"_s, u"updatedAt"_s}));
    EXPECT_EQ(stored.value(u"records"_s).toArray().at(0).toObject().keys(),
              (QStringList{u"isSelected"_s, u"key"_s, u"updatedAt"_s}));
    EXPECT_DOUBLE_EQ(stored.value(u"updatedAt"_s).toDouble(), 736355045.25);
}

// A record whose send outcome is kept but whose proposal went back to the counted quantity
// still carries the quantity sent: rebuilt rows propose it again, and its message (the built
// one) is not replaced because the record holds no proposal of its own.
TEST_F(WooCorrectionProgressStoreTest, ARequestedQuantityAloneRestoresTheProposal) {
    WooCorrectionProgressRecord record;
    record.key = WooCorrectionProgressStore::recordKey(preview(u"40"_s));
    record.requestedQuantity = 9;
    record.message = u"stale message"_s;
    record.updatedAt = *clock.now;
    const WooCorrectionProgressSession stored{session, *clock.now, {record}, {}};
    preferences->setData(WooCorrectionProgressStore::defaultStorageKey(),
                         blobOf(uuidKey, stored));

    WooCorrectionPreview fresh = preview(u"40"_s);
    fresh.currentRemoteQuantity = 4;
    const WooCorrectionPreview applied = store.applyProgress({fresh}, session).at(0);
    EXPECT_EQ(applied.proposedQuantity, 9);
    EXPECT_EQ(applied.differenceFromCurrentRemote, 5);
    EXPECT_EQ(applied.status, WooCorrectionStatus::ready);
    EXPECT_TRUE(applied.isSelected);
    EXPECT_EQ(applied.message, u"built message"_s);
}

// A blob written elsewhere may hold the session under a lower-case member name. Saving the
// session must keep what was just saved, not the older copy that shares its session id.
TEST_F(WooCorrectionProgressStoreTest, ASaveIsNeverReplacedByAnOlderCopyOfTheSameSession) {
    WooCorrectionProgressRecord old;
    old.key = u"old"_s;
    old.isSelected = false;
    old.updatedAt = clock.now->addDays(-1);
    const WooCorrectionProgressSession older{session, clock.now->addDays(-1), {old}, {}};
    preferences->setData(WooCorrectionProgressStore::defaultStorageKey(),
                         blobOf(uuidKey.toLower(), older));
    ASSERT_EQ(store.loadSessions().size(), 1);

    WooCorrectionPreview deselected = preview(u"50"_s);
    deselected.isSelected = false;
    store.saveProgress(session, {deselected}, {});

    const auto sessions = store.loadSessions();
    EXPECT_EQ(sessions.keys(), QStringList{uuidKey});
    EXPECT_EQ(sessions.value(uuidKey).updatedAt, *clock.now);
    ASSERT_TRUE(storedRecord(deselected).has_value());
    EXPECT_EQ(storedRecord(deselected)->isSelected, false);
}

// Sessions are written as text for speed: what is written must read back as the same session,
// with the member names of the blob format, whatever characters the texts hold.
TEST(WooCorrectionProgressSessionJsonTest, TextWriterAgreesWithTheJsonEncoding) {
    using namespace Qt::StringLiterals;
    const QString awkward = u"Boîte \"A\"; rayon\\3\n\tfin\u0001 € 🧺 / </script>"_s;
    WooCorrectionProgressRecord full;
    full.key = u"|42|7|SKU \"x\"|0123|"_s + awkward;
    full.status = WooCorrectionStatus::sent;
    full.proposedQuantity = std::numeric_limits<qint64>::max();
    full.requestedQuantity = std::numeric_limits<qint64>::min();
    full.isSelected = false;
    full.message = awkward;
    full.updatedAt = QDateTime::fromMSecsSinceEpoch(1714558530123, Qt::UTC);
    full.sentAt = QDateTime::fromMSecsSinceEpoch(-1000, Qt::UTC);
    full.lastRemoteQuantity = -3;
    full.lastRemoteReloadAt = QDateTime::fromMSecsSinceEpoch(978307200000, Qt::UTC); // the reference instant
    full.success = true;
    WooCorrectionProgressRecord bare;
    bare.key = QString();
    bare.updatedAt = QDateTime::fromMSecsSinceEpoch(1, Qt::UTC);

    WooCorrectionProgressSession session;
    session.sessionId = QUuid::fromString(u"6f0e2c1a-9b8d-4e7f-a1b2-c3d4e5f60718"_s);
    session.updatedAt = QDateTime::fromMSecsSinceEpoch(1714558599999, Qt::UTC);
    session.records = {full, bare};
    WooUpdateResultLine line;
    line.id = QUuid::createUuid();
    line.correctionId = QUuid::createUuid();
    line.itemName = awkward;
    line.updatedAt = session.updatedAt;
    session.updateResults = {line};

    QByteArray text;
    appendProgressSessionJson(text, session);
    QJsonParseError error;
    const QJsonDocument read = QJsonDocument::fromJson(text, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    EXPECT_EQ(progressSessionFromJson(read.object()), session);
    EXPECT_EQ(read.object().keys(), (QStringList{u"records"_s, u"sessionId"_s, u"updateResults"_s, u"updatedAt"_s}));
    const QJsonArray records = read.object().value(u"records"_s).toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records.at(0).toObject().keys(),
              (QStringList{u"isSelected"_s, u"key"_s, u"lastRemoteQuantity"_s, u"lastRemoteReloadAt"_s, u"message"_s,
                           u"proposedQuantity"_s, u"requestedQuantity"_s, u"sentAt"_s, u"status"_s, u"success"_s,
                           u"updatedAt"_s}));
    EXPECT_EQ(records.at(1).toObject().keys(), (QStringList{u"key"_s, u"updatedAt"_s}));
    EXPECT_EQ(records.at(0).toObject().value(u"status"_s).toString(), u"sent"_s);
    EXPECT_EQ(records.at(0).toObject().value(u"lastRemoteReloadAt"_s).toDouble(), 0.0);
}
