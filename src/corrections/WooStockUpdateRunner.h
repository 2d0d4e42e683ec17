#pragma once

#include "corrections/Clock.h"
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
    /// The text of every line when no connector is configured; fixed French whatever the
    /// interface language, so stored reports read the same on every machine.
    static const QString& notConfiguredMessage();

    explicit WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector> connector, Clock clock = systemNow);

    /// Keeps the previews that are selected and manually correctable, in list order, and has
    /// the connector send them. No such preview: an empty list, and the connector is not
    /// contacted. No connector: one failed line per kept preview, nothing sent.
    QList<WooUpdateResultLine> updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                                    const WorkObserver& observer = {}) const;

    const std::shared_ptr<CommerceStockConnector>& connector() const { return connector_; }

private:
    std::shared_ptr<CommerceStockConnector> connector_;
    Clock clock_;
};

} // namespace tallybrook
