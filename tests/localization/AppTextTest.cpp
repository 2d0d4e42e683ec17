#include "localization/AppSettings.h"
#include "localization/AppText.h"

#include "support/TestLanguage.h"

#include "localization/PlatformText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

const QString languageKey = QString::fromUtf16(languagePreferenceStorageKey);

class AppTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        PreferencesStore::setStandard(store_);
        AppText::setPreferredLanguagesProvider([this] { return systemLanguages_; });
    }
    void TearDown() override {
        AppText::setPreferredLanguagesProvider({});
        PreferencesStore::setStandard(nullptr);
    }

    std::shared_ptr<InMemoryPreferencesStore> store_ = std::make_shared<InMemoryPreferencesStore>();
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

TEST_F(AppTextTest, TableHoldsEveryKeyOnceInBothLanguagesWithMatchingPlaceholders) {
    const auto& french = AppText::table(AppLanguage::french);
    const auto& english = AppText::table(AppLanguage::english);
    ASSERT_EQ(english.size(), french.size());
    QSet<QString> keys;
    for (qsizetype i = 0; i < french.size(); ++i) {
        SCOPED_TRACE(french[i].first.toStdString());
        EXPECT_EQ(french[i].first, english[i].first);
        keys.insert(french[i].first);
        EXPECT_FALSE(french[i].second.isEmpty() || english[i].second.isEmpty());
        EXPECT_EQ(placeholders(french[i].second), placeholders(english[i].second));
    }
    EXPECT_EQ(keys.size(), french.size());
    // A missing key reads as the key itself.
    EXPECT_EQ(AppText::localized(u"no.such.key", AppLanguage::english), u"no.such.key"_s);
    EXPECT_EQ(AppText::formatted(u"no.such.key", AppLanguage::french, {3}), u"no.such.key"_s);
}

TEST_F(AppTextTest, LookupFollowsTheStoredPreferenceOnEveryCall) {
    EXPECT_EQ(AppText::currentPreference(), AppLanguagePreference::automatic);
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Difference"_s);
    store_->setString(languageKey, u"fr"_s);
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Écart"_s);
    // Unknown stored values read as automatic and are left as they are.
    for (const QString& raw : {u"FR"_s, u""_s}) {
        store_->setString(languageKey, raw);
        EXPECT_EQ(AppText::currentPreference(), AppLanguagePreference::automatic);
        EXPECT_EQ(AppText::currentLanguage(), AppLanguage::english);
        EXPECT_EQ(store_->string(languageKey), raw);
    }
    systemLanguages_ = {u"fr-CA"_s}; // the system list is read on every resolution
    EXPECT_EQ(AppText::localized(u"rowStatus.difference"), u"Écart"_s);
}

TEST_F(AppTextTest, FormattingUsesTheResolvedLanguage) {
    struct Case {
        AppLanguage language;
        const char16_t* key;
        std::initializer_list<FormatArg> args;
        const char16_t* expected;
    };
    const Case cases[] = {
        {AppLanguage::english, u"wooApi.status", {401, u"{\"code\":\"x\"}"_s}, u"WooCommerce error 401: {\"code\":\"x\"}"},
        {AppLanguage::french, u"importError.unsupportedVersion", {qint64(0)}, u"Version de format Tallybrook non supportée: 0."},
        {AppLanguage::french, u"corrections.reloadPartial", {qint64(1234567), 9876543210LL}, u"1234567 stock(s) WooCommerce relu(s) sur 9876543210."},
        {AppLanguage::english, u"wooUpdate.remoteMismatch", {u"Sent."_s, 6, 7}, u"Sent. Current Woo stock differs from the sent quantity (6 instead of 7)."},
        {AppLanguage::french, u"importError.missingKey", {u"displayName"_s, u"source"_s}, u"Clé manquante 'displayName' dans source"},
        // A %@ argument is inserted verbatim, even when it holds a placeholder of its own.
        {AppLanguage::english, u"date.invalidISO8601", {u"100%d"_s}, u"Invalid ISO8601 date: 100%d"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppText::formatted(c.key, c.language, c.args), QString::fromUtf16(c.expected));
    }
    store_->setString(languageKey, u"en"_s);
    EXPECT_EQ(AppText::formatted(u"labels.count", {12, 40}), u"12 printable labels out of 40 displayed rows"_s);
}

// The settings may read another store than the standard one; a choice still goes to the
// standard store, which services read through AppText, and a later start reads it back.
TEST_F(AppTextTest, SettingsWriteAChoiceWhereServicesReadIt) {
    const auto french = [] { return QStringList{u"fr-FR"_s}; };
    auto other = std::make_shared<InMemoryPreferencesStore>();
    {
        AppSettings settings(other, french);
        EXPECT_EQ(settings.languagePreference(), AppLanguagePreference::automatic);
        EXPECT_EQ(settings.localized(u"sidebar.rows"), u"Toutes les lignes"_s);
        int announced = 0;
        QObject::connect(&settings, &AppSettings::languagePreferenceChanged, [&] { ++announced; });
        settings.setLanguagePreference(AppLanguagePreference::english);
        settings.setLanguagePreference(AppLanguagePreference::english);
        EXPECT_EQ(announced, 2) << "every assignment is announced";
        EXPECT_EQ(std::pair(other->string(languageKey), store_->string(languageKey)), std::pair(std::optional<QString>(), std::optional(u"en"_s)));
        EXPECT_EQ(std::pair(AppText::localized(u"sidebar.rows"), settings.formatted(u"common.rowsCount", {3})), std::pair(u"All rows"_s, u"3 rows"_s));
    }
    EXPECT_EQ(AppSettings(store_, french).languagePreference(), AppLanguagePreference::english);
    other->setString(languageKey, u"fr"_s);
    EXPECT_EQ(AppSettings(other, french).languagePreference(), AppLanguagePreference::french);
    other->setString(languageKey, u"klingon"_s);
    EXPECT_EQ(AppSettings(other, french).languagePreference(), AppLanguagePreference::automatic);
    EXPECT_EQ(other->string(languageKey), u"klingon"_s) << "nothing is written at start";
}

// Every key the product asks for by name is in the table: a key missing from it would show as
// the bare key on screen. Keys are found where the code names them: the argument of a lookup,
// or an element of a list of keys.
TEST_F(AppTextTest, EveryKeyTheCodeNamesIsInTheTable) {
    QSet<QString> table;
    for (const auto& [key, text] : AppText::table(AppLanguage::french)) {
        table.insert(key);
    }
    static const QRegularExpression lookup(
        uR"re((localized|formatted|platformTextKey)\(\s*(?:u|QStringLiteral\()?"([A-Za-z]+\.[A-Za-z0-9.]+)")re"_s);
    static const QRegularExpression listed(uR"re(^\s*u"([a-z][A-Za-z]*\.[A-Za-z0-9.]+)",?\s*$)re"_s,
                                           QRegularExpression::MultilineOption);
    QStringList missing;
    qsizetype found = 0;
    for (const char* folder : {"src", "tools"}) {
        QDirIterator files(QStringLiteral(TALLYBROOK_SOURCE_DIR "/") + QLatin1StringView(folder),
                           {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString source = QString::fromUtf8(file.readAll());
            for (auto it = lookup.globalMatch(source); it.hasNext();) {
                const auto match = it.next();
                const QString key = match.captured(1) == u"platformTextKey" ? platformTextKey(match.captured(2))
                                                                             : match.captured(2);
                ++found;
                if (!table.contains(key)) {
                    missing.append(files.fileName() + u": "_s + key);
                }
            }
            for (auto it = listed.globalMatch(source); it.hasNext();) {
                const QString key = it.next().captured(1);
                ++found;
                if (!table.contains(key)) {
                    missing.append(files.fileName() + u": "_s + key);
                }
            }
        }
    }
    EXPECT_GT(found, 150); // the scan does find the product's keys
    EXPECT_EQ(missing, QStringList());
}
