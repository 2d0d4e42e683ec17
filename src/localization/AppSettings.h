#pragma once

#include "localization/AppLanguage.h"
#include "localization/AppText.h"
#include "localization/WooRequestMode.h"

#include <QObject>

#include <memory>

namespace tallybrook {

class PreferencesStore;

/// The language setting of the window's pages. Lives on the main thread for the life of the
/// window; every assignment of `languagePreference` is announced and written to the standard
/// preferences store, where AppText reads it (the window passes that same store as `defaults`).
class AppSettings : public QObject {
    Q_OBJECT

public:
    /// Reads the stored preference once; an unknown stored value reads as automatic and is
    /// left as it is. Nothing is written here.
    explicit AppSettings(std::shared_ptr<PreferencesStore> defaults,
                         PreferredLanguagesProvider preferredLanguages = {}, QObject* parent = nullptr);

    AppLanguagePreference languagePreference() const { return languagePreference_; }
    void setLanguagePreference(AppLanguagePreference preference);

    /// The language the pages use now: the preference resolved against the system's list.
    AppLanguage resolvedLanguage() const;
    QLocale locale() const;

    QString localized(QStringView key) const;
    QString formatted(QStringView key, std::initializer_list<FormatArg> args) const;

    /// How reloads and sends talk to the shop; stored like the language, read at each run.
    WooRequestMode requestMode() const { return requestMode_; }
    void setRequestMode(WooRequestMode mode);

signals:
    void languagePreferenceChanged(tallybrook::AppLanguagePreference preference);
    void requestModeChanged(tallybrook::WooRequestMode mode);

private:
    std::shared_ptr<PreferencesStore> defaults_;
    PreferredLanguagesProvider preferredLanguages_;
    AppLanguagePreference languagePreference_ = AppLanguagePreference::automatic;
    WooRequestMode requestMode_ = WooRequestMode::oneByOne;
};

} // namespace tallybrook
