#pragma once

#include "storage/SecretStore.h"

#include <QMutex>
#include <chrono>

namespace QKeychain {
class Job;
}

namespace tallybrook {

/// The secret store of the platform through QtKeychain: the Keychain on macOS, the Secret
/// Service (gnome-keyring, KWallet) on Linux, the Credential Manager on Windows.
///
/// Statuses: QtKeychain's "entry not found" is `itemNotFound`; every other QtKeychain error is
/// returned as its QKeychain::Error value (2 could not delete, 3 access denied by the user,
/// 4 access denied, 5 no keychain available, 6 not implemented, 7 other error), and a job that
/// does not finish within the time limit gives `timedOut`. The insecure fallback of
/// QtKeychain (a plain settings file) is always off.
///
/// QtKeychain jobs are asynchronous. Every store of the process runs them, one at a time, on
/// one keychain thread that lives as long as the process (QtKeychain cannot serve jobs of
/// several threads), each in that thread's local event loop, and the calling thread waits for
/// the answer: a call is a plain blocking call for the caller (the main thread never runs a
/// nested event loop for it).
class QtKeychainSecretStore final : public SecretStore {
public:
    static constexpr qint32 timedOut = -1;

    /// `timeout` bounds each call; a Secret Service that asks the user to unlock the keyring
    /// needs the time of that dialog.
    explicit QtKeychainSecretStore(std::chrono::milliseconds timeout = std::chrono::minutes(2));
    QtKeychainSecretStore(const QtKeychainSecretStore&) = delete;
    QtKeychainSecretStore& operator=(const QtKeychainSecretStore&) = delete;

    qint32 updateOrAdd(const QString& service, const QString& account, const QByteArray& secret) override;
    SecretReadResult read(const QString& service, const QString& account) override;
    /// QtKeychain's error text of the last call when it failed (the Secret Service's own words,
    /// such as "Could not connect: No such file or directory"); empty after a success.
    QString failureReason() const override;

private:
    template <typename Work>
    auto onKeychainThread(Work work);
    qint32 writeOnThisThread(const QString& service, const QString& account, const QByteArray& secret);
    SecretReadResult readOnThisThread(const QString& service, const QString& account);

    /// Records the outcome of the call that ends with `job` finished, and returns its status.
    qint32 finish(QKeychain::Job& job);
    /// Records a call whose job did not finish in time, and returns `timedOut`.
    qint32 recordTimeout();

    std::chrono::milliseconds timeout_;
    mutable QMutex failureMutex_;
    QString failureReason_;
};

} // namespace tallybrook
