#include "localization/AppText.h"
#include "localization/PreferencesStore.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

class AppTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = std::make_shared<InMemoryPreferencesStore>();
        PreferencesStore::setStandard(store_);
        AppText::setPreferredLanguagesProvider([this] { return systemLanguages_; });
    }
    void TearDown() override {
        AppText::setPreferredLanguagesProvider({});
        PreferencesStore::setStandard(nullptr);
    }
    void storePreference(const QString& raw) { store_->setString(u"com.tallybrook.control.language"_s, raw); }

    std::shared_ptr<InMemoryPreferencesStore> store_;
    QStringList systemLanguages_{u"de-DE"_s, u"en-GB"_s, u"fr-FR"_s};
};

QStringList placeholders(const QString& text) {
    QStringList result;
    static const QRegularExpression pattern(u"%[d@]"_s);
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        result.append(it.next().captured());
    }
    return result;
}

} // namespace

TEST_F(AppTextTest, TableHoldsEveryKeyOnceInTheSameOrderWithMatchingPlaceholders) {
    const auto& french = AppText::table(AppLanguage::french);
    const auto& english = AppText::table(AppLanguage::english);
    // The 239 texts every platform shares come first; platform wordings and later texts follow.
    ASSERT_GT(french.size(), 239);
    ASSERT_EQ(english.size(), french.size());
    QSet<QString> keys;
    for (qsizetype i = 0; i < french.size(); ++i) {
        SCOPED_TRACE(french[i].first.toStdString());
        EXPECT_EQ(french[i].first, english[i].first);
        keys.insert(french[i].first);
        EXPECT_FALSE(french[i].second.isEmpty());
        EXPECT_FALSE(english[i].second.isEmpty());
        EXPECT_EQ(placeholders(french[i].second), placeholders(english[i].second));
    }
    EXPECT_EQ(keys.size(), french.size());
    EXPECT_EQ(french.first().first, u"common.cancel"_s);
    EXPECT_EQ(french.at(238).first, u"keychain.error"_s);
}

TEST_F(AppTextTest, TextsAreTakenExactly) {
    struct Case {
        const char16_t* key;
        const char16_t* french;
        const char16_t* english;
    };
    const Case cases[] = {
        {u"labels.skippedSuffix", u" %d ligne(s) ignorée(s).", u" %d row(s) skipped."},
        {u"settings.languageDescription",
         u"Automatique suit la langue préférée du Mac. Français et Anglais forcent la langue de l’app.",
         u"Automatic follows the Mac preferred language. French and English override the app language."},
        {u"importError.missingKey", u"Clé manquante '%@' dans %@", u"Missing key '%@' in %@"},
        {u"common.variation", u"Variation", u"Variation"},
        {u"wooStatus.failed", u"Échec", u"Failed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppText::localized(c.key, AppLanguage::french), QString::fromUtf16(c.french));
        EXPECT_EQ(AppText::localized(c.key, AppLanguage::english), QString::fromUtf16(c.english));
    }
}

TEST_F(AppTextTest, LookupFollowsTheStoredPreferenceOnEveryCall) {
    // automatic: the first French or English system language wins (English here).
    EXPECT_EQ(AppText::currentPreference(), AppLanguagePreference::automatic);
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Difference"_s);
    storePreference(u"fr"_s);
    EXPECT_EQ(AppText::currentLanguage(), AppLanguage::french);
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Écart"_s);
    // Unknown stored values read as automatic and are left as they are.
    for (const QString& raw : {u"FR"_s, u"french"_s, u""_s}) {
        storePreference(raw);
        EXPECT_EQ(AppText::currentPreference(), AppLanguagePreference::automatic);
        EXPECT_EQ(AppText::currentLanguage(), AppLanguage::english);
        EXPECT_EQ(store_->string(u"com.tallybrook.control.language"_s), raw);
    }
    // A preference stored as data is not a text value.
    store_->setData(u"com.tallybrook.control.language"_s, "fr");
    EXPECT_EQ(AppText::currentPreference(), AppLanguagePreference::automatic);
    // The system list is read on every resolution.
    systemLanguages_ = {u"fr-CA"_s};
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Écart"_s);
}

TEST_F(AppTextTest, MissingKeysFallBackToFrenchThenToTheKey) {
    EXPECT_EQ(AppText::localized(u"no.such.key", AppLanguage::english), u"no.such.key"_s);
    EXPECT_EQ(AppText::formatted(u"no.such.key", AppLanguage::french, {3}), u"no.such.key"_s);
}

TEST_F(AppTextTest, FormattingUsesTheResolvedLanguage) {
    struct Case {
        AppLanguage language;
        const char16_t* key;
        std::initializer_list<FormatArg> args;
        const char16_t* expected;
    };
    const Case cases[] = {
        {AppLanguage::english, u"labels.count", {12, 40}, u"12 printable labels out of 40 displayed rows"},
        {AppLanguage::french, u"labels.count", {12, 40}, u"12 étiquettes générables sur 40 lignes affichées"},
        {AppLanguage::english, u"wooApi.status", {401, u"{\"code\":\"x\"}"_s}, u"WooCommerce error 401: {\"code\":\"x\"}"},
        {AppLanguage::french, u"importError.unsupportedVersion", {qint64(0)}, u"Version de format Tallybrook non supportée: 0."},
        {AppLanguage::english, u"keychain.error", {-25300}, u"Keychain error: -25300."},
        {AppLanguage::french, u"corrections.reloadPartial", {qint64(1234567), 9876543210LL},
         u"1234567 stock(s) WooCommerce relu(s) sur 9876543210."},
        {AppLanguage::english, u"wooUpdate.remoteMismatch", {u"Correction sent."_s, 6, 7},
         u"Correction sent. Current Woo stock differs from the sent quantity (6 instead of 7)."},
        {AppLanguage::french, u"importError.missingKey", {u"displayName"_s, u"source"_s},
         u"Clé manquante 'displayName' dans source"},
        // A %@ argument is inserted verbatim, even when it holds a placeholder of its own.
        {AppLanguage::english, u"date.invalidISO8601", {u"100%d"_s}, u"Invalid ISO8601 date: 100%d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.key).toStdString());
        EXPECT_EQ(AppText::formatted(c.key, c.language, c.args), QString::fromUtf16(c.expected));
    }
    storePreference(u"en"_s);
    EXPECT_EQ(AppText::formatted(u"labels.count", {12, 40}), u"12 printable labels out of 40 displayed rows"_s);
}
