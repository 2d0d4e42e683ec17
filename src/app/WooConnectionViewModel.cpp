#include "app/WooConnectionViewModel.h"

#include "core/TextRules.h"
#include "localization/AppText.h"
#include "localization/LocalizedError.h"

#include <QtConcurrent/QtConcurrentRun>

using namespace Qt::StringLiterals;

namespace tallybrook {

WooConnectionViewModel::WooConnectionViewModel(WooCredentialStore credentialStore,
                                               CommerceConnectorFactory connectorFactory, QObject* parent)
    : QObject(parent)
    , credentialStore_(std::move(credentialStore))
    , connectorFactory_(std::move(connectorFactory)) {
    connect(&testWatcher_, &QFutureWatcher<std::exception_ptr>::finished, this,
            &WooConnectionViewModel::finishTest);
}

void WooConnectionViewModel::setStoreURLString(QString value) {
    storeURLString_ = std::move(value);
    emit storeURLStringChanged();
}

void WooConnectionViewModel::setDisplayName(QString value) {
    displayName_ = std::move(value);
    emit displayNameChanged();
}

void WooConnectionViewModel::setConsumerKey(QString value) {
    consumerKey_ = std::move(value);
    emit consumerKeyChanged();
}

void WooConnectionViewModel::setConsumerSecret(QString value) {
    consumerSecret_ = std::move(value);
    emit consumerSecretChanged();
}

void WooConnectionViewModel::setValidationState(ValidationState state) {
    validationState_ = std::move(state);
    emit validationStateChanged();
}

void WooConnectionViewModel::setErrorMessage(std::optional<QString> message) {
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

std::optional<QUrl> WooConnectionViewModel::normalizeStoreURL(const QString& text) {
    const QString trimmed = trimmedText(text);
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    const QUrl typed(trimmed, QUrl::StrictMode);
    if (typed.isValid() && !typed.scheme().isEmpty()) {
        return typed;
    }
    const QUrl withScheme(u"https://"_s + trimmed, QUrl::StrictMode);
    if (withScheme.isValid()) {
        return withScheme;
    }
    return std::nullopt;
}

void WooConnectionViewModel::load() {
    const std::optional<QString> savedURL = credentialStore_.savedStoreURLText();
    const std::optional<QUrl> url = savedURL ? WooCredentialStore::parseSavedURL(*savedURL) : std::nullopt;
    setStoreURLString(url ? url->toString(QUrl::FullyEncoded) : QString());
    setDisplayName(credentialStore_.savedDisplayName().value_or(QString()));

    std::optional<WooStoredCredentials> credentials;
    try {
        credentials = credentialStore_.load();
    } catch (const LocalizedError&) {
        // A locked or unreadable Keychain leaves the fields as the user sees them.
    }
    if (credentials) {
        setConsumerKey(credentials->consumerKey);
        setConsumerSecret(credentials->consumerSecret);
    }
}

void WooConnectionViewModel::save() {
    setErrorMessage(std::nullopt);
    const std::optional<QUrl> url = normalizeStoreURL(storeURLString_);
    if (!url) {
        setErrorMessage(AppText::localized(u"woo.invalidURL"));
        return;
    }
    std::optional<QString> displayNameToSave;
    if (!displayName_.isEmpty()) {
        displayNameToSave = displayName_;
    } else if (!url->host().isEmpty()) {
        displayNameToSave = url->host();
    }
    try {
        credentialStore_.save(*url, displayNameToSave, consumerKey_, consumerSecret_);
    } catch (const LocalizedError& error) {
        setErrorMessage(error.localizedDescription());
    }
}

void WooConnectionViewModel::testConnection() {
    setErrorMessage(std::nullopt);
    setValidationState(ValidationState::testing());
    const std::optional<QUrl> url = normalizeStoreURL(storeURLString_);
    if (!url) {
        // Drops the result of a test still running, so it cannot overwrite this outcome.
        testWatcher_.setFuture(QFuture<std::exception_ptr>());
        setValidationState(ValidationState::invalid(AppText::localized(u"woo.invalidURL")));
        return;
    }
    std::shared_ptr<CommerceStockConnector> connector =
        connectorFactory_(WooStoredCredentials{*url, consumerKey_, consumerSecret_}, WooRequestMode::oneByOne);
    // The connector moves into the task, so it is used and released on the worker thread
    // whose event loop its network objects belong to.
    testWatcher_.setFuture(
        QtConcurrent::run([connector = std::move(connector)]() mutable -> std::exception_ptr {
            std::exception_ptr outcome;
            try {
                connector->validateCredentials();
            } catch (...) {
                outcome = std::current_exception();
            }
            connector.reset();
            return outcome;
        }));
}

void WooConnectionViewModel::finishTest() {
    const QFuture<std::exception_ptr> future = testWatcher_.future();
    if (future.isCanceled() || future.resultCount() == 0) {
        return;
    }
    const std::exception_ptr outcome = future.result();
    if (!outcome) {
        setValidationState(ValidationState::valid(AppText::localized(u"woo.validConnection")));
        return;
    }
    // The description is read here, on the main thread, so it is worded in the language in
    // force when the state is set.
    try {
        std::rethrow_exception(outcome);
    } catch (const LocalizedError& error) {
        setValidationState(ValidationState::invalid(error.localizedDescription()));
    } catch (const std::exception& error) {
        setValidationState(ValidationState::invalid(QString::fromUtf8(error.what())));
    }
}

} // namespace tallybrook
