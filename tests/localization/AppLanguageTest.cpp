#include "localization/AppLanguage.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(AppLanguageTest, SystemLanguageIsTheFirstFrenchOrEnglishEntry) {
    struct Case {
        QStringList preferred;
        AppLanguage expected;
    };
    const Case cases[] = {
        {{u"de-DE"_s, u"en-GB"_s, u"fr-FR"_s}, AppLanguage::english},
        {{u"de-CH"_s, u"fr-FR"_s, u"en-US"_s}, AppLanguage::french},
        {{u"fr-CA"_s}, AppLanguage::french},
        {{u"fr"_s}, AppLanguage::french},
        {{u"fr_BE"_s}, AppLanguage::french},
        {{u"pt-BR"_s, u"es-ES"_s}, AppLanguage::english},
        {{}, AppLanguage::english},
        {{u"C"_s}, AppLanguage::english},
        {{u""_s, u"fr-FR"_s}, AppLanguage::french},
        {{u"fre"_s, u"fr"_s}, AppLanguage::french},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preferred.join(u',').toStdString());
        EXPECT_EQ(preferredSystemLanguage(c.preferred), c.expected);
    }
}

TEST(AppLanguageTest, RawValuesMatchExactly) {
    EXPECT_EQ(appLanguageFromRawValue(u"fr"_s), AppLanguage::french);
    EXPECT_EQ(appLanguageFromRawValue(u"en"_s), AppLanguage::english);
    for (const QString& raw : {u"FR"_s, u"french"_s, u" fr"_s, u""_s}) {
        EXPECT_EQ(appLanguageFromRawValue(raw), std::nullopt) << raw.toStdString();
        EXPECT_EQ(appLanguagePreferenceFromRawValue(raw), std::nullopt) << raw.toStdString();
    }
    for (const AppLanguagePreference preference : allAppLanguagePreferences) {
        EXPECT_EQ(appLanguagePreferenceFromRawValue(rawValue(preference)), preference);
    }
    EXPECT_EQ(rawValue(AppLanguagePreference::automatic), u"automatic"_s);
}

TEST(AppLanguageTest, PreferenceOverridesTheSystemList) {
    const QStringList germanFirst{u"de-DE"_s, u"fr-FR"_s};
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::automatic, germanFirst), AppLanguage::french);
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::english, germanFirst), AppLanguage::english);
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::french, {u"en-US"_s}), AppLanguage::french);
}

TEST(AppLanguageTest, NamesAndLocales) {
    EXPECT_EQ(displayName(AppLanguage::french, AppLanguage::french), u"Français"_s);
    EXPECT_EQ(displayName(AppLanguage::english, AppLanguage::french), u"Anglais"_s);
    EXPECT_EQ(displayName(AppLanguagePreference::automatic, AppLanguage::english), u"Automatic (Mac)"_s);
    EXPECT_EQ(displayName(AppLanguagePreference::automatic, AppLanguage::french), u"Automatique (Mac)"_s);
    EXPECT_EQ(locale(AppLanguage::french).name(), u"fr_FR"_s);
    EXPECT_EQ(locale(AppLanguage::english).name(), u"en_US"_s);
}
