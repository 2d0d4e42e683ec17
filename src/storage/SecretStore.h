#pragma once

#include <QByteArray>
#include <QString>

namespace tallybrook {

/// Outcome of reading one secret: a status, and the bytes when the status is success.
struct SecretReadResult {
    qint32 status = 0;
    QByteArray data;

    bool operator==(const SecretReadResult&) const = default;
};

/// The platform's secure credential store, reduced to what the application needs: secrets
/// identified by (service, account), written by update-or-add and read with a missing item
/// told apart from failures. Statuses are numbers so that errors can show them: 0 is success,
/// `itemNotFound` means no such item, any other value is a failure code of the implementation.
///
/// Implementations never fall back to an insecure place (a file, the preferences) when the
/// secure store is missing or locked; they fail with a status instead. Calls are synchronous.
class SecretStore {
public:
    static constexpr qint32 success = 0;
    /// The same number as the macOS Keychain's errSecItemNotFound, so the status reads alike
    /// on every platform.
    static constexpr qint32 itemNotFound = -25300;

    virtual ~SecretStore() = default;

    /// Stores `secret` for (service, account), replacing an existing item rather than adding a
    /// second one. Returns `success` or a failure status (never `itemNotFound`).
    virtual qint32 updateOrAdd(const QString& service, const QString& account, const QByteArray& secret) = 0;
    /// The stored bytes with `success`, `itemNotFound` when there is no item, or a failure status.
    virtual SecretReadResult read(const QString& service, const QString& account) = 0;
    /// What the platform said about the failure of this store's last call, when it said
    /// anything (a status alone rarely tells a user what is wrong); empty otherwise.
    virtual QString failureReason() const { return {}; }
};

} // namespace tallybrook
