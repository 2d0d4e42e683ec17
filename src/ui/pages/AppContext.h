#pragma once

#include "app/CommerceConnectorFactory.h"
#include "core/Clock.h"
#include "localization/AppLanguage.h"
#include "storage/WooCredentialStore.h"
#include "ui/services/FileSaveService.h"

#include <QLocale>
#include <memory>

namespace tallybrook {

class AppSettings;
class BackgroundSaver;
class ImportHistoryStore;
class InventoryImportViewModel;
class PreferencesStore;
class SecretStore;
class TallybrookControlStore;

/// Where the window keeps its state and how it reaches the outside world. The application
/// builds it from the user's profile (or the demo or screenshot profile); tests pass in-memory
/// stores, a loopback shop and file choosers that need no dialog.
struct WindowProfile {
    /// Preferences of this profile; installed as the process's standard store by the window.
    std::shared_ptr<PreferencesStore> preferences;
    /// The secure store of the consumer key and secret.
    std::shared_ptr<SecretStore> secrets;
    CommerceConnectorFactory connectorFactory = wooCommerceConnectorFactory();
    /// Empty: the platform's dialogs.
    FileSaveService::PathChooser savePathChooser;
    OpenFileChooser openFileChooser;
    /// The system's number format, which decimal fields follow (not the application language).
    QLocale numberLocale = QLocale::system();
    /// Empty: the system's list.
    PreferredLanguagesProvider preferredLanguages;
    Clock clock = systemNow;
    /// Window size and position are remembered in the preferences (not for screenshots).
    bool remembersWindowGeometry = true;
};

/// The shared objects every page receives: they live as long as the window.
struct AppContext {
    const WindowProfile& profile;
    TallybrookControlStore& store;
    ImportHistoryStore& history;
    AppSettings& settings;
    InventoryImportViewModel& importer;
    FileSaveService& fileSaver;

    /// The saved WooCommerce connection of this profile (preferences and secure store).
    WooCredentialStore credentialStore() const {
        return WooCredentialStore(profile.preferences,
                                  KeychainService(KeychainService::wooCommerceServiceName(), profile.secrets));
    }
};

} // namespace tallybrook
