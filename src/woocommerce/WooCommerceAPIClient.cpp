#include "woocommerce/WooCommerceAPIClient.h"

#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooIntegerText.h"

#include <QJsonDocument>
#include <QStringDecoder>
#include <algorithm>

namespace tallybrook {

namespace {

const QStringList apiRoot{QStringLiteral("wp-json"), QStringLiteral("wc"), QStringLiteral("v3")};

QString number(qint64 value) {
    return QString::number(value);
}

QString percentEncoded(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, ":"));
}

// The status check's text of an answer: its body when it is valid UTF-8, else nothing.
QString bodyText(const QByteArray& body) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(body);
    return decoder.hasError() ? QString() : text;
}

std::optional<qint64> pageHeader(const HttpResponse& response, QByteArrayView name) {
    const auto value = response.header(name);
    return value ? parseWooInteger(QByteArrayView(*value)) : std::nullopt;
}

template <typename Item> WooCommercePage<Item> pageFrom(const HttpResponse& response) {
    WooCommercePage<Item> page;
    page.items = Item::decodeList(response.body);
    page.total = pageHeader(response, "X-WP-Total");
    page.totalPages = pageHeader(response, "X-WP-TotalPages");
    return page;
}

QJsonObject stockBody(qint64 quantity) {
    return QJsonObject{{QStringLiteral("manage_stock"), true},
                       {QStringLiteral("stock_quantity"), std::max<qint64>(quantity, 0)}};
}

} // namespace

WooCommerceAPIClient::WooCommerceAPIClient(QUrl baseURL, QString consumerKey, QString consumerSecret,
                                           std::shared_ptr<HttpTransport> transport)
    : baseURL_(std::move(baseURL))
    , consumerKey_(std::move(consumerKey))
    , consumerSecret_(std::move(consumerSecret))
    , transport_(std::move(transport)) {}

bool WooCommerceAPIClient::isUsableBaseURL(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.isRelative() && (scheme == u"http" || scheme == u"https") &&
           !url.host().isEmpty();
}

QUrl WooCommerceAPIClient::requestURL(const QStringList& pathComponents, const QueryItems& queryItems) const {
    if (!isUsableBaseURL(baseURL_)) {
        throw WooCommerceAPIError::invalidURL();
    }
    QUrl url = baseURL_;
    // Whatever else the saved address carries is dropped: credentials travel only in the
    // Authorization header, and the operation decides the query.
    url.setUserInfo(QString());
    url.setFragment(QString());
    url.setQuery(QString());

    QString path = url.path(QUrl::FullyEncoded);
    auto append = [&path](const QString& component) {
        if (!path.endsWith(u'/')) {
            path += u'/';
        }
        path += percentEncoded(component);
    };
    for (const QString& component : apiRoot) {
        append(component);
    }
    for (const QString& component : pathComponents) {
        append(component);
    }
    url.setPath(path, QUrl::TolerantMode);

    if (!queryItems.isEmpty()) {
        QString query;
        for (const auto& [name, value] : queryItems) {
            if (!query.isEmpty()) {
                query += u'&';
            }
            query += percentEncoded(name) + u'=' + percentEncoded(value);
        }
        url.setQuery(query, QUrl::TolerantMode);
    }
    if (!url.isValid()) {
        throw WooCommerceAPIError::invalidURL();
    }
    return url;
}

HttpResponse WooCommerceAPIClient::sendRequest(const QByteArray& method, const QStringList& pathComponents,
                                               const QueryItems& queryItems,
                                               const std::optional<QJsonObject>& body) const {
    HttpRequest request;
    request.method = method;
    request.url = requestURL(pathComponents, queryItems);
    request.headers.append({QByteArrayLiteral("Accept"), QByteArrayLiteral("application/json")});
    const QByteArray credentials = (consumerKey_ + u':' + consumerSecret_).toUtf8().toBase64();
    request.headers.append({QByteArrayLiteral("Authorization"), QByteArrayLiteral("Basic ") + credentials});
    if (body) {
        request.headers.append({QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/json")});
        request.body = QJsonDocument(*body).toJson(QJsonDocument::Compact);
    }

    HttpResponse response = transport_->send(request);
    if (response.statusCode < 100 || response.statusCode > 599) {
        throw WooCommerceAPIError::invalidResponse();
    }
    if (response.statusCode < 200 || response.statusCode > 299) {
        throw WooCommerceAPIError::httpStatus(response.statusCode, bodyText(response.body),
                                              request.url.scheme() == u"http");
    }
    if (response.body.isEmpty()) {
        throw WooCommerceAPIError::emptyResponse();
    }
    return response;
}

void WooCommerceAPIClient::validateCredentials() const {
    const HttpResponse response = sendRequest(
        "GET", {QStringLiteral("products")},
        {{QStringLiteral("per_page"), QStringLiteral("1")}, {QStringLiteral("page"), QStringLiteral("1")}},
        std::nullopt);
    WooCommerceProductDTO::decodeList(response.body);
}

WooCommercePage<WooCommerceProductDTO>
WooCommerceAPIClient::fetchProductsPage(qint64 page, qint64 perPage,
                                        std::optional<QDateTime> modifiedAfter) const {
    QueryItems query{{QStringLiteral("per_page"), number(perPage)},
                     {QStringLiteral("page"), number(page)},
                     {QStringLiteral("status"), QStringLiteral("any")}};
    if (modifiedAfter) {
        // Seconds precision in UTC with "Z"; "dates_are_gmt" makes the shop read it as UTC.
        QDateTime utc = modifiedAfter->toUTC();
        utc.setTime(QTime(utc.time().hour(), utc.time().minute(), utc.time().second()));
        query.append({QStringLiteral("modified_after"), utc.toString(Qt::ISODate)});
        query.append({QStringLiteral("dates_are_gmt"), QStringLiteral("true")});
        query.append({QStringLiteral("orderby"), QStringLiteral("modified")});
        query.append({QStringLiteral("order"), QStringLiteral("asc")});
    }
    return pageFrom<WooCommerceProductDTO>(
        sendRequest("GET", {QStringLiteral("products")}, query, std::nullopt));
}

WooCommerceProductDTO WooCommerceAPIClient::fetchProduct(qint64 id) const {
    return WooCommerceProductDTO::decode(
        sendRequest("GET", {QStringLiteral("products"), number(id)}, {}, std::nullopt).body);
}

WooCommercePage<WooCommerceVariationDTO>
WooCommerceAPIClient::fetchVariationsPage(qint64 productID, qint64 page, qint64 perPage) const {
    const QueryItems query{{QStringLiteral("per_page"), number(perPage)},
                           {QStringLiteral("page"), number(page)},
                           {QStringLiteral("status"), QStringLiteral("any")}};
    return pageFrom<WooCommerceVariationDTO>(
        sendRequest("GET", {QStringLiteral("products"), number(productID), QStringLiteral("variations")},
                    query, std::nullopt));
}

WooCommerceVariationDTO WooCommerceAPIClient::fetchVariation(qint64 productID, qint64 variationID) const {
    return WooCommerceVariationDTO::decode(sendRequest("GET",
                                                       {QStringLiteral("products"), number(productID),
                                                        QStringLiteral("variations"), number(variationID)},
                                                       {}, std::nullopt)
                                               .body);
}

WooCommerceProductDTO WooCommerceAPIClient::updateProduct(qint64 productID, qint64 quantity) const {
    return WooCommerceProductDTO::decode(
        sendRequest("PUT", {QStringLiteral("products"), number(productID)}, {}, stockBody(quantity)).body);
}

WooCommerceVariationDTO WooCommerceAPIClient::updateVariation(qint64 productID, qint64 variationID,
                                                              qint64 quantity) const {
    return WooCommerceVariationDTO::decode(sendRequest("PUT",
                                                       {QStringLiteral("products"), number(productID),
                                                        QStringLiteral("variations"), number(variationID)},
                                                       {}, stockBody(quantity))
                                               .body);
}

} // namespace tallybrook
