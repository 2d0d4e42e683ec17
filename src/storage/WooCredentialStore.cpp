#include "storage/WooCredentialStore.h"

#include "localization/PreferencesStore.h"

namespace tallybrook {

WooCredentialStore::WooCredentialStore(std::shared_ptr<PreferencesStore> userDefaults,
                                       KeychainService keychain)
    : userDefaults_(std::move(userDefaults))
    , keychain_(std::move(keychain)) {}

std::optional<QUrl> WooCredentialStore::parseSavedURL(const QString& text) {
    // The saved text is an absolute URL that we wrote ourselves; anything a strict parse
    // rejects (or an empty text) is not a usable shop address.
    QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid()) {
        return std::nullopt;
    }
    return url;
}

std::optional<WooStoredCredentials> WooCredentialStore::load() {
    const std::optional<QString> urlText = savedStoreURLText();
    if (!urlText) {
        return std::nullopt;
    }
    const std::optional<QUrl> url = parseSavedURL(*urlText);
    if (!url) {
        return std::nullopt;
    }
    std::optional<QString> key = keychain_.read(consumerKeyAccount());
    if (!key) {
        return std::nullopt;
    }
    std::optional<QString> secret = keychain_.read(consumerSecretAccount());
    if (!secret) {
        return std::nullopt;
    }
    return WooStoredCredentials{*url, std::move(*key), std::move(*secret)};
}

void WooCredentialStore::save(const QUrl& storeURL, const std::optional<QString>& displayName,
                              const QString& consumerKey, const QString& consumerSecret) {
    userDefaults_->setString(storeURLKey(), storeURL.toString(QUrl::FullyEncoded));
    if (displayName) {
        userDefaults_->setString(displayNameKey(), *displayName);
    } else {
        userDefaults_->remove(displayNameKey());
    }
    keychain_.save(consumerKey, consumerKeyAccount());
    keychain_.save(consumerSecret, consumerSecretAccount());
}

std::optional<QString> WooCredentialStore::savedStoreURLText() const {
    return userDefaults_->string(storeURLKey());
}

std::optional<QString> WooCredentialStore::savedDisplayName() const {
    return userDefaults_->string(displayNameKey());
}

} // namespace tallybrook
