#pragma once

#include "document/TallybrookFileDecoder.h"
#include "localization/AppLanguage.h"
#include "localization/PreferencesStore.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

// Readable test failure output for texts and import errors.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tallybrook {
inline void PrintTo(const TallybrookImportError& error, std::ostream* os) {
    *os << "TallybrookImportError(" << int(error.errorCase()) << ", \"" << error.detail().toStdString()
        << "\", " << error.version() << ")";
}
} // namespace tallybrook

namespace tallybrook::test {

/// Forces the current language of the text table for the rest of the test.
inline void useLanguage(AppLanguage language) {
    auto store = std::make_shared<InMemoryPreferencesStore>();
    store->setString(QString::fromUtf16(languagePreferenceStorageKey), rawValue(language));
    PreferencesStore::setStandard(store);
}

inline constexpr char sessionUuid[] = "6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90";

/// A valid document with the given extra top-level members ("" for none).
inline QByteArray documentJson(const std::string& extraMembers) {
    std::string json = R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":{"id":")";
    json += sessionUuid;
    json += R"("}})";
    if (!extraMembers.empty()) {
        json.insert(json.size() - 1, "," + extraMembers);
    }
    return QByteArray::fromStdString(json);
}

/// A valid document whose session object is `sessionJson` and with the given extra members.
inline QByteArray documentWithSession(const std::string& sessionJson, const std::string& extraMembers = {}) {
    std::string json =
        R"({"format":"com.tallybrook.inventory-export","formatVersion":1,"session":)" + sessionJson;
    if (!extraMembers.empty()) {
        json += "," + extraMembers;
    }
    return QByteArray::fromStdString(json + "}");
}

/// The description of the import error that decoding and validating `bytes` throws, read in
/// `language` with that language also current while decoding; empty when nothing is thrown.
inline QString importErrorText(const QByteArray& bytes, AppLanguage language) {
    useLanguage(language);
    try {
        TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
    } catch (const TallybrookImportError& error) {
        return error.localizedDescription();
    }
    return {};
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

inline QString sourcePath(const char* relative) {
    return QStringLiteral(TALLYBROOK_SOURCE_DIR "/") + QString::fromUtf8(relative);
}

} // namespace tallybrook::test
