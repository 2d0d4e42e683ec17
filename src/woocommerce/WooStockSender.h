#pragma once

#include "core/Clock.h"
#include "corrections/CommerceStockConnector.h"
#include "corrections/CorrectionRecords.h"
#include "localization/WooRequestMode.h"
#include "woocommerce/WooCommerceAPIClient.h"

#include <QList>

namespace tallybrook {

/// Sends stock corrections to the shop in one of the two request modes, with the same lines
/// for the same shop either way.
///
/// Every row is checked right before it is written: its quantity is read again (one by one:
/// a GET before its PUT; in batches: one `include=` read of the batch's rows before the batch
/// write) and a row whose quantity moved since the reload that built its preview is not
/// written: it gets a failed line asking for a reload, and the run goes on. The check narrows
/// the window in which a sale can be overwritten to the time between that read and the write
/// (a request's round trip, or one batch's); WooCommerce offers no conditional write that
/// would close it.
///
/// Batches hold up to 100 rows of one route (products, or one parent's variations), never the
/// same item twice, so a repeated item is checked after its first write as it would be one by
/// one. When the shop refuses a batch as too large (413), the batch is halved and sent again:
/// nothing of it was written. Blocking; one instance per run.
class WooStockSender {
public:
    WooStockSender(const WooCommerceAPIClient& client, WooRequestMode mode, Clock clock);

    /// One line per preview given, in order (the caller picks the previews to send). A stop
    /// ends the run before its next request; the lines made so far are returned. A refused key
    /// or a wrong address ends it too: the remaining rows fail with the same message without
    /// a request.
    QList<WooUpdateResultLine> send(const QList<WooCorrectionPreview>& previews, const WorkObserver& observer);

private:
    const WooCommerceAPIClient& client_;
    WooRequestMode mode_;
    Clock clock_;
};

} // namespace tallybrook
