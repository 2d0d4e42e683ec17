#include "localization/AppLanguage.h"

#include <QRegularExpression>

namespace tallybrook {

QString rawValue(AppLanguage language) {
    return language == AppLanguage::french ? QStringLiteral("fr") : QStringLiteral("en");
}

std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw) {
    if (raw == u"fr") {
        return AppLanguage::french;
    }
    if (raw == u"en") {
        return AppLanguage::english;
    }
    return std::nullopt;
}

QString displayName(AppLanguage language, AppLanguage in) {
    if (language == AppLanguage::french) {
        return in == AppLanguage::french ? QStringLiteral("Français") : QStringLiteral("French");
    }
    return in == AppLanguage::french ? QStringLiteral("Anglais") : QStringLiteral("English");
}

QLocale locale(AppLanguage language) {
    return language == AppLanguage::french ? QLocale(QLocale::French, QLocale::France)
                                           : QLocale(QLocale::English, QLocale::UnitedStates);
}

namespace {

// The language code of an identifier such as "fr-CA", "en_GB" or "de"; empty when there is none.
QString languageCode(const QString& identifier) {
    const QString trimmed = identifier.trimmed();
    const qsizetype end = trimmed.indexOf(QRegularExpression(QStringLiteral("[-_@.]")));
    const QString code = (end < 0 ? trimmed : trimmed.left(end)).toLower();
    if (code.size() < 2 || code.size() > 3) {
        return {};
    }
    for (const QChar c : code) {
        if (c < u'a' || c > u'z') {
            return {};
        }
    }
    return code;
}

} // namespace

AppLanguage preferredSystemLanguage(const QStringList& preferredLanguages) {
    for (const QString& identifier : preferredLanguages) {
        const QString code = languageCode(identifier);
        if (code == u"fr") {
            return AppLanguage::french;
        }
        if (code == u"en") {
            return AppLanguage::english;
        }
    }
    return AppLanguage::english;
}

QString rawValue(AppLanguagePreference preference) {
    switch (preference) {
    case AppLanguagePreference::automatic:
        return QStringLiteral("automatic");
    case AppLanguagePreference::french:
        return QStringLiteral("fr");
    case AppLanguagePreference::english:
        return QStringLiteral("en");
    }
    return QStringLiteral("automatic");
}

std::optional<AppLanguagePreference> appLanguagePreferenceFromRawValue(const QString& raw) {
    for (const AppLanguagePreference preference : allAppLanguagePreferences) {
        if (rawValue(preference) == raw) {
            return preference;
        }
    }
    return std::nullopt;
}

QString displayName(AppLanguagePreference preference, AppLanguage in) {
    switch (preference) {
    case AppLanguagePreference::automatic:
        return in == AppLanguage::french ? QStringLiteral("Automatique (Mac)")
                                         : QStringLiteral("Automatic (Mac)");
    case AppLanguagePreference::french:
        return displayName(AppLanguage::french, in);
    case AppLanguagePreference::english:
        return displayName(AppLanguage::english, in);
    }
    return {};
}

std::optional<AppLanguage> languageOverride(AppLanguagePreference preference) {
    switch (preference) {
    case AppLanguagePreference::automatic:
        return std::nullopt;
    case AppLanguagePreference::french:
        return AppLanguage::french;
    case AppLanguagePreference::english:
        return AppLanguage::english;
    }
    return std::nullopt;
}

AppLanguage resolvedLanguage(AppLanguagePreference preference, const QStringList& preferredLanguages) {
    if (const auto forced = languageOverride(preference)) {
        return *forced;
    }
    return preferredSystemLanguage(preferredLanguages);
}

QStringList systemPreferredLanguages() {
    return QLocale::system().uiLanguages();
}

} // namespace tallybrook
