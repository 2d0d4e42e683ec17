#pragma once

#include "core/Clock.h"
#include "corrections/CommerceStockConnector.h"
#include "woocommerce/HttpTransport.h"
#include "woocommerce/WooStockUpdateService.h"

#include <QString>
#include <QUrl>
#include <memory>

namespace tallybrook {

/// The WooCommerce connector of the correction workflow: reads stock for a document and sends
/// selected corrections, one request at a time, never failing as a whole. Built from the saved
/// credentials for each reload, send or connection test and dropped afterwards; its transport
/// keeps the connection to the shop alive for the length of each call, and closes it (in the
/// calling thread) when the call ends. Calls block: run them on a worker thread (the transport
/// waits for answers in that thread).
class WooCommerceConnector final : public CommerceStockConnector {
public:
    /// `transport` defaults to a new QtHttpTransport owned by this connector.
    WooCommerceConnector(QUrl storeURL, QString consumerKey, QString consumerSecret,
                         std::shared_ptr<HttpTransport> transport = nullptr, Clock clock = systemNow,
                         WooRequestMode mode = WooRequestMode::oneByOne);

    CommerceConnectorKind kind() const override { return CommerceConnectorKind::wooCommerce; }
    const WooStockUpdateService& updateService() const { return updateService_; }

    /// Throws the client's error when the shop refuses the credentials or cannot be reached.
    void validateCredentials() override;
    RemoteStockReloadReport fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                         const WorkObserver& observer = {}) override;
    /// Sends every preview given (the update runner picks them), one result line each, in order,
    /// each row checked against the shop right before it is written (see WooStockSender). A
    /// failure fails only its line, except a refusal of the credentials or a wrong address: the
    /// remaining previews then fail with the same message without a request. The observer hears
    /// (lines done, previews to send) after each request and may stop the run before the next.
    QList<WooUpdateResultLine> updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                                    const WorkObserver& observer = {}) override;

private:
    std::shared_ptr<HttpTransport> transport_;
    WooStockUpdateService updateService_;
};

} // namespace tallybrook
