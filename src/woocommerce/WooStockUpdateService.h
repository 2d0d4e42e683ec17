#pragma once

#include "core/Clock.h"
#include "corrections/CommerceStockConnector.h"
#include "corrections/CorrectionRecords.h"
#include "localization/WooRequestMode.h"
#include "woocommerce/WooCommerceAPIClient.h"

#include <optional>

namespace tallybrook {

struct InventoryExportDocument;

/// Reads and sets WooCommerce stock for inventory rows, which point at the shop through a
/// product identifier and an optional variation identifier (both text; only numeric ones
/// are sent). Synchronous and strictly sequential: one request in flight at a time.
class WooStockUpdateService {
public:
    explicit WooStockUpdateService(WooCommerceAPIClient client, Clock clock = systemNow,
                                   WooRequestMode mode = WooRequestMode::oneByOne);

    const WooCommerceAPIClient& client() const { return client_; }
    WooRequestMode mode() const { return mode_; }

    /// The client's check; throws its errors unchanged.
    void validateCredentials() const;

    /// Reads the stock of every distinct product–variation key of the rows, one request per key
    /// or in batches (the service's mode; the report is the same). Never throws: every problem
    /// is an issue of the report (and, when a request was made, a level without quantity).
    /// Once the run is stopped by its gate (refused credentials, an address that is not a
    /// shop), the remaining keys get the same issue without a request. A product answer that
    /// is a variation (its id given as a product id) gives an issue naming the fix and a level
    /// without quantity. The observer hears (keys done, distinct keys) after each request and
    /// is asked before each request whether to stop; a stopped reload returns the levels,
    /// issues and counts of the keys finished so far.
    RemoteStockReloadReport fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                         const WorkObserver& observer = {}) const;

    /// Sets one item's stock: the variation when `variantId` is numeric, else the product.
    /// Returns the stock quantity the shop reports after the update. Throws the client's
    /// errors, or WooCommerceAPIError::invalidURL for an empty or non-numeric product id
    /// (before any request).
    std::optional<qint64> updateStock(const QString& productId, const std::optional<QString>& variantId,
                                      qint64 quantity) const;

    /// The service's clock ("now" of levels and result lines).
    QDateTime now() const { return clock_(); }

private:
    WooCommerceAPIClient client_;
    Clock clock_;
    WooRequestMode mode_;
};

/// The numeric value of an identifier text; none when absent or not numeric.
std::optional<qint64> wooNumericId(const std::optional<QString>& text);

} // namespace tallybrook
