#pragma once

#include "storage/KeychainServiceError.h"
#include "storage/SecretStore.h"

#include <QString>
#include <memory>
#include <optional>

namespace tallybrook {

/// Text secrets of one service name in the secure credential store, one per account.
/// Holds no copy of any value; every call goes to the store. Throws KeychainServiceError.
class KeychainService {
public:
    /// The service name under which the application keeps its WooCommerce secrets.
    static QString wooCommerceServiceName() { return QStringLiteral("TallybrookControl.WooCommerce"); }

    KeychainService(QString serviceName, std::shared_ptr<SecretStore> secretStore);

    const QString& serviceName() const { return serviceName_; }

    /// Stores the UTF-8 bytes of `value` for `account`, replacing an existing item.
    void save(const QString& value, const QString& account);
    /// The stored text, or none when the account has no item. Bytes that are not UTF-8 throw
    /// `invalidData`; any other failure `unexpectedStatus`.
    std::optional<QString> read(const QString& account);

private:
    QString serviceName_;
    std::shared_ptr<SecretStore> secretStore_;
};

} // namespace tallybrook
