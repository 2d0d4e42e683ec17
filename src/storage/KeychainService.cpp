#include "storage/KeychainService.h"

#include <QStringDecoder>

namespace tallybrook {

KeychainService::KeychainService(QString serviceName, std::shared_ptr<SecretStore> secretStore)
    : serviceName_(std::move(serviceName))
    , secretStore_(std::move(secretStore)) {}

void KeychainService::save(const QString& value, const QString& account) {
    // A QString with an unpaired surrogate has no UTF-8 form; toUtf8 would silently replace it.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(value);
    if (encoder.hasError()) {
        throw KeychainServiceError::invalidData();
    }
    const qint32 status = secretStore_->updateOrAdd(serviceName_, account, bytes);
    if (status != SecretStore::success) {
        throw KeychainServiceError::unexpectedStatus(status, secretStore_->failureReason());
    }
}

std::optional<QString> KeychainService::read(const QString& account) {
    const SecretReadResult result = secretStore_->read(serviceName_, account);
    if (result.status == SecretStore::itemNotFound) {
        return std::nullopt;
    }
    if (result.status != SecretStore::success) {
        throw KeychainServiceError::unexpectedStatus(result.status, secretStore_->failureReason());
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(result.data);
    if (decoder.hasError()) {
        throw KeychainServiceError::invalidData();
    }
    return text;
}

} // namespace tallybrook
