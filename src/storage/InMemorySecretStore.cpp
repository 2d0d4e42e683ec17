#include "storage/InMemorySecretStore.h"

#include <QMutexLocker>

namespace tallybrook {

qint32 InMemorySecretStore::updateOrAdd(const QString& service, const QString& account,
                                        const QByteArray& secret) {
    QMutexLocker lock(&mutex_);
    if (writeFailure_) {
        return *writeFailure_;
    }
    if (failingAccount_ && *failingAccount_ == account) {
        return failingAccountStatus_;
    }
    items_.insert(qMakePair(service, account), secret);
    return success;
}

SecretReadResult InMemorySecretStore::read(const QString& service, const QString& account) {
    QMutexLocker lock(&mutex_);
    if (readFailure_) {
        return {*readFailure_, {}};
    }
    const auto it = items_.constFind(qMakePair(service, account));
    if (it == items_.cend()) {
        return {itemNotFound, {}};
    }
    return {success, *it};
}

void InMemorySecretStore::setReadFailure(std::optional<qint32> status) {
    QMutexLocker lock(&mutex_);
    readFailure_ = status;
}

void InMemorySecretStore::setWriteFailure(std::optional<qint32> status) {
    QMutexLocker lock(&mutex_);
    writeFailure_ = status;
}

void InMemorySecretStore::setWriteFailureForAccount(std::optional<QString> account, qint32 status) {
    QMutexLocker lock(&mutex_);
    failingAccount_ = std::move(account);
    failingAccountStatus_ = status;
}

qsizetype InMemorySecretStore::itemCount() const {
    QMutexLocker lock(&mutex_);
    return items_.size();
}

QList<QByteArray> InMemorySecretStore::allSecrets() const {
    QMutexLocker lock(&mutex_);
    return items_.values();
}

} // namespace tallybrook
