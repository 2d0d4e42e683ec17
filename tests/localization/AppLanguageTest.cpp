#include "localization/AppLanguage.h"

#include "support/TestLanguage.h"

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(AppLanguageTest, SystemLanguageIsTheFirstFrenchOrEnglishEntry) {
    const std::pair<QStringList, AppLanguage> cases[] = {
        {{u"de-DE"_s, u"en-GB"_s, u"fr-FR"_s}, AppLanguage::english},
        {{u"de-CH"_s, u"fr-FR"_s, u"en-US"_s}, AppLanguage::french},
        {{u"fr_BE"_s}, AppLanguage::french},
        {{u"pt-BR"_s, u"es-ES"_s}, AppLanguage::english},
        {{}, AppLanguage::english},
        {{u""_s, u"fr"_s}, AppLanguage::french},
        {{u"fre"_s, u"fr"_s}, AppLanguage::french},
    };
    for (const auto& [preferred, expected] : cases) {
        EXPECT_EQ(preferredSystemLanguage(preferred), expected) << preferred.join(u',').toStdString();
    }
    const QStringList germanFirst{u"de-DE"_s, u"fr-FR"_s};
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::automatic, germanFirst), AppLanguage::french);
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::english, germanFirst), AppLanguage::english);
    EXPECT_EQ(resolvedLanguage(AppLanguagePreference::french, {u"en-US"_s}), AppLanguage::french);
}

TEST(AppLanguageTest, RawValuesMatchExactly) {
    EXPECT_EQ(appLanguageFromRawValue(u"fr"_s), AppLanguage::french);
    for (const QString& raw : {u"FR"_s, u"french"_s, u" fr"_s, u""_s}) {
        EXPECT_EQ(appLanguageFromRawValue(raw), std::nullopt) << raw.toStdString();
        EXPECT_EQ(appLanguagePreferenceFromRawValue(raw), std::nullopt) << raw.toStdString();
    }
    for (const AppLanguagePreference preference : allAppLanguagePreferences) {
        EXPECT_EQ(appLanguagePreferenceFromRawValue(rawValue(preference)), preference);
    }
}
