#pragma once

#include "app/CommerceConnectorFactory.h"
#include "storage/WooCredentialStore.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QUrl>
#include <exception>
#include <optional>

namespace tallybrook {

/// State of the WooCommerce connection page: the four fields the user edits, the result of
/// the last connection test and the last save error. Loads and saves the connection through
/// the credential store (secrets only in the secret store) and tests the fields as typed
/// with a throw-away connector on a worker thread.
///
/// Main thread only; every field announces each assignment. A test started while another
/// runs supersedes it: only the newest test sets the state.
class WooConnectionViewModel : public QObject {
    Q_OBJECT

public:
    /// Result of the last connection test.
    struct ValidationState {
        enum class Kind { valid, invalid, idle, testing };
        Kind kind = Kind::idle;
        QString message; ///< for valid and invalid

        static ValidationState valid(QString message) { return {Kind::valid, std::move(message)}; }
        static ValidationState invalid(QString message) { return {Kind::invalid, std::move(message)}; }
        static ValidationState idle() { return {}; }
        static ValidationState testing() { return {Kind::testing, {}}; }
        bool operator==(const ValidationState&) const = default;
    };

    WooConnectionViewModel(WooCredentialStore credentialStore, CommerceConnectorFactory connectorFactory,
                           QObject* parent = nullptr);

    const QString& storeURLString() const { return storeURLString_; }
    const QString& displayName() const { return displayName_; }
    const QString& consumerKey() const { return consumerKey_; }
    const QString& consumerSecret() const { return consumerSecret_; }
    const ValidationState& validationState() const { return validationState_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }

    void setStoreURLString(QString value);
    void setDisplayName(QString value);
    void setConsumerKey(QString value);
    void setConsumerSecret(QString value);

    /// Fills the fields from the saved connection; a Keychain failure leaves key and secret
    /// as they were.
    void load();
    /// Saves the fields; an unusable URL or a Keychain failure shows in `errorMessage`.
    void save();
    /// Tests the fields as typed; the outcome arrives later in `validationState`.
    void testConnection();
    /// Whether a connection test is running.
    bool isTesting() const { return testWatcher_.isRunning(); }

    /// The URL the user's text stands for: trimmed; kept as typed when it parses with a
    /// scheme (a path, a port, "http", or "host:port" read as a scheme stay); otherwise
    /// "https://" is put in front; none when empty or unparsable.
    static std::optional<QUrl> normalizeStoreURL(const QString& text);

signals:
    void storeURLStringChanged();
    void displayNameChanged();
    void consumerKeyChanged();
    void consumerSecretChanged();
    void validationStateChanged();
    void errorMessageChanged();

private:
    void setValidationState(ValidationState state);
    void setErrorMessage(std::optional<QString> message);
    void finishTest();

    WooCredentialStore credentialStore_;
    CommerceConnectorFactory connectorFactory_;
    QString storeURLString_;
    QString displayName_;
    QString consumerKey_;
    QString consumerSecret_;
    ValidationState validationState_;
    std::optional<QString> errorMessage_;
    /// The outcome of a test: none when the shop accepted the credentials.
    QFutureWatcher<std::exception_ptr> testWatcher_;
};

} // namespace tallybrook
