#include "corrections/WooStockUpdateRunner.h"

#include "localization/AppText.h"

#include <utility>

namespace tallybrook {

WooStockUpdateRunner::WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector> connector, Clock clock)
    : connector_(std::move(connector))
    , clock_(clock ? std::move(clock) : Clock(systemNow)) {}

QList<WooUpdateResultLine>
WooStockUpdateRunner::updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                           const WorkObserver& observer) const {
    QList<WooCorrectionPreview> kept;
    for (const WooCorrectionPreview& preview : previews) {
        if (isSendable(preview)) {
            kept.append(preview);
        }
    }
    if (kept.isEmpty()) {
        return {};
    }
    if (connector_) {
        return connector_->updateSelectedStocks(kept, observer);
    }

    const QString notConfigured = AppText::localized(u"woo.notConfigured");
    QList<WooUpdateResultLine> lines;
    lines.reserve(kept.size());
    for (const WooCorrectionPreview& preview : std::as_const(kept)) {
        lines.append(makeResultLine(preview, false, std::nullopt, notConfigured, clock_()));
    }
    return lines;
}

} // namespace tallybrook
