#pragma once

#include "storage/SecretStore.h"

#include <QHash>
#include <QMutex>
#include <QPair>
#include <optional>

namespace tallybrook {

/// A secret store in memory, for unit tests. Failures of a locked or missing store are
/// simulated by injecting a status that the next reads and/or writes return.
class InMemorySecretStore final : public SecretStore {
public:
    qint32 updateOrAdd(const QString& service, const QString& account, const QByteArray& secret) override;
    SecretReadResult read(const QString& service, const QString& account) override;

    /// Every read returns `status` (none: reads work again).
    void setReadFailure(std::optional<qint32> status);
    /// Every write returns `status` and stores nothing (none: writes work again).
    void setWriteFailure(std::optional<qint32> status);
    /// Writes only for one account fail (none: all accounts work again).
    void setWriteFailureForAccount(std::optional<QString> account, qint32 status);

    /// Number of items held, to check that an update replaced rather than added.
    qsizetype itemCount() const;
    /// Every stored secret, in no particular order (to look for secrets elsewhere).
    QList<QByteArray> allSecrets() const;

private:
    mutable QMutex mutex_;
    QHash<QPair<QString, QString>, QByteArray> items_;
    std::optional<qint32> readFailure_;
    std::optional<qint32> writeFailure_;
    std::optional<QString> failingAccount_;
    qint32 failingAccountStatus_ = 0;
};

} // namespace tallybrook
