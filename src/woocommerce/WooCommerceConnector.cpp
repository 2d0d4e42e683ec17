#include "woocommerce/WooCommerceConnector.h"

#include "woocommerce/QtHttpTransport.h"
#include "woocommerce/WooStockSender.h"

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
                                           std::shared_ptr<HttpTransport> transport, Clock clock,
                                           WooRequestMode mode)
    : transport_(transport ? std::move(transport) : std::make_shared<QtHttpTransport>())
    , updateService_(WooCommerceAPIClient(std::move(storeURL), std::move(consumerKey),
                                          std::move(consumerSecret), transport_),
                     std::move(clock), mode) {}

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
    return WooStockSender(updateService_.client(), updateService_.mode(), [this] { return updateService_.now(); })
        .send(previews, observer);
}

} // namespace tallybrook
