#pragma once

#include "localization/AppLanguage.h"
#include "localization/PreferencesStore.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tallybrook::test {

/// Gives the process a fresh in-memory preferences store whose language is `language`, so
/// every text a service looks up reads in a known language.
inline std::shared_ptr<InMemoryPreferencesStore> useLanguage(AppLanguage language) {
    auto store = std::make_shared<InMemoryPreferencesStore>();
    store->setString(QString::fromUtf16(languagePreferenceStorageKey), rawValue(language));
    PreferencesStore::setStandard(store);
    return store;
}

/// A fixture that starts each test in `Language` with its own preferences store.
template <AppLanguage Language = AppLanguage::english> class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override { useLanguage(Language); }
    void TearDown() override { PreferencesStore::setStandard(nullptr); }
};

} // namespace tallybrook::test
