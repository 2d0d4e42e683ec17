#pragma once

// What the fault drills share: the sample inventory, a preferences file of their own, and the
// drill executable itself as a child process where a drill needs a process to die or to see
// another environment.

#include "document/TallybrookFileDecoder.h"
#include "localization/PreferencesStore.h"
#include "storage/SqlitePreferencesStore.h"
#include "support/EventLoop.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace tallybrook::drills {

using namespace Qt::StringLiterals;

inline QString samplePath() {
    return QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook");
}

/// The bytes of the file at `path`; empty when it cannot be read.
inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline TallybrookDecodedInventory sample() {
    return TallybrookFileDecoder().decodeInventoryDocumentWithValidation(contents(samplePath()));
}

/// The preferences file at `path`, installed as the process's standard store, in English.
inline std::shared_ptr<SqlitePreferencesStore> openPreferences(const QString& path) {
    auto preferences = SqlitePreferencesStore::open(path);
    if (preferences) {
        PreferencesStore::setStandard(preferences);
        preferences->setString(u"com.tallybrook.control.language"_s, u"en"_s);
    }
    return preferences;
}

using test::waitUntil;

/// The child mode of the drill executable (see DrillMain.cpp): saves ever newer correction
/// progress of one session of `rows` rows into the preferences file at `path`, from state
/// `first` on, printing "saved N" after each save, until the process is killed.
int saveProgressUntilKilled(const QString& path, qint64 rows, qint64 first);

} // namespace tallybrook::drills
