#pragma once

#include "localization/AppLanguage.h"
#include "localization/LocalizedError.h"

#include <QString>
#include <optional>

namespace tallybrook {

/// A failure of the secure credential store: an unexpected status (locked or missing store,
/// denied access, ...) with its number, or stored data that is not UTF-8 text.
class KeychainServiceError : public LocalizedError {
public:
    enum class Case { unexpectedStatus, invalidData };

    /// `reason`: the secret store's own words for the failure, when it gave any.
    static KeychainServiceError unexpectedStatus(qint32 status, QString reason = {}) {
        return {Case::unexpectedStatus, status, std::move(reason)};
    }
    static KeychainServiceError invalidData() { return {Case::invalidData, 0, {}}; }

    Case errorCase() const { return case_; }
    /// The store's status for `unexpectedStatus`; 0 otherwise.
    qint32 status() const { return status_; }
    /// The store's reason for `unexpectedStatus`, when it gave one; empty otherwise.
    const QString& reason() const { return reason_; }

    /// "Keychain error: %d.", with the store's reason when it gave one ("Keychain error: %d
    /// (%@)."), or "Invalid Keychain data." in the current language.
    QString localizedDescription() const override;
    QString localizedDescription(std::optional<AppLanguage> language) const;

    bool operator==(const KeychainServiceError& other) const {
        return case_ == other.case_ && status_ == other.status_ && reason_ == other.reason_;
    }

private:
    KeychainServiceError(Case errorCase, qint32 status, QString reason)
        : case_(errorCase)
        , status_(status)
        , reason_(std::move(reason)) {}

    Case case_;
    qint32 status_;
    QString reason_;
};

} // namespace tallybrook
