#pragma once

#include "corrections/WooCorrectionBuilder.h"

namespace tallybrook {

/// Compares a document with freshly read stock levels; the control store keeps one for its
/// lifetime. Holds only its builder, so it is as thread-safe as the builder.
class WooStockComparisonService {
public:
    explicit WooStockComparisonService(WooCorrectionBuilder builder = {})
        : builder_(builder) {}

    /// The builder's previews for `document` and `currentRemoteStocks`, unchanged.
    QList<WooCorrectionPreview> buildPreviews(const InventoryExportDocument& document,
                                              const QList<RemoteStockLevel>& currentRemoteStocks) const {
        return builder_.buildPreviews(document, currentRemoteStocks);
    }

    const WooCorrectionBuilder& builder() const { return builder_; }

private:
    WooCorrectionBuilder builder_;
};

} // namespace tallybrook
