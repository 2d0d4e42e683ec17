#include "woocommerce/WooCommerceConnector.h"

#include "localization/AppText.h"
#include "woocommerce/QtHttpTransport.h"
#include "woocommerce/WooRequestGate.h"

namespace tallybrook {

namespace {

// Closes the transport's connections when a call ends, however it ends, in the calling thread.
class ConnectionsClosedAtEnd {
public:
    explicit ConnectionsClosedAtEnd(HttpTransport& transport)
        : transport_(transport) {}
    ~ConnectionsClosedAtEnd() { transport_.closeConnections(); }
    ConnectionsClosedAtEnd(const ConnectionsClosedAtEnd&) = delete;
    ConnectionsClosedAtEnd& operator=(const ConnectionsClosedAtEnd&) = delete;

private:
    HttpTransport& transport_;
};

} // namespace

WooCommerceConnector::WooCommerceConnector(QUrl storeURL, QString consumerKey, QString consumerSecret,
                                           std::shared_ptr<HttpTransport> transport, Clock clock)
    : transport_(transport ? std::move(transport) : std::make_shared<QtHttpTransport>())
    , updateService_(WooCommerceAPIClient(std::move(storeURL), std::move(consumerKey),
                                          std::move(consumerSecret), transport_),
                     std::move(clock)) {}

void WooCommerceConnector::validateCredentials() {
    const ConnectionsClosedAtEnd closing(*transport_);
    updateService_.validateCredentials();
}

RemoteStockReloadReport
WooCommerceConnector::fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                   const WorkObserver& observer) {
    const ConnectionsClosedAtEnd closing(*transport_);
    return updateService_.fetchCurrentStocksWithReport(document, observer);
}

QList<WooUpdateResultLine>
WooCommerceConnector::updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                           const WorkObserver& observer) {
    const ConnectionsClosedAtEnd closing(*transport_);
    QList<const WooCorrectionPreview*> toSend;
    for (const WooCorrectionPreview& preview : previews) {
        if (isSendable(preview)) {
            toSend.append(&preview);
        }
    }

    WooRequestGate gate;
    QList<WooUpdateResultLine> lines;
    lines.reserve(toSend.size());
    const qint64 total = toSend.size();
    for (const WooCorrectionPreview* previewPointer : toSend) {
        if (observer.stopRequested()) {
            break;
        }
        const WooCorrectionPreview& preview = *previewPointer;
        bool success = false;
        std::optional<qint64> remoteQuantityAfterUpdate;
        QString message;
        if (!preview.externalProductId || !preview.proposedQuantity) {
            message = AppText::localized(u"wooUpdate.missingIdentifier");
        } else if (const auto failure = gate.failureOf([&] {
                       remoteQuantityAfterUpdate = updateService_.updateStock(
                           *preview.externalProductId, preview.externalVariantId, *preview.proposedQuantity);
                   })) {
            message = *failure;
        } else {
            success = true;
            if (!remoteQuantityAfterUpdate) {
                remoteQuantityAfterUpdate = preview.proposedQuantity;
            }
            message = AppText::localized(u"wooUpdate.updated");
        }
        lines.append(makeResultLine(preview, success, remoteQuantityAfterUpdate, std::move(message),
                                    updateService_.now()));
        observer.report(lines.size(), total);
    }
    return lines;
}

} // namespace tallybrook
