#include "localization/AppSettings.h"

#include "localization/PreferencesStore.h"

namespace tallybrook {

AppSettings::AppSettings(std::shared_ptr<PreferencesStore> defaults, PreferredLanguagesProvider preferredLanguages,
                         QObject* parent)
    : QObject(parent)
    , defaults_(std::move(defaults))
    , preferredLanguages_(std::move(preferredLanguages)) {
    if (defaults_) {
        if (const auto stored = defaults_->string(QString::fromUtf16(languagePreferenceStorageKey))) {
            languagePreference_ = appLanguagePreferenceFromRawValue(*stored).value_or(AppLanguagePreference::automatic);
        }
        if (const auto stored = defaults_->string(QString::fromUtf16(wooRequestModeStorageKey))) {
            requestMode_ = wooRequestModeFromRawValue(*stored).value_or(WooRequestMode::oneByOne);
        }
    }
}

void AppSettings::setLanguagePreference(AppLanguagePreference preference) {
    languagePreference_ = preference;
    // Written to the process's standard store, the one AppText reads, so that services word
    // their next message in the new language whatever store the settings were read from.
    PreferencesStore::standard()->setString(QString::fromUtf16(languagePreferenceStorageKey),
                                            rawValue(preference));
    emit languagePreferenceChanged(preference);
}

void AppSettings::setRequestMode(WooRequestMode mode) {
    requestMode_ = mode;
    if (defaults_) {
        defaults_->setString(QString::fromUtf16(wooRequestModeStorageKey), rawValue(mode));
    }
    emit requestModeChanged(mode);
}

AppLanguage AppSettings::resolvedLanguage() const {
    return tallybrook::resolvedLanguage(languagePreference_,
                                        preferredLanguages_ ? preferredLanguages_() : AppText::preferredLanguages());
}

QLocale AppSettings::locale() const {
    return tallybrook::locale(resolvedLanguage());
}

QString AppSettings::localized(QStringView key) const {
    return AppText::localized(key, resolvedLanguage());
}

QString AppSettings::formatted(QStringView key, std::initializer_list<FormatArg> args) const {
    return AppText::formatted(key, resolvedLanguage(), args);
}

} // namespace tallybrook
