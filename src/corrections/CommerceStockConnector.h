#pragma once

#include "corrections/CommerceConnectorKind.h"
#include "corrections/CorrectionRecords.h"

#include <functional>

namespace tallybrook {

struct InventoryExportDocument;

/// Follows a long run of requests: told (done, total) after each request, and asked before
/// each next request whether to stop. Both callbacks are optional and are called on the
/// thread that runs the work.
struct WorkObserver {
    std::function<void(qint64 done, qint64 total)> progress;
    std::function<bool()> shouldStop;

    void report(qint64 done, qint64 total) const {
        if (progress) {
            progress(done, total);
        }
    }
    bool stopRequested() const { return shouldStop && shouldStop(); }
};

/// What an online-store connector offers the correction workflow. Calls are synchronous and
/// blocking (one request in flight at a time); callers run them off the main thread.
/// Only `validateCredentials` throws (a LocalizedError); reads and sends never fail as a whole.
class CommerceStockConnector {
public:
    virtual ~CommerceStockConnector() = default;

    virtual CommerceConnectorKind kind() const = 0;
    virtual void validateCredentials() = 0;
    virtual RemoteStockReloadReport fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                                 const WorkObserver& observer = {}) = 0;
    /// Sends the previews given (the update runner keeps the selected, manually correctable
    /// ones); one result line per preview handled. A stop request ends the run before the next
    /// request; lines made so far are returned.
    virtual QList<WooUpdateResultLine> updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                                            const WorkObserver& observer = {}) = 0;
};

} // namespace tallybrook
