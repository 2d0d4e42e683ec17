#pragma once

#include "corrections/Clock.h"
#include "localization/PreferencesStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <memory>

namespace tallybrook::testing {

using namespace Qt::StringLiterals;

/// A clock the test moves by hand; starts at a fixed UTC instant.
struct ManualClock {
    std::shared_ptr<QDateTime> now =
        std::make_shared<QDateTime>(QDateTime(QDate(2024, 5, 2), QTime(15, 4, 5, 250), Qt::UTC));

    Clock clock() const {
        return [now = now] { return *now; };
    }
    void advance(qint64 seconds) { *now = now->addSecs(seconds); }
};

/// Sets the standard preferences to a fresh in-memory store in `language` ("en" or "fr"), so
/// texts looked up by services read in a known language.
inline void useLanguage(const QString& language) {
    PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>());
    PreferencesStore::standard()->setString(u"com.tallybrook.control.language"_s, language);
}

/// The bytes of a small valid `.tallybrook` file of session `sessionId`.
inline QByteArray documentBytes(const QString& sessionId, const QString& name = u"Inventaire"_s,
                                const QJsonArray& rows = {}, int formatVersion = 1) {
    QJsonObject session{{u"id"_s, sessionId}, {u"name"_s, name}, {u"createdAt"_s, u"2024-04-30T08:00:00Z"_s}};
    QJsonObject root{
        {u"format"_s, u"com.tallybrook.inventory-export"_s},
        {u"formatVersion"_s, formatVersion},
        {u"exportedAt"_s, u"2024-05-01T10:20:30Z"_s},
        {u"source"_s, QJsonObject{{u"type"_s, u"woocommerce"_s}, {u"displayName"_s, u"Boutique"_s}}},
        {u"session"_s, session},
        {u"rows"_s, rows}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace tallybrook::testing
