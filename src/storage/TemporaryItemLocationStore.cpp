#include "storage/TemporaryItemLocationStore.h"

#include "core/JsonObjectReader.h"
#include "document/InventoryExportDocument.h"

using namespace Qt::StringLiterals;

namespace tallybrook {

TemporaryItemLocationSession TemporaryItemLocationStore::Codec::decode(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"TemporaryItemLocationSession"_s);
    TemporaryItemLocationSession session;
    session.sessionId = reader.requiredString(u"sessionId");
    session.updatedAt = reader.requiredDate(u"updatedAt");
    const QJsonObject assignments = reader.requiredObject(u"assignments");
    for (auto it = assignments.begin(); it != assignments.end(); ++it) {
        if (!it->isString()) {
            reader.fail(u"assignments", u"expected text locations");
        }
        session.assignments.insert(it.key(), it->toString());
    }
    return session;
}

QJsonObject TemporaryItemLocationStore::Codec::encode(const TemporaryItemLocationSession& session) {
    QJsonObject assignments;
    for (auto it = session.assignments.begin(); it != session.assignments.end(); ++it) {
        assignments.insert(it.key(), it.value());
    }
    QJsonObject object;
    object.insert(u"sessionId"_s, session.sessionId);
    object.insert(u"updatedAt"_s, jsonDate(session.updatedAt));
    object.insert(u"assignments"_s, assignments);
    return object;
}

TemporaryItemLocationStore::TemporaryItemLocationStore(std::shared_ptr<PreferencesStore> defaults,
                                                       Clock clock)
    : blob_(std::move(defaults), defaultStorageKey(), defaultMaxSessionCount)
    , clock_(std::move(clock)) {}

QHash<QString, TemporaryItemLocationSession> TemporaryItemLocationStore::loadSessions() const {
    return blob_.loadSessions();
}

QMap<QString, QString> TemporaryItemLocationStore::loadAssignments(const QString& sessionId) const {
    return loadSessions().value(sessionId).assignments;
}

void TemporaryItemLocationStore::saveAssignments(const QMap<QString, QString>& assignments,
                                                 const QString& sessionId) const {
    blob_.saveSession(TemporaryItemLocationSession{sessionId, clock_(), assignments});
}

QString TemporaryItemLocationStore::itemKey(const InventoryExportTemporaryItem& item) {
    return item.sessionId.value_or(u"legacy"_s) + u'|' + item.id + u'|' +
           item.scannedCode.value_or(QString()) + u'|' + item.provisionalName;
}

} // namespace tallybrook
