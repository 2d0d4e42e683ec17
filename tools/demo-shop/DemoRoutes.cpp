// The shop's routes: how a request is read, which route answers it, and the answer.

#include "DemoShopState.h"
#include "woocommerce/WooCommerceRecords.h"
#include "woocommerce/WooIntegerText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tallybrook {

namespace {

const QString apiRoot = QStringLiteral("/wp-json/wc/v3/");

std::optional<QString> parameter(const httplib::Request& request, const char* name) {
    if (!request.has_param(name)) {
        return std::nullopt;
    }
    return QString::fromStdString(request.get_param_value(name));
}

// A request parameter or JSON value that WordPress accepts as an integer.
std::optional<qint64> restInteger(const QJsonValue& value) {
    if (value.isDouble()) {
        return wooJsonInteger(value);
    }
    if (value.isString()) {
        return parseWooInteger(QStringView(value.toString()));
    }
    return std::nullopt;
}

std::optional<bool> restBoolean(const QJsonValue& value) {
    if (value.isBool()) {
        return value.toBool();
    }
    const QString text = value.isString() ? value.toString().toLower() : QString();
    if (text == u"true" || text == u"1" || (value.isDouble() && value.toDouble() == 1.0)) {
        return true;
    }
    if (text == u"false" || text == u"0" || (value.isDouble() && value.toDouble() == 0.0)) {
        return false;
    }
    return std::nullopt;
}

qint64 truncated(double value) {
    // 2^63 is exactly representable; every double below it converts without overflow.
    constexpr double limit = 9223372036854775808.0;
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= limit) {
        return std::numeric_limits<qint64>::max();
    }
    if (value < -limit) {
        return std::numeric_limits<qint64>::min();
    }
    return qint64(value);
}

// PHP's (int) cast, which batch items go through instead of the schema's type checks:
// "8" is 8, "12abc" is 12, "abc" is 0, 2.9 is 2, true is 1.
qint64 phpInteger(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? 1 : 0;
    case QJsonValue::Double:
        return truncated(value.toDouble());
    case QJsonValue::String: {
        static const QRegularExpression leadingNumber(
            QStringLiteral(R"(^\s*([+-]?(?:\d+(?:\.\d*)?|\.\d+)(?:[eE][+-]?\d+)?))"));
        const QRegularExpressionMatch match = leadingNumber.match(value.toString());
        if (!match.hasMatch()) {
            return 0;
        }
        const QString number = match.captured(1);
        if (const auto integer = parseWooInteger(QStringView(number))) {
            return *integer;
        }
        return truncated(number.toDouble());
    }
    case QJsonValue::Array:
        return value.toArray().isEmpty() ? 0 : 1;
    case QJsonValue::Object:
        return 1;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return 0;
}

// wc_string_to_bool(), which batch items go through: anything but true, 1, "1", "yes" and
// "true" switches off.
bool wooBoolean(const QJsonValue& value) {
    if (value.isBool()) {
        return value.toBool();
    }
    if (value.isDouble()) {
        return value.toDouble() == 1.0;
    }
    const QString text = value.toString().toLower();
    return text == u"yes" || text == u"true" || text == u"1";
}

bool present(const QJsonValue& value) {
    return !value.isUndefined() && !value.isNull();
}

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The top-level fields "_fields" asks for; none when the request does not narrow its answer.
std::optional<QSet<QString>> fieldsOf(const httplib::Request& request) {
    const std::optional<QString> text = parameter(request, "_fields");
    if (!text) {
        return std::nullopt;
    }
    QSet<QString> fields;
    for (const QString& field : text->split(u',', Qt::SkipEmptyParts)) {
        // "a.b" keeps the whole of "a": only top-level fields are cut.
        fields.insert(field.trimmed().section(u'.', 0, 0));
    }
    fields.remove(QString());
    return fields.isEmpty() ? std::nullopt : std::optional(fields);
}

QJsonObject keepFields(QJsonObject object, const std::optional<QSet<QString>>& fields) {
    if (fields) {
        for (auto it = object.begin(); it != object.end();) {
            it = fields->contains(it.key()) ? std::next(it) : object.erase(it);
        }
    }
    return object;
}

DemoAnswer invalidJson() {
    return wpError(400, QStringLiteral("rest_invalid_json"), QStringLiteral("Invalid JSON body passed."));
}

std::optional<QJsonObject> jsonBody(const httplib::Request& request) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(request.body), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    return document.object();
}

// What a batch item asks, read the way batch items are: without the schema's type checks.
DemoStockWrite batchChange(const QJsonObject& item, bool variation) {
    DemoStockWrite change;
    const QJsonValue manageStock = item.value(QLatin1StringView("manage_stock"));
    if (present(manageStock)) {
        if (variation && manageStock.toString() == u"parent") {
            change.management = DemoStockManagement::parent;
        } else {
            change.management =
                wooBoolean(manageStock) ? DemoStockManagement::managed : DemoStockManagement::notManaged;
        }
    }
    const QJsonValue quantity = item.value(QLatin1StringView("stock_quantity"));
    if (present(quantity)) {
        change.quantity = phpInteger(quantity);
    }
    return change;
}

// A failed batch item: its "id" as sent (null when it sent none) and the error.
QJsonObject failedItem(const QJsonObject& item, const QJsonObject& error) {
    const QJsonValue id = item.value(QLatin1StringView("id"));
    return QJsonObject{{QStringLiteral("id"), id.isUndefined() ? QJsonValue(QJsonValue::Null) : id},
                       {QStringLiteral("error"), error}};
}

} // namespace

std::optional<DemoAnswer> DemoShop::State::refuseCredentials(const httplib::Request& request, bool listing,
                                                             bool write) const {
    QString key;
    QString secret;
    const std::string header = request.get_header_value("Authorization");
    if (header.rfind("Basic ", 0) == 0) {
        const QByteArray decoded = QByteArray::fromBase64(QByteArray::fromStdString(header.substr(6)));
        const qsizetype colon = decoded.indexOf(':');
        if (colon >= 0) {
            key = QString::fromUtf8(decoded.left(colon));
            secret = QString::fromUtf8(decoded.mid(colon + 1));
        }
    }
    if (!key.isEmpty() && key == options.consumerKey) {
        if (secret == options.consumerSecret) {
            const bool allowed = write ? options.keyPermissions != DemoKeyPermissions::read
                                       : options.keyPermissions != DemoKeyPermissions::write;
            if (allowed) {
                return std::nullopt;
            }
            return wpError(401, QStringLiteral("woocommerce_rest_authentication_error"),
                           write ? QStringLiteral("The API key provided does not have write permissions.")
                                 : QStringLiteral("The API key provided does not have read permissions."));
        }
        // WooCommerce challenges a Basic login whose secret it refused (and only that one), so
        // clients meet the challenge handling of their HTTP stack here as with a real shop.
        DemoAnswer refusal = wpError(401, QStringLiteral("woocommerce_rest_authentication_error"),
                                     QStringLiteral("Consumer secret is invalid."));
        refusal.headers.append(std::pair<std::string, std::string>(
            "WWW-Authenticate", "Basic realm=\"WooCommerce API. Use a consumer key in the username field and "
                                "a consumer secret in the password field.\""));
        return refusal;
    }
    if (write) {
        return wpError(401, QStringLiteral("woocommerce_rest_cannot_edit"),
                       QStringLiteral("Sorry, you are not allowed to edit this resource."));
    }
    return wpError(401, QStringLiteral("woocommerce_rest_cannot_view"),
                   listing ? QStringLiteral("Sorry, you cannot list resources.")
                           : QStringLiteral("Sorry, you cannot view this resource."));
}

DemoAnswer DemoShop::State::listing(const httplib::Request& request, QList<DemoListedItem> items) {
    qint64 perPage = 10;
    if (const auto text = parameter(request, "per_page")) {
        const auto value = parseWooInteger(QStringView(*text));
        if (!value) {
            return invalidParameter(QStringLiteral("per_page"),
                                    QStringLiteral("per_page is not of type integer."));
        }
        if (*value < 1 || *value > 100) {
            return invalidParameter(
                QStringLiteral("per_page"),
                QStringLiteral("per_page must be between 1 (inclusive) and 100 (inclusive)"));
        }
        perPage = *value;
    }
    qint64 page = 1;
    if (const auto text = parameter(request, "page")) {
        const auto value = parseWooInteger(QStringView(*text));
        if (!value) {
            return invalidParameter(QStringLiteral("page"), QStringLiteral("page is not of type integer."));
        }
        if (*value < 1) {
            return invalidParameter(QStringLiteral("page"),
                                    QStringLiteral("page must be greater than or equal to 1"));
        }
        page = *value;
    }
    // An empty "include" restricts nothing, as in WordPress.
    QList<qint64> include;
    if (const auto text = parameter(request, "include")) {
        const QStringList ids = text->split(u',', Qt::SkipEmptyParts);
        for (qsizetype index = 0; index < ids.size(); ++index) {
            const auto id = parseWooInteger(QStringView(ids.at(index)).trimmed());
            if (!id) {
                return invalidParameter(QStringLiteral("include"),
                                        QStringLiteral("include[") + QString::number(index) +
                                            QStringLiteral("] is not of type integer."));
            }
            include.append(*id);
        }
    }
    if (const auto text = parameter(request, "modified_after")) {
        QDateTime after = QDateTime::fromString(*text, Qt::ISODate);
        if (!after.isValid()) {
            return invalidParameter(QStringLiteral("modified_after"), QStringLiteral("Invalid date."));
        }
        if (after.timeSpec() == Qt::LocalTime) {
            after.setTimeSpec(Qt::UTC); // the demo site's time zone
        }
        items.removeIf([&after](const DemoListedItem& item) { return item.modifiedAt() <= after; });
    }
    const QString orderBy = parameter(request, "orderby").value_or(QStringLiteral("date"));
    const QString order = parameter(request, "order").value_or(QStringLiteral("desc"));
    if (orderBy != u"date" && orderBy != u"id" && orderBy != u"modified" && orderBy != u"include") {
        return invalidParameter(QStringLiteral("orderby"),
                                QStringLiteral("orderby is not one of date, id, include, modified."));
    }
    if (order != u"asc" && order != u"desc") {
        return invalidParameter(QStringLiteral("order"), QStringLiteral("order is not one of asc, desc."));
    }
    // Ids this route does not hold are left out without a word: the caller compares.
    if (!include.isEmpty()) {
        const QSet<qint64> wanted(include.cbegin(), include.cend());
        items.removeIf([&wanted](const DemoListedItem& item) { return !wanted.contains(item.id()); });
    }
    const auto byId = [](const DemoListedItem& left, const DemoListedItem& right) {
        return left.id() < right.id();
    };
    if (orderBy == u"include" && !include.isEmpty()) {
        QHash<qint64, qsizetype> position;
        for (qsizetype index = include.size() - 1; index >= 0; --index) {
            position.insert(include.at(index), index); // the first mention counts
        }
        std::stable_sort(items.begin(), items.end(), [&position](const auto& left, const auto& right) {
            return position.value(left.id()) < position.value(right.id());
        });
    } else {
        if (orderBy == u"modified") {
            std::stable_sort(items.begin(), items.end(), [](const auto& left, const auto& right) {
                return left.modifiedAt() < right.modifiedAt();
            });
        } else if (orderBy == u"id" || !include.isEmpty()) {
            // Ids are handed out in creation order, so they tell the newest among chosen items;
            // a plain listing keeps catalogue order for creation order.
            std::stable_sort(items.begin(), items.end(), byId);
        }
        if (order == u"desc") {
            std::reverse(items.begin(), items.end());
        }
    }

    const std::optional<QSet<QString>> fields = fieldsOf(request);
    const QString siteUrl = url().toString();
    const qint64 total = items.size();
    const qint64 totalPages = (total + perPage - 1) / perPage;
    QJsonArray pageItems;
    if (page <= totalPages) {
        const qint64 first = (page - 1) * perPage;
        for (qint64 index = first; index < std::min(total, first + perPage); ++index) {
            pageItems.append(keepFields(stock.json(items.at(index), siteUrl), fields));
        }
    }
    DemoAnswer answer = jsonAnswer(200, pageItems);
    answer.headers.append(std::pair<std::string, std::string>("X-WP-Total", std::to_string(total)));
    answer.headers.append(std::pair<std::string, std::string>("X-WP-TotalPages", std::to_string(totalPages)));
    return answer;
}

DemoAnswer DemoShop::State::update(const httplib::Request& request, qint64 productId,
                                   std::optional<qint64> variationId) {
    const std::optional<QJsonObject> body = jsonBody(request);
    if (!body) {
        return invalidJson();
    }
    DemoStockWrite change;
    if (body->contains(QLatin1StringView("manage_stock"))) {
        const std::optional<bool> manageStock = restBoolean(body->value(QLatin1StringView("manage_stock")));
        if (!manageStock) {
            return invalidParameter(QStringLiteral("manage_stock"),
                                    QStringLiteral("manage_stock is not of type boolean."));
        }
        change.management = *manageStock ? DemoStockManagement::managed : DemoStockManagement::notManaged;
    }
    if (body->contains(QLatin1StringView("stock_quantity"))) {
        change.quantity = restInteger(body->value(QLatin1StringView("stock_quantity")));
        if (!change.quantity) {
            return invalidParameter(QStringLiteral("stock_quantity"),
                                    QStringLiteral("stock_quantity is not of type integer."));
        }
    }
    const std::optional<QSet<QString>> fields = fieldsOf(request);
    const QDateTime now = QDateTime::currentDateTimeUtc();

    std::lock_guard lock(catalogMutex);
    DemoProduct* parent = stock.product(productId);
    if (!variationId) {
        if (!parent && stock.parentOf(productId)) {
            return jsonAnswer(404, variationOnProductRouteObject());
        }
        if (!parent) {
            return invalidId(400, false);
        }
        stock.write(*parent, change, now);
        return jsonAnswer(200, keepFields(stock.productJson(*parent, url().toString()), fields));
    }
    const std::optional<qint64> owner = stock.parentOf(*variationId);
    if (!owner) {
        return invalidId(400, true);
    }
    DemoVariation* variation = stock.variation(productId, *variationId);
    if (!parent || !variation) {
        return invalidId(404, true);
    }
    stock.write(*parent, *variation, change, now);
    return jsonAnswer(200, keepFields(stock.variationJson(*parent, *variation), fields));
}

DemoAnswer DemoShop::State::batch(const httplib::Request& request, std::optional<qint64> parentId) {
    const std::optional<QJsonObject> body = jsonBody(request);
    if (!body) {
        return invalidJson();
    }
    for (const QString& action : {QStringLiteral("create"), QStringLiteral("delete")}) {
        if (present(body->value(action))) {
            return invalidParameter(action, QStringLiteral("The demo shop only updates items in a batch."));
        }
    }
    const QJsonValue updates = body->value(QLatin1StringView("update"));
    if (present(updates) && !updates.isArray()) {
        return invalidParameter(QStringLiteral("update"), QStringLiteral("update is not of type array."));
    }
    const QJsonArray items = updates.toArray();
    const int limit = batchLimit.load();
    if (items.size() > limit) {
        return wpError(413, QStringLiteral("woocommerce_rest_request_entity_too_large"),
                       QStringLiteral("Unable to accept more than %1 items for this request.").arg(limit));
    }
    for (qsizetype index = 0; index < items.size(); ++index) {
        if (!items.at(index).isObject()) {
            return invalidParameter(QStringLiteral("update"), QStringLiteral("update[") +
                                                                  QString::number(index) +
                                                                  QStringLiteral("] is not of type object."));
        }
    }
    if (!present(updates)) {
        return jsonAnswer(200, QJsonArray()); // WooCommerce's empty PHP array
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString siteUrl = url().toString();

    // Each item stands alone: a failed one takes an error entry in its place and the others
    // are written all the same, with no rollback.
    QJsonArray entries;
    std::lock_guard lock(catalogMutex);
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const qint64 id = phpInteger(item.value(QLatin1StringView("id")));
        if (!parentId) {
            DemoProduct* product = stock.product(id);
            if (!product) {
                entries.append(failedItem(item, stock.parentOf(id) ? variationOnProductRouteObject()
                                                                   : invalidIdObject(400, false)));
                continue;
            }
            stock.write(*product, batchChange(item, false), now);
            entries.append(stock.productJson(*product, siteUrl));
            continue;
        }
        DemoProduct* parent = stock.product(*parentId);
        DemoVariation* variation = parent ? stock.variation(*parentId, id) : nullptr;
        if (!variation) {
            entries.append(failedItem(item, invalidIdObject(404, true)));
            continue;
        }
        stock.write(*parent, *variation, batchChange(item, true), now);
        entries.append(stock.variationJson(*parent, *variation));
    }
    // "_fields" cuts the answer object down to nothing of its items: they are written all the same.
    return jsonAnswer(200,
                      QJsonObject{{QStringLiteral("update"), fieldsOf(request) ? QJsonArray() : entries}});
}

DemoAnswer DemoShop::State::sellRoute(const httplib::Request& request) {
    if (request.method != "POST") {
        return noRoute();
    }
    const std::optional<QJsonObject> body = jsonBody(request);
    if (!body) {
        return invalidJson();
    }
    const std::optional<qint64> id = restInteger(body->value(QLatin1StringView("id")));
    const std::optional<qint64> quantity = restInteger(body->value(QLatin1StringView("quantity")));
    if (!id) {
        return invalidParameter(QStringLiteral("id"), QStringLiteral("id is not of type integer."));
    }
    if (!quantity || *quantity < 1) {
        return invalidParameter(QStringLiteral("quantity"),
                                QStringLiteral("quantity must be an integer greater than or equal to 1"));
    }
    std::lock_guard lock(catalogMutex);
    const DemoSale sale = stock.sell(*id, *quantity, QDateTime::currentDateTimeUtc());
    if (!sale.found) {
        return invalidId(404, false);
    }
    return jsonAnswer(200,
                      QJsonObject{{QStringLiteral("id"), *id},
                                  {QStringLiteral("stock_quantity"),
                                   sale.stock ? QJsonValue(*sale.stock) : QJsonValue(QJsonValue::Null)}});
}

DemoAnswer DemoShop::State::respond(const httplib::Request& request, const QString& path) {
    QString site = options.sitePath;
    while (site.endsWith(u'/')) {
        site.chop(1);
    }
    if (!site.isEmpty() && !site.startsWith(u'/')) {
        site.prepend(u'/');
    }
    if (!path.startsWith(site + QStringLiteral("/wp-json/"))) {
        return notFoundPage();
    }
    if (!path.startsWith(site + apiRoot)) {
        return noRoute();
    }
    QString rest = path.mid(site.size() + apiRoot.size());
    if (rest.endsWith(u'/')) {
        rest.chop(1);
    }
    const QStringList parts = rest.split(u'/');
    const bool isGet = request.method == "GET" || request.method == "HEAD";
    const bool isPut = request.method == "PUT" || request.method == "PATCH" || request.method == "POST";
    // An id too large for any shop is simply unknown.
    const auto idAt = [&parts](qsizetype index) {
        return parseWooInteger(QStringView(parts.at(index))).value_or(-1);
    };

    const bool isBatch =
        parts.first() == u"products" && parts.last() == u"batch" &&
        (parts.size() == 2 || (parts.size() == 4 && allDigits(parts.at(1)) && parts.at(2) == u"variations"));
    if (isBatch) {
        if (!isPut) {
            return noRoute();
        }
        // Refused keys come before any item is looked at.
        if (auto refusal = refuseCredentials(request, false, true)) {
            return *refusal;
        }
        return batch(request, parts.size() == 4 ? std::optional<qint64>(idAt(1)) : std::nullopt);
    }

    if (parts.first() != u"products" || parts.size() > 4 ||
        (parts.size() >= 3 && parts.at(2) != u"variations") ||
        (parts.size() >= 2 && !allDigits(parts.at(1))) || (parts.size() == 4 && !allDigits(parts.at(3))) ||
        !(isGet || (isPut && parts.size() % 2 == 0))) {
        return noRoute();
    }
    const bool isListing = parts.size() % 2 == 1;
    if (auto refusal = refuseCredentials(request, isListing, isPut)) {
        return *refusal;
    }
    const qint64 productId = parts.size() >= 2 ? idAt(1) : 0;
    const std::optional<qint64> variationId =
        parts.size() == 4 ? std::optional<qint64>(idAt(3)) : std::nullopt;
    if (isPut) {
        return update(request, productId, variationId);
    }

    const std::optional<QSet<QString>> fields = fieldsOf(request);
    std::lock_guard lock(catalogMutex);
    if (parts.size() == 1) {
        return listing(request, stock.products());
    }
    DemoProduct* parent = stock.product(productId);
    if (parts.size() == 2) {
        if (parent) {
            return jsonAnswer(200, keepFields(stock.productJson(*parent, url().toString()), fields));
        }
        // A variation's id on the product route is answered as a product of type "variation".
        if (const auto owner = stock.parentOf(productId)) {
            if (DemoVariation* variation = stock.variation(*owner, productId)) {
                return jsonAnswer(
                    200,
                    keepFields(stock.variationAsProductJson(*stock.product(*owner), *variation), fields));
            }
        }
        return invalidId(404, false);
    }
    if (parts.size() == 3) {
        if (!parent) {
            return invalidId(404, false);
        }
        return listing(request, stock.variations(*parent));
    }
    DemoVariation* variation = stock.variation(productId, *variationId);
    if (!parent || !variation) {
        return invalidId(404, true);
    }
    return jsonAnswer(200, keepFields(stock.variationJson(*parent, *variation), fields));
}

} // namespace tallybrook
