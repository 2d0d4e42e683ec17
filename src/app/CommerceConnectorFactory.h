#pragma once

#include "corrections/CommerceStockConnector.h"
#include "localization/WooRequestMode.h"
#include "storage/WooStoredCredentials.h"

#include <functional>
#include <memory>

namespace tallybrook {

class PreferencesStore;
class WooCredentialStore;

/// Builds the shop connector for one connection test, reload or send from complete
/// credentials, talking to the shop in the given mode. The connector is used on a worker
/// thread and dropped after the run.
using CommerceConnectorFactory = std::function<std::shared_ptr<CommerceStockConnector>(
    const WooStoredCredentials& credentials, WooRequestMode mode)>;

/// The real factory: a WooCommerceConnector over Qt Network for the given shop.
CommerceConnectorFactory wooCommerceConnectorFactory();

/// The credential store the pages use: the given preferences (the standard store in the
/// application) and the platform's secret store through QtKeychain, under the WooCommerce
/// service name.
WooCredentialStore standardCredentialStore(std::shared_ptr<PreferencesStore> defaults);

} // namespace tallybrook
