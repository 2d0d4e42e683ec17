#include "localization/AppSettings.h"
#include "localization/PreferencesStore.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {
const QString languageKey = u"com.tallybrook.control.language"_s;
}

TEST(AppSettingsTest, StoredPreferenceRoundTripsThroughSettingsAndAppText) {
    auto store = std::make_shared<InMemoryPreferencesStore>();
    PreferencesStore::setStandard(store);
    AppText::setPreferredLanguagesProvider([] { return QStringList{u"fr-FR"_s}; });

    {
        AppSettings settings(store, [] { return QStringList{u"fr-FR"_s}; });
        EXPECT_EQ(settings.languagePreference(), AppLanguagePreference::automatic);
        EXPECT_EQ(store->string(languageKey), std::nullopt) << "nothing is written at start";
        EXPECT_EQ(settings.localized(u"sidebar.rows"), u"Toutes les lignes"_s);

        std::vector<AppLanguagePreference> announced;
        QObject::connect(&settings, &AppSettings::languagePreferenceChanged,
                         [&](AppLanguagePreference p) { announced.push_back(p); });
        settings.setLanguagePreference(AppLanguagePreference::english);
        settings.setLanguagePreference(AppLanguagePreference::english);
        EXPECT_EQ(announced.size(), 2u) << "every assignment is announced";
        EXPECT_EQ(store->string(languageKey), u"en"_s);
        EXPECT_EQ(settings.localized(u"sidebar.rows"), u"All rows"_s);
        EXPECT_EQ(settings.locale().name(), u"en_US"_s);
        // Services follow the change from their next message on.
        EXPECT_EQ(AppText::localized(u"sidebar.rows"), u"All rows"_s);
        EXPECT_EQ(settings.formatted(u"common.rowsCount", {3}), u"3 rows"_s);
    }
    // A later start reads the stored choice.
    AppSettings restarted(store, [] { return QStringList{u"fr-FR"_s}; });
    EXPECT_EQ(restarted.languagePreference(), AppLanguagePreference::english);

    store->setString(languageKey, u"klingon"_s);
    AppSettings unknown(store, [] { return QStringList{u"fr-FR"_s}; });
    EXPECT_EQ(unknown.languagePreference(), AppLanguagePreference::automatic);
    EXPECT_EQ(store->string(languageKey), u"klingon"_s);

    AppText::setPreferredLanguagesProvider({});
    PreferencesStore::setStandard(nullptr);
}

// The settings may be read from another store than the standard one; a choice still goes to
// the standard store, which services read through AppText.
TEST(AppSettingsTest, AChoiceIsWrittenWhereServicesReadIt) {
    auto standard = std::make_shared<InMemoryPreferencesStore>();
    PreferencesStore::setStandard(standard);
    AppText::setPreferredLanguagesProvider([] { return QStringList{u"fr-FR"_s}; });

    auto other = std::make_shared<InMemoryPreferencesStore>();
    other->setString(languageKey, u"fr"_s);
    AppSettings settings(other, [] { return QStringList{u"fr-FR"_s}; });
    EXPECT_EQ(settings.languagePreference(), AppLanguagePreference::french);
    EXPECT_EQ(standard->string(languageKey), std::nullopt) << "nothing is written at start";

    settings.setLanguagePreference(AppLanguagePreference::english);
    EXPECT_EQ(standard->string(languageKey), u"en"_s);
    EXPECT_EQ(AppText::currentLanguage(), AppLanguage::english);
    EXPECT_EQ(AppText::localized(u"sidebar.rows"), u"All rows"_s);

    AppText::setPreferredLanguagesProvider({});
    PreferencesStore::setStandard(nullptr);
}
