#include "woocommerce/WooCommerceAPIClient.h"

#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooDecodingError.h"
#include "woocommerce/WooIntegerText.h"

#include <QJsonArray>

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

// Every field the stock road reads, and nothing else: a full product is about 2 KB.
const QString stockFields = QStringLiteral("id,type,parent_id,manage_stock,stock_quantity,stock_status,date_modified_gmt");

WooCommerceAPIClient::QueryItems includeQuery(const QList<qint64>& ids) {
    QStringList texts;
    texts.reserve(ids.size());
    for (const qint64 id : ids) {
        texts.append(QString::number(id));
    }
    return {{QStringLiteral("include"), texts.join(u',')},
            {QStringLiteral("per_page"), number(WooCommerceAPIClient::batchLimit)},
            {QStringLiteral("orderby"), QStringLiteral("include")},
            {QStringLiteral("_fields"), stockFields}};
}

QJsonObject stockBody(qint64 quantity) {
    return QJsonObject{{QStringLiteral("manage_stock"), true},
                       {QStringLiteral("stock_quantity"), std::max<qint64>(quantity, 0)}};
}

QJsonObject batchBody(const QList<WooCommerceAPIClient::StockWrite>& writes) {
    QJsonArray items;
    for (const auto& write : writes) {
        QJsonObject item = stockBody(write.quantity);
        item.insert(QStringLiteral("id"), write.id);
        items.append(item);
    }
    return QJsonObject{{QStringLiteral("update"), items}};
}

// The entries of a batch answer, each a record of type Record or an error object in its place.
template <typename Record>
QList<WooCommerceAPIClient::StockWriteAnswer> batchAnswers(const QByteArray& body, bool plainHttpStore) {
    const QJsonDocument document = QJsonDocument::fromJson(body);
    const QJsonValue update = document.object().value(QLatin1StringView("update"));
    if (!document.isObject() || !update.isArray()) {
        throw WooDecodingError(QStringLiteral("update: expected a list"), !document.isObject());
    }
    QList<WooCommerceAPIClient::StockWriteAnswer> answers;
    const QJsonArray entries = update.toArray();
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const QJsonObject entry = entries.at(index).toObject();
        WooCommerceAPIClient::StockWriteAnswer answer;
        answer.id = wooJsonInteger(entry.value(QLatin1StringView("id")));
        const QJsonValue error = entry.value(QLatin1StringView("error"));
        if (error.isObject()) {
            // Worded like the same refusal of a single update: status and the shop's JSON.
            const int status =
                int(wooJsonInteger(error.toObject().value(QLatin1StringView("data")).toObject().value(
                                       QLatin1StringView("status")))
                        .value_or(400));
            const QString text = QString::fromUtf8(QJsonDocument(error.toObject()).toJson(QJsonDocument::Compact));
            answer.failure = WooCommerceAPIError::httpStatus(status, text, plainHttpStore).localizedDescription();
        } else {
            try {
                answer.stockQuantity =
                    Record::fromJson(entries.at(index), QStringLiteral("update[%1]").arg(index)).stockQuantity;
            } catch (const WooDecodingError& decoding) {
                answer.failure = decoding.localizedDescription();
            }
        }
        answers.append(std::move(answer));
    }
    return answers;
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

QList<WooCommerceProductDTO> WooCommerceAPIClient::fetchProducts(const QList<qint64>& ids) const {
    return WooCommerceProductDTO::decodeList(
        sendRequest("GET", {QStringLiteral("products")}, includeQuery(ids), std::nullopt).body);
}

QList<WooCommerceVariationDTO> WooCommerceAPIClient::fetchVariations(qint64 productID,
                                                                     const QList<qint64>& ids) const {
    return WooCommerceVariationDTO::decodeList(
        sendRequest("GET", {QStringLiteral("products"), number(productID), QStringLiteral("variations")},
                    includeQuery(ids), std::nullopt)
            .body);
}

QList<WooCommerceAPIClient::StockWriteAnswer>
WooCommerceAPIClient::updateProducts(const QList<StockWrite>& writes) const {
    const HttpResponse response = sendRequest("POST", {QStringLiteral("products"), QStringLiteral("batch")}, {},
                                              batchBody(writes));
    return batchAnswers<WooCommerceProductDTO>(response.body, baseURL_.scheme() == u"http");
}

QList<WooCommerceAPIClient::StockWriteAnswer>
WooCommerceAPIClient::updateVariations(qint64 productID, const QList<StockWrite>& writes) const {
    const HttpResponse response =
        sendRequest("POST",
                    {QStringLiteral("products"), number(productID), QStringLiteral("variations"),
                     QStringLiteral("batch")},
                    {}, batchBody(writes));
    return batchAnswers<WooCommerceVariationDTO>(response.body, baseURL_.scheme() == u"http");
}

} // namespace tallybrook
