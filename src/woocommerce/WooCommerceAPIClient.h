#pragma once

#include "woocommerce/HttpTransport.h"
#include "woocommerce/WooCommercePage.h"
#include "woocommerce/WooCommerceRecords.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <utility>

namespace tallybrook {

/// The WooCommerce REST v3 client of one shop: typed operations over one HTTP exchange each.
///
/// Requests go to `baseURL` + "/wp-json/wc/v3/..." (path components appended, so a saved URL
/// with or without a final "/" or with a sub-path works), authenticated with HTTP Basic from the
/// consumer key and secret (never put into the URL). Every operation is synchronous and throws:
/// WooCommerceAPIError (invalid URL, non-2xx status, empty 2xx body), TransportError (from the
/// transport, unchanged) or WooDecodingError (an answer that is not the expected JSON).
/// The client holds no mutable state; its transport serves one request at a time.
class WooCommerceAPIClient {
public:
    WooCommerceAPIClient(QUrl baseURL, QString consumerKey, QString consumerSecret,
                         std::shared_ptr<HttpTransport> transport);

    const QUrl& baseURL() const { return baseURL_; }

    /// Whether `url` can serve as a shop address: a valid absolute http or https URL with a host.
    static bool isUsableBaseURL(const QUrl& url);

    /// Reads one product page of one item; succeeds when the shop accepts the credentials.
    void validateCredentials() const;
    WooCommercePage<WooCommerceProductDTO>
    fetchProductsPage(qint64 page, qint64 perPage,
                      std::optional<QDateTime> modifiedAfter = std::nullopt) const;
    WooCommerceProductDTO fetchProduct(qint64 id) const;
    WooCommercePage<WooCommerceVariationDTO> fetchVariationsPage(qint64 productID, qint64 page,
                                                                 qint64 perPage) const;
    WooCommerceVariationDTO fetchVariation(qint64 productID, qint64 variationID) const;
    /// Sets the stock (a negative quantity is sent as 0) and switches stock management on;
    /// returns the record as the shop answers after the update.
    WooCommerceProductDTO updateProduct(qint64 productID, qint64 quantity) const;
    WooCommerceVariationDTO updateVariation(qint64 productID, qint64 variationID, qint64 quantity) const;

    using QueryItems = QList<std::pair<QString, QString>>;

    /// The request URL for `pathComponents` below the API root, with the query items in order;
    /// throws WooCommerceAPIError::invalidURL when the base URL is not an absolute http(s) URL.
    QUrl requestURL(const QStringList& pathComponents, const QueryItems& queryItems) const;

private:
    /// One exchange: builds the request, sends it, checks status and body; returns the answer.
    HttpResponse sendRequest(const QByteArray& method, const QStringList& pathComponents,
                             const QueryItems& queryItems, const std::optional<QJsonObject>& body) const;

    QUrl baseURL_;
    QString consumerKey_;
    QString consumerSecret_;
    std::shared_ptr<HttpTransport> transport_;
};

} // namespace tallybrook
