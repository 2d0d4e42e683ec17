#pragma once

#include "localization/AppLanguage.h"

#include <QObject>
#include <QTranslator>
#include <memory>

namespace tallybrook {

class AppSettings;

/// Keeps Qt's own texts (file and print dialogs, line edit context menus, network errors) in
/// the window's language: Qt's translations of the resolved language are installed on the
/// application, and swapped when the language preference changes. Lives on the main thread,
/// no longer than the application object; `settings` must outlive it.
class QtTranslations : public QObject {
    Q_OBJECT

public:
    explicit QtTranslations(const AppSettings& settings, QObject* parent = nullptr);
    ~QtTranslations() override;

    /// The language whose Qt translations are installed, if any could be loaded.
    std::optional<AppLanguage> installedLanguage() const { return installed_; }

private:
    void follow(AppLanguage language);

    const AppSettings& settings_;
    std::unique_ptr<QTranslator> translator_;
    std::optional<AppLanguage> installed_;
};

/// The application: reads the command line, prepares the profile and opens the window.
///
///   tallybrook-control [FILE] [--demo --demo-shop URL] [--screenshots DIR [--lang fr|en]]
///
/// FILE is imported when the window opens (instead of the most recent import). --demo runs in
/// a profile of its own (its own data folder, credentials kept in memory only) connected to the
/// demo shop at URL. --screenshots renders every page once into DIR/<destination>.png, in a
/// throw-away profile, and exits. Returns the process's exit code.
int runApplication(int argc, char** argv);

} // namespace tallybrook
