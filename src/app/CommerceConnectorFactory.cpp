#include "app/CommerceConnectorFactory.h"

#include "storage/QtKeychainSecretStore.h"
#include "storage/WooCredentialStore.h"
#include "woocommerce/WooCommerceConnector.h"

namespace tallybrook {

CommerceConnectorFactory wooCommerceConnectorFactory() {
    return [](const WooStoredCredentials& credentials, WooRequestMode mode) -> std::shared_ptr<CommerceStockConnector> {
        return std::make_shared<WooCommerceConnector>(credentials.storeURL, credentials.consumerKey,
                                                      credentials.consumerSecret, nullptr, systemNow, mode);
    };
}

WooCredentialStore standardCredentialStore(std::shared_ptr<PreferencesStore> defaults) {
    return WooCredentialStore(std::move(defaults),
                              KeychainService(KeychainService::wooCommerceServiceName(),
                                              std::make_shared<QtKeychainSecretStore>()));
}

} // namespace tallybrook
