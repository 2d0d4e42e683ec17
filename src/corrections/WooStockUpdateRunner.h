#pragma once

#include "core/Clock.h"
#include "corrections/CommerceStockConnector.h"
#include "corrections/CorrectionRecords.h"

#include <QList>
#include <memory>

namespace tallybrook {

/// Sends the selected corrections of one send run through the shop connector.
///
/// Created per send run with the connector built from the saved credentials, or with none when
/// no usable credentials are saved; holds no other state. Blocking: runs on a worker thread
/// like the connector it drives. Never throws.
class WooStockUpdateRunner {
public:
    explicit WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector> connector, Clock clock = systemNow);

    /// Keeps the previews that are selected and manually correctable, in list order, and has
    /// the connector send them. No such preview: an empty list, and the connector is not
    /// contacted. No connector: one failed line per kept preview saying that the connection is not
    /// configured, nothing sent.
    QList<WooUpdateResultLine> updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                                    const WorkObserver& observer = {}) const;

    const std::shared_ptr<CommerceStockConnector>& connector() const { return connector_; }

private:
    std::shared_ptr<CommerceStockConnector> connector_;
    Clock clock_;
};

} // namespace tallybrook
