#pragma once

#include "corrections/CommerceStockConnector.h"
#include "localization/WooRequestMode.h"
#include "woocommerce/WooCommerceAPIClient.h"
#include "woocommerce/WooRequestGate.h"

#include <QList>
#include <QString>
#include <optional>

namespace tallybrook {

/// One product–variation key whose stock is read: numeric identifiers only (the caller turns
/// non-numeric ones into issues). With a variation id the variation route is read, else the
/// product route.
struct WooStockKey {
    qint64 productId = 0;
    std::optional<qint64> variationId;

    bool operator==(const WooStockKey&) const = default;
};

/// What reading one key found, as the reload reports it and as the check before a write
/// compares it: the quantity the correction road uses, who manages it, and the issue when
/// there is no usable quantity.
struct WooStockRead {
    std::optional<qint64> quantity;
    std::optional<bool> stockManaged;
    bool stockManagedByParent = false;
    /// Whether the level carries the row's variation id (the variation route, or a failed
    /// product read); a product read answers for the product alone.
    bool keepsRowVariant = true;
    std::optional<QString> issue;
};

/// Reads the stock of many keys in one of the two request modes, through the gate of the run
/// it belongs to; both modes give the same reads for the same shop.
///
/// One by one: per key, the variation or the product; a variation without a quantity of its
/// own is answered by its parent product (read again for every such variation). In batches:
/// `include=` reads of up to 100 products, or up to 100 variations of one parent, then the
/// parents of variations without a quantity the same way; an id missing from such an answer
/// (unknown, a variation on the product route) and every id of a failed batch read is read
/// again on its own, so it gets exactly the issue a single read gives. Blocking; not
/// thread-safe (the gate is the run's).
class WooStockReader {
public:
    WooStockReader(const WooCommerceAPIClient& client, WooRequestGate& gate, WooRequestMode mode);

    /// Reads `keys` (distinct). Before each request the observer is asked whether to stop;
    /// after each it hears (keys finished, keys.size()). Entry i is none when a stop came
    /// before key i was finished.
    QList<std::optional<WooStockRead>> read(const QList<WooStockKey>& keys, const WorkObserver& observer = {});

private:
    const WooCommerceAPIClient& client_;
    WooRequestGate& gate_;
    WooRequestMode mode_;
};

} // namespace tallybrook
