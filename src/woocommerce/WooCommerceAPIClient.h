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

    /// The most items WooCommerce takes in one `include=` read or one batch write by default.
    static constexpr qsizetype batchLimit = 100;

    /// Reads up to `batchLimit` products at once (`include=`, in the order of `ids`, only the
    /// fields the stock road reads). Ids the route does not hold (unknown ids, variations) are
    /// left out of the answer without an error: the caller compares.
    QList<WooCommerceProductDTO> fetchProducts(const QList<qint64>& ids) const;
    /// The same for up to `batchLimit` variations of one product.
    QList<WooCommerceVariationDTO> fetchVariations(qint64 productID, const QList<qint64>& ids) const;

    /// One item of a batch stock write.
    struct StockWrite {
        qint64 id = 0;
        qint64 quantity = 0; ///< sent as 0 when negative, like a single update
    };
    /// What the shop answered for one item of a batch write: the stock it now reports, or why
    /// the item failed (the shop's error object, or an entry that does not decode).
    struct StockWriteAnswer {
        std::optional<qint64> id;
        std::optional<qint64> stockQuantity;
        std::optional<QString> failure;
    };
    /// `POST products/batch` (no variation filter: a batch with `_fields` writes but answers
    /// nothing). Returns the answer's entries in order; the shop answers 200 even when items
    /// fail, each failed item carrying its error in its place. Throws like every request when
    /// the whole batch is refused (credentials, 413 over the shop's item limit: nothing written).
    QList<StockWriteAnswer> updateProducts(const QList<StockWrite>& writes) const;
    /// The same on `products/<productID>/variations/batch`.
    QList<StockWriteAnswer> updateVariations(qint64 productID, const QList<StockWrite>& writes) const;

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
