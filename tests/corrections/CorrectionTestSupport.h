#pragma once

#include "localization/AppLanguage.h"
#include "localization/PreferencesStore.h"

#include <gtest/gtest.h>
#include <memory>

namespace tallybrook::test {

/// Forces the interface language through a fresh in-memory preferences store.
inline void useLanguage(AppLanguage language) {
    if (!PreferencesStore::standard()) {
        PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>());
    }
    PreferencesStore::standard()->setString(QString::fromUtf16(languagePreferenceStorageKey),
                                            rawValue(language));
}

/// Starts every test in English with its own preferences store.
class CorrectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>());
        useLanguage(AppLanguage::english);
    }
    void TearDown() override { PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>()); }
};

} // namespace tallybrook::test
