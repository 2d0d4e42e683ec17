#pragma once

#include "corrections/Clock.h"
#include "corrections/CommerceStockConnector.h"
#include "corrections/CorrectionRecords.h"
#include "woocommerce/WooCommerceAPIClient.h"

#include <optional>

namespace tallybrook {

struct InventoryExportDocument;

/// Reads and sets WooCommerce stock for inventory rows, which point at the shop through a
/// product identifier and an optional variation identifier (both text; only numeric ones
/// are sent). Synchronous and strictly sequential: one request in flight at a time.
class WooStockUpdateService {
public:
    explicit WooStockUpdateService(WooCommerceAPIClient client, Clock clock = systemNow);

    const WooCommerceAPIClient& client() const { return client_; }

    /// The client's check; throws its errors unchanged.
    void validateCredentials() const;

    /// Reads the stock of every distinct product–variation key of the rows, in row order.
    /// Never throws: every problem is an issue of the report (and, when a request was made, a
    /// level without quantity). Once the shop refuses the credentials, the remaining keys get
    /// the same issue without a request. A product answer that is a variation (its id given as
    /// a product id) gives an issue naming the fix and a level without quantity. The observer
    /// hears (keys done, distinct keys) after each key and is asked before each key whether to
    /// stop; a stopped reload returns the levels, issues and counts of the keys handled so far.
    RemoteStockReloadReport fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                         const WorkObserver& observer = {}) const;
    QList<RemoteStockLevel> fetchCurrentStocks(const InventoryExportDocument& document) const;

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
};

} // namespace tallybrook
