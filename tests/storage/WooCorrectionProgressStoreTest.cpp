#include "storage/WooCorrectionProgressStore.h"

#include "core/TextRules.h"
#include "corrections/CorrectionJson.h"
#include "support/ManualClock.h"
#include "support/TestLanguage.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <functional>
#include <limits>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

using S = WooCorrectionStatus;
using R = WooCorrectionProgressRecord;
using Edit = std::function<void(WooCorrectionPreview&)>;
const QUuid session = QUuid::fromString(u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s);
const QString uuidKey = u"6F0E2C1A-9B8D-4E7F-A1B2-C3D4E5F60718"_s;

/// A preview as the builder makes it for a row with product `product`, counted 5, reference 3.
WooCorrectionPreview preview(const QString& product, S status = S::ready, const Edit& edit = {}) {
    WooCorrectionPreview p{QUuid::createUuid(), session,
                           QUuid::fromString(u"11111111-2222-4333-8444-5555555555"_s + product.right(2).rightJustified(2, u'0')),
                           product, std::nullopt, u"Item "_s + product, std::nullopt, u"SKU-"_s + product,
                           std::nullopt, 3, std::nullopt, 5, 5, 2, std::nullopt, status, status == S::ready,
                           u"built message"_s};
    if (edit) {
        edit(p);
    }
    return p;
}

/// A blob holding one session under the given member name, as another writer may have stored it.
QByteArray blobOf(const QString& memberName, const WooCorrectionProgressSession& stored) {
    QByteArray blob = "{\"" + memberName.toUtf8() + "\":";
    appendProgressSessionJson(blob, stored);
    return blob + '}';
}

struct WooCorrectionProgressStoreTest : LanguageTest<> {
    std::optional<R> storedRecord(const WooCorrectionPreview& p) const {
        for (const R& record : store.loadSessions().value(uuidKey).records) {
            if (record.key == WooCorrectionProgressStore::recordKey(p)) {
                return record;
            }
        }
        return std::nullopt;
    }
    WooCorrectionPreview applied(const WooCorrectionPreview& fresh) const {
        return store.applyProgress({fresh}, session).value(0);
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    ManualClock clock;
    WooCorrectionProgressStore store{preferences, clock.clock()};
};

} // namespace

TEST_F(WooCorrectionProgressStoreTest, SaveRulesOfTheRecordTable) {
    EXPECT_EQ(WooCorrectionProgressStore::recordKey(preview(u"42"_s, S::ready, [](auto& p) {
                  p.localItemId = QUuid::fromString(u"abcdef01-2345-4678-9abc-def012345678"_s);
                  p.externalVariantId = u"7"_s, p.barcode = u"321"_s;
              })),
              u"ABCDEF01-2345-4678-9ABC-DEF012345678|42|7|SKU-42|321|Item 42"_s);
    WooCorrectionPreview bare;
    bare.itemName = u"Unnamed item"_s;
    EXPECT_EQ(WooCorrectionProgressStore::recordKey(bare), u"|||||Unnamed item"_s);

    // An earlier save leaves records whose fields later saves must carry over.
    const QDateTime earlier = *clock.now;
    const QString updated = u"WooCommerce stock updated."_s;
    const auto sentBefore = preview(u"10"_s, S::sent, [&](auto& p) { p.currentRemoteQuantity = 9, p.proposedQuantity = 9, p.message = updated; });
    const auto failedBefore = preview(u"11"_s, S::sent, [](auto& p) { p.proposedQuantity = 8; });
    const auto toDefault = preview(u"12"_s, S::ready, [](auto& p) { p.isSelected = false; });
    const auto untouched = preview(u"13"_s, S::ready, [](auto& p) { p.proposedQuantity = 1; });
    store.saveProgress(session, {sentBefore, failedBefore, toDefault, untouched}, {});
    clock.advance(3600);
    const QDateTime now = *clock.now;
    const std::tuple<const char*, WooCorrectionPreview, std::optional<R>> cases[] = {
        {"ready, selected, never reloaded: no record", preview(u"1"_s), std::nullopt},
        {"deselected ready row", preview(u"2"_s, S::ready, [](auto& p) { p.isSelected = false; }), R{{}, {}, {}, {}, false, {}, now, {}, {}, {}, {}}},
        {"selected noDifference row", preview(u"3"_s, S::noDifference, [](auto& p) { p.isSelected = true; }), R{{}, {}, {}, {}, true, {}, now, {}, {}, {}, {}}},
        {"manual proposal keeps its message", preview(u"4"_s, S::ready, [](auto& p) { p.proposedQuantity = 7, p.message = u"adjusted"_s; }),
         R{{}, {}, 7, {}, {}, u"adjusted"_s, now, {}, {}, {}, {}}},
        {"known remote stock", preview(u"5"_s, S::ready, [](auto& p) { p.currentRemoteQuantity = 4; }), R{{}, {}, {}, {}, {}, {}, now, {}, 4, now, {}}},
        {"sent", preview(u"6"_s, S::sent, [&](auto& p) { p.currentRemoteQuantity = 5, p.message = updated; }),
         R{{}, S::sent, 5, 5, false, updated, now, now, 5, now, true}},
        {"failed without earlier send", preview(u"7"_s, S::failed, [](auto& p) { p.message = u"HTTP 500"_s; }),
         R{{}, S::failed, 5, 5, false, u"HTTP 500"_s, now, {}, {}, {}, false}},
        {"no count, nothing changed", preview(u"8"_s, S::ignored, [](auto& p) { p.countedQuantity.reset(), p.proposedQuantity.reset(); }), std::nullopt},
        {"sent again keeps the first sentAt and the last reload time", [&] { auto p = sentBefore; p.currentRemoteQuantity.reset(); return p; }(),
         R{{}, S::sent, 9, 9, false, updated, now, earlier, {}, earlier, true}},
        {"failure after a send keeps its sentAt", [&] { auto p = failedBefore; p.status = S::failed, p.message = u"refused"_s; return p; }(),
         R{{}, S::failed, 8, 8, false, u"refused"_s, now, earlier, {}, {}, false}},
        {"back to defaults removes the record", [&] { auto p = toDefault; p.isSelected = true; return p; }(), std::nullopt},
    };
    QList<WooCorrectionPreview> corrections;
    for (const auto& c : cases) {
        corrections.append(std::get<1>(c));
    }
    store.saveProgress(session, corrections, {});
    for (const auto& [name, correction, record] : cases) {
        std::optional<R> expected = record;
        if (expected) {
            expected->key = WooCorrectionProgressStore::recordKey(correction);
        }
        EXPECT_EQ(storedRecord(correction), expected) << name;
    }
    // A record of a row absent from this save stays as it was, and the newest come first.
    EXPECT_EQ(storedRecord(untouched).value_or(R()).updatedAt, earlier);
    EXPECT_EQ(store.loadSessions().value(uuidKey).updatedAt, now);
    const QList<R> stored = store.loadSessions().value(uuidKey).records;
    EXPECT_EQ(stored.last().key, WooCorrectionProgressStore::recordKey(untouched));
    for (qsizetype i = 1; i < stored.size(); ++i) {
        const R& before = stored.at(i - 1);
        const R& after = stored.at(i);
        EXPECT_TRUE(before.updatedAt > after.updatedAt || (before.updatedAt == after.updatedAt && before.key < after.key))
            << "records out of order at " << i;
    }

    // Edited again later (without a known store stock): the send fields stay.
    clock.advance(10);
    store.saveProgress(session, {preview(u"6"_s, S::ready, [](auto& p) { p.proposedQuantity = 6; })}, {});
    EXPECT_EQ(storedRecord(preview(u"6"_s)), (R{storedRecord(preview(u"6"_s)).value_or(R()).key, std::nullopt, 6, 5,
                                                 {}, u"built message"_s, *clock.now, now, std::nullopt, now, true}));
}

TEST_F(WooCorrectionProgressStoreTest, ApplyLaysSavedProgressOverFreshPreviews) {
    const QList<WooCorrectionPreview> saved{
        preview(u"1"_s, S::ready, [](auto& p) { p.isSelected = false; }),
        preview(u"2"_s, S::noDifference, [](auto& p) { p.isSelected = true; }),
        preview(u"3"_s, S::ready, [](auto& p) { p.proposedQuantity = 7, p.message = u"adjusted"_s; }),
        preview(u"4"_s, S::noDifference, [](auto& p) { p.isSelected = true; }),
        preview(u"5"_s, S::ready, [](auto& p) { p.currentRemoteQuantity = 2; }),
        preview(u"6"_s, S::failed, [](auto& p) { p.message = u"Refused by the shop"_s; }),
        preview(u"7"_s, S::failed, [](auto& p) { p.message.reset(); }),
    };
    store.saveProgress(session, saved, {});
    // Fresh previews after a rebuild: new ids, default selection, and a reload that now shows
    // row 4 as changed in the store.
    QList<WooCorrectionPreview> fresh;
    for (const WooCorrectionPreview& p : saved) {
        fresh.append(preview(p.externalProductId.value()));
    }
    fresh[1].status = S::noDifference, fresh[1].isSelected = false;
    fresh[3].status = S::remoteStockChanged, fresh[3].isSelected = false;
    fresh[2].currentRemoteQuantity = 4;
    const QList<WooCorrectionPreview> applied = store.applyProgress(fresh, session);
    ASSERT_EQ(applied.size(), fresh.size());
    EXPECT_EQ(applied[0].id, fresh[0].id);
    EXPECT_FALSE(applied[0].isSelected);
    EXPECT_EQ(applied[0].message, u"built message"_s);
    EXPECT_EQ(applied[1].status, S::noDifference) << "status stays as built";
    EXPECT_TRUE(applied[1].isSelected) << "a stored selection is restored onto a correctable row";
    EXPECT_EQ(applied[2].proposedQuantity, 7);
    EXPECT_EQ(applied[2].differenceFromCurrentRemote, 3) << "recomputed from the current remote stock";
    EXPECT_EQ(applied[2].message, u"adjusted"_s);
    EXPECT_FALSE(applied[3].isSelected) << "a stored selection is not restored onto a review row";
    EXPECT_EQ(applied[4].currentRemoteQuantity, 2) << "the last known stock fills a preview without one";
    EXPECT_EQ(applied[4].proposedQuantity, 5);
    EXPECT_EQ(applied[5].status, S::failed);
    EXPECT_FALSE(applied[5].isSelected);
    EXPECT_EQ(applied[5].message, u"Refused by the shop"_s);
    EXPECT_EQ(applied[6].message, u"Last send failed."_s);
    EXPECT_EQ(store.applyProgress(fresh, QUuid::createUuid()), fresh) << "unknown session: unchanged";
}

TEST_F(WooCorrectionProgressStoreTest, SentRowsShowTheSentOnTextAndAMismatchAfterAReload) {
    const QDateTime sentAt = *clock.now;
    store.saveProgress(session, {preview(u"30"_s, S::sent, [](auto& p) { p.proposedQuantity = 7, p.currentRemoteQuantity = 7; })}, {});
    const QString date = WooCorrectionProgressStore::sentDateText(sentAt);
    EXPECT_FALSE(date.isEmpty());
    const QString base = u"Correction sent on "_s + date + u"."_s;
    const std::pair<std::optional<qint64>, QString> cases[] = {
        {7, base},
        {6, base + u" Current Woo stock differs from the sent quantity (6 instead of 7)."_s},
        {std::nullopt, base}, // no reload yet: the last known stock is used
    };
    for (const auto& [reloadedStock, message] : cases) {
        const WooCorrectionPreview result = applied(preview(u"30"_s, S::ready, [&](auto& p) { p.currentRemoteQuantity = reloadedStock; }));
        EXPECT_EQ(std::tie(result.status, result.isSelected, result.proposedQuantity, result.message),
                  std::make_tuple(S::sent, false, std::optional<qint64>(7), std::optional<QString>(message)));
    }
    useLanguage(AppLanguage::french);
    EXPECT_EQ(applied(preview(u"30"_s, S::ready, [](auto& p) { p.currentRemoteQuantity = 6; })).message,
              u"Correction envoyée le "_s + date + u". Stock Woo actuel différent de la quantité envoyée (6 au lieu de 7)."_s);
    // A record without sentAt (written elsewhere) falls back to the plain sent text.
    useLanguage(AppLanguage::english);
    R record;
    record.status = S::sent, record.requestedQuantity = 7;
    EXPECT_EQ(WooCorrectionProgressStore::sentMessage(record, preview(u"30"_s, S::ready, [](auto& p) { p.currentRemoteQuantity = 6; })),
              u"Correction sent. Current Woo stock differs from the sent quantity (6 instead of 7)."_s);
    // A requested quantity alone (the proposal went back to the count) restores the proposal,
    // but not the message: the record holds no proposal of its own.
    R requested{WooCorrectionProgressStore::recordKey(preview(u"40"_s)), {}, {}, 9, {}, u"stale"_s, *clock.now, {}, {}, {}, {}};
    preferences->setData(WooCorrectionProgressStore::defaultStorageKey(),
                         blobOf(uuidKey, WooCorrectionProgressSession{session, *clock.now, {requested}, {}}));
    const WooCorrectionPreview restored = applied(preview(u"40"_s, S::ready, [](auto& p) { p.currentRemoteQuantity = 4; }));
    EXPECT_EQ(std::tie(restored.proposedQuantity, restored.differenceFromCurrentRemote, restored.status, restored.isSelected, restored.message),
              std::make_tuple(std::optional<qint64>(9), std::optional<qint64>(5), S::ready, true, std::optional<QString>(u"built message"_s)));
}

TEST_F(WooCorrectionProgressStoreTest, SessionsKeepTheLastSendResultsAndTheTwentyNewest) {
    WooUpdateResultLine line{QUuid::createUuid(), QUuid::createUuid(), u"42"_s, std::nullopt, u"Mug"_s, 3, std::nullopt,
                             true, u"updated"_s, *clock.now};
    store.saveProgress(session, {}, {line});
    EXPECT_EQ(store.loadSessions().value(uuidKey).updateResults, QList<WooUpdateResultLine>{line});
    store.saveProgress(session, {}, {});
    EXPECT_TRUE(store.loadSessions().value(uuidKey).updateResults.isEmpty()) << "replaced even when empty";

    QList<QUuid> sessions{session};
    for (int i = 0; i < 20; ++i) {
        clock.advance(1);
        sessions.append(QUuid::createUuid());
        store.saveProgress(sessions.last(), {}, {});
    }
    EXPECT_EQ(store.loadSessions().size(), 20);
    EXPECT_FALSE(store.loadSessions().contains(uuidKey));
    // Saving the oldest kept session again makes it the newest; the next oldest goes instead.
    store.saveProgress(sessions.at(1), {}, {});
    clock.advance(1);
    store.saveProgress(QUuid::createUuid(), {}, {});
    EXPECT_TRUE(store.loadSessions().contains(uuidText(sessions.at(1))));
    EXPECT_FALSE(store.loadSessions().contains(uuidText(sessions.at(2))));
}

TEST_F(WooCorrectionProgressStoreTest, AnUndecodableBlobReadsAsEmptyAndIsReplacedOnlyByTheNextSave) {
    const QString key = WooCorrectionProgressStore::defaultStorageKey();
    EXPECT_EQ(key, u"com.tallybrook.control.woo-correction-progress.v1"_s);
    const QByteArray head = "{\"" + uuidKey.toUtf8() + "\":{\"sessionId\":\"" + uuidKey.toUtf8() + "\",\"updatedAt\":1,";
    for (const QByteArray& foreign : {QByteArray("not json"), QByteArray("[1,2]"), QByteArray("{\"x\":{\"a\":1}}"),
                                      QByteArray(head + "\"records\":[]}}"),
                                      QByteArray(head + "\"records\":[{\"key\":\"k\",\"isSelected\":false}],\"updateResults\":[]}}")}) {
        preferences->setData(key, foreign);
        EXPECT_TRUE(store.loadSessions().isEmpty()) << foreign.toStdString();
        const WooCorrectionPreview p = preview(u"1"_s);
        EXPECT_EQ(store.applyProgress({p}, session), QList<WooCorrectionPreview>{p});
        EXPECT_EQ(preferences->data(key), foreign) << "reading never rewrites";
    }
    store.saveProgress(session, {preview(u"1"_s, S::ready, [](auto& p) { p.isSelected = false; })}, {});
    // The blob is one JSON object keyed by upper-case session UUID text.
    const QJsonObject blob = QJsonDocument::fromJson(*preferences->data(key)).object();
    EXPECT_EQ(blob.keys(), QStringList{uuidKey});
    const QJsonObject stored = blob.value(uuidKey).toObject();
    EXPECT_EQ(stored.keys(), (QStringList{u"records"_s, u"sessionId"_s, u"updateResults"_s, u"updatedAt"_s}));
    EXPECT_EQ(stored.value(u"records"_s).toArray().at(0).toObject().keys(),
              (QStringList{u"isSelected"_s, u"key"_s, u"updatedAt"_s}));
    EXPECT_DOUBLE_EQ(stored.value(u"updatedAt"_s).toDouble(), 736355045.25);
}

// A blob written elsewhere may hold the session under a lower-case member name. Saving the
// session must keep what was just saved, not the older copy that shares its session id.
TEST_F(WooCorrectionProgressStoreTest, ASaveIsNeverReplacedByAnOlderCopyOfTheSameSession) {
    const R old{u"old"_s, {}, {}, {}, false, {}, clock.now->addDays(-1), {}, {}, {}, {}};
    preferences->setData(WooCorrectionProgressStore::defaultStorageKey(),
                         blobOf(uuidKey.toLower(), WooCorrectionProgressSession{session, clock.now->addDays(-1), {old}, {}}));
    ASSERT_EQ(store.loadSessions().size(), 1);
    const WooCorrectionPreview deselected = preview(u"50"_s, S::ready, [](auto& p) { p.isSelected = false; });
    store.saveProgress(session, {deselected}, {});
    EXPECT_EQ(store.loadSessions().keys(), QStringList{uuidKey});
    EXPECT_EQ(store.loadSessions().value(uuidKey).updatedAt, *clock.now);
    EXPECT_EQ(storedRecord(deselected).value_or(R()).isSelected, false);
}

// Sessions are written as text for speed: what is written must read back as the same session,
// with the member names of the blob format, whatever characters the texts hold.
TEST(WooCorrectionProgressSessionJsonTest, TextWriterAgreesWithTheJsonEncoding) {
    const QString awkward = u"Boîte \"A\"; rayon\\3\n\tfin\u0001 € 🧺 / </script>"_s;
    const auto at = [](qint64 msecs) { return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC); };
    const R full{u"|42|7|SKU \"x\"|0123|"_s + awkward, S::sent, std::numeric_limits<qint64>::max(),
                 std::numeric_limits<qint64>::min(), false, awkward, at(1714558530123), at(-1000), -3,
                 at(978307200000) /* the reference instant */, true};
    const R bare{QString(), {}, {}, {}, {}, {}, at(1), {}, {}, {}, {}};
    const WooCorrectionProgressSession written{
        session, at(1714558599999), {full, bare},
        {WooUpdateResultLine{QUuid::createUuid(), QUuid::createUuid(), {}, {}, awkward, {}, {}, false, {}, at(5)}}};
    QByteArray text;
    appendProgressSessionJson(text, written);
    QJsonParseError error;
    const QJsonObject read = QJsonDocument::fromJson(text, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    EXPECT_EQ(progressSessionFromJson(read), written);
    EXPECT_EQ(read.keys(), (QStringList{u"records"_s, u"sessionId"_s, u"updateResults"_s, u"updatedAt"_s}));
    const QJsonArray records = read.value(u"records"_s).toArray();
    EXPECT_EQ(records.at(0).toObject().keys(),
              (QStringList{u"isSelected"_s, u"key"_s, u"lastRemoteQuantity"_s, u"lastRemoteReloadAt"_s, u"message"_s,
                           u"proposedQuantity"_s, u"requestedQuantity"_s, u"sentAt"_s, u"status"_s, u"success"_s,
                           u"updatedAt"_s}));
    EXPECT_EQ(records.at(1).toObject().keys(), (QStringList{u"key"_s, u"updatedAt"_s}));
    EXPECT_EQ(records.at(0).toObject().value(u"status"_s).toString(), u"sent"_s);
    EXPECT_EQ(records.at(0).toObject().value(u"lastRemoteReloadAt"_s).toDouble(), 0.0);
}
