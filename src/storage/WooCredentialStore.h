#pragma once

#include "storage/KeychainService.h"
#include "storage/WooStoredCredentials.h"

#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

namespace tallybrook {

class PreferencesStore;

/// The saved WooCommerce connection: the store URL and display name in the preferences, the
/// consumer key and secret only in the secure credential store. Holds no copy: every call
/// reads or writes the stores afresh, so any number of these see the same data.
/// Keychain failures throw KeychainServiceError.
class WooCredentialStore {
public:
    static QString storeURLKey() { return QStringLiteral("woocommerce.storeURL"); }
    static QString displayNameKey() { return QStringLiteral("woocommerce.displayName"); }
    static QString consumerKeyAccount() { return QStringLiteral("woocommerce.consumerKey"); }
    static QString consumerSecretAccount() { return QStringLiteral("woocommerce.consumerSecret"); }

    WooCredentialStore(std::shared_ptr<PreferencesStore> userDefaults, KeychainService keychain);

    /// The complete saved credentials; none when the URL is missing or not a URL, or when the
    /// key or the secret has no item. A Keychain failure throws.
    std::optional<WooStoredCredentials> load();
    /// Writes URL, display name (removed when none), key then secret, stopping at the first
    /// Keychain failure (the preferences are already written then).
    void save(const QUrl& storeURL, const std::optional<QString>& displayName, const QString& consumerKey,
              const QString& consumerSecret);

    std::optional<QString> savedStoreURLText() const;
    std::optional<QString> savedDisplayName() const;

    /// The saved URL text read as a URL: none when absent or not a URL.
    static std::optional<QUrl> parseSavedURL(const QString& text);

private:
    std::shared_ptr<PreferencesStore> userDefaults_;
    KeychainService keychain_;
};

} // namespace tallybrook
