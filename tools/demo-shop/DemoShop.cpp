#include "DemoShop.h"

#include "woocommerce/WooCommerceRecords.h"
#include "woocommerce/WooIntegerText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace tallybrook {

namespace {

constexpr int keepAliveRequests = 100'000;
constexpr size_t maximumBodyBytes = 1024 * 1024;
const QString apiRoot = QStringLiteral("/wp-json/wc/v3/");

// Counts accepted TCP connections: the server hands each one to the queue exactly once.
class CountingTaskQueue final : public httplib::TaskQueue {
public:
    CountingTaskQueue(std::atomic<qint64>& counter, size_t threads)
        : counter_(counter)
        , pool_(threads) {}
    void enqueue(std::function<void()> task) override {
        ++counter_;
        pool_.enqueue(std::move(task));
    }
    void shutdown() override { pool_.shutdown(); }

private:
    std::atomic<qint64>& counter_;
    httplib::ThreadPool pool_;
};

/// A prepared answer.
struct Answer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = QByteArrayLiteral("application/json; charset=UTF-8");
    QList<std::pair<std::string, std::string>> headers;
};

Answer json(int status, const QJsonValue& value) {
    Answer answer;
    answer.status = status;
    answer.body = value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                                  : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return answer;
}

// WordPress's error shape: {"code", "message", "data": {"status", ...}}.
Answer wpError(int status, const QString& code, const QString& message, QJsonObject data = {}) {
    data.insert(QStringLiteral("status"), status);
    return json(status, QJsonObject{{QStringLiteral("code"), code},
                                    {QStringLiteral("message"), message},
                                    {QStringLiteral("data"), data}});
}

Answer invalidParameter(const QString& name, const QString& reason) {
    return wpError(400, QStringLiteral("rest_invalid_param"), QStringLiteral("Invalid parameter(s): ") + name,
                   QJsonObject{{QStringLiteral("params"), QJsonObject{{name, reason}}}});
}

Answer noRoute() {
    return wpError(404, QStringLiteral("rest_no_route"),
                   QStringLiteral("No route was found matching the URL and request method."));
}

// WordPress's themed "page not found" for a path outside the site: a full page with the
// theme's inline styles, some 60 KB like a real one, served as HTML with status 404.
Answer notFoundPage() {
    static const QByteArray page = [] {
        QByteArray html =
            QByteArrayLiteral("<!DOCTYPE html>\n<html lang=\"fr-FR\">\n<head>\n<meta charset=\"UTF-8\">\n"
                              "<title>Page non trouv\xc3\xa9"
                              "e &#8211; Boutique</title>\n<style id=\"global-styles-inline-css\">\n");
        for (int rule = 0; html.size() < 60'000; ++rule) {
            html += ".wp-block-theme-rule-" + QByteArray::number(rule) +
                    " { margin-block-start: var(--wp--preset--spacing--40); color: "
                    "var(--wp--preset--color--contrast); }\n";
        }
        html +=
            "</style>\n</head>\n<body class=\"error404\">\n<main><h1>Oups ! Cette page est introuvable.</h1>"
            "</main>\n</body>\n</html>\n";
        return html;
    }();
    Answer answer;
    answer.status = 404;
    answer.body = page;
    answer.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
    return answer;
}

Answer invalidId(int status, bool variation) {
    return wpError(status,
                   variation ? QStringLiteral("woocommerce_rest_product_variation_invalid_id")
                             : QStringLiteral("woocommerce_rest_product_invalid_id"),
                   QStringLiteral("Invalid ID."));
}

// WooCommerce writes site-local dates without a zone; the demo site's zone is UTC.
QString wooDate(const QDateTime& utc) {
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QString stockStatus(const std::optional<qint64>& quantity) {
    return quantity && *quantity > 0 ? QStringLiteral("instock") : QStringLiteral("outofstock");
}

QJsonValue quantityValue(const std::optional<qint64>& quantity) {
    return quantity ? QJsonValue(*quantity) : QJsonValue(QJsonValue::Null);
}

std::optional<qint64> productStock(const DemoProduct& product) {
    return product.management == DemoStockManagement::managed ? product.stockQuantity : std::nullopt;
}

// WooCommerce reads a variation's stock from its parent ("parent") only while the parent
// product keeps stock; otherwise the variation simply keeps none.
DemoStockManagement effectiveManagement(const DemoProduct& parent, const DemoVariation& variation) {
    if (variation.management == DemoStockManagement::parent &&
        parent.management != DemoStockManagement::managed) {
        return DemoStockManagement::notManaged;
    }
    return variation.management;
}

std::optional<qint64> variationStock(const DemoProduct& parent, const DemoVariation& variation) {
    switch (effectiveManagement(parent, variation)) {
    case DemoStockManagement::managed:
        return variation.stockQuantity;
    case DemoStockManagement::parent:
        return productStock(parent);
    case DemoStockManagement::notManaged:
        return std::nullopt;
    }
    return std::nullopt;
}

QString slugOf(const QString& text) {
    QString slug;
    for (const QChar character : text.toLower()) {
        if (character.isLetterOrNumber() && character.unicode() < 128) {
            slug += character;
        } else if (!slug.isEmpty() && !slug.endsWith(u'-')) {
            slug += u'-';
        }
    }
    while (slug.endsWith(u'-')) {
        slug.chop(1);
    }
    return slug;
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

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

std::optional<DemoShopFault> demoShopFaultFromName(QStringView name) {
    static const QList<std::pair<QString, DemoShopFault>> names{
        {QStringLiteral("server-error"), DemoShopFault::serverError},
        {QStringLiteral("too-many-requests"), DemoShopFault::tooManyRequests},
        {QStringLiteral("drop-connection"), DemoShopFault::dropConnection},
        {QStringLiteral("not-json"), DemoShopFault::notJson},
        {QStringLiteral("empty-body"), DemoShopFault::emptyBody},
        {QStringLiteral("wrong-shape"), DemoShopFault::wrongShape},
        {QStringLiteral("slow"), DemoShopFault::slowAnswer},
        {QStringLiteral("huge-body"), DemoShopFault::hugeBody},
        {QStringLiteral("redirect-away"), DemoShopFault::redirectAway},
        {QStringLiteral("redirect-here"), DemoShopFault::redirectHere}};
    for (const auto& [text, fault] : names) {
        if (name == text) {
            return fault;
        }
    }
    return std::nullopt;
}

struct DemoShop::State {
    DemoShopOptions options;

    mutable std::mutex catalogMutex;
    QList<DemoProduct> products;
    QHash<qint64, qsizetype> productIndex;
    QHash<qint64, qint64> variationParent;
    QHash<QString, qint64> categoryIds;

    mutable std::mutex logMutex;
    QList<DemoShopRequest> log;
    std::function<void(const DemoShopRequest&)> observer;

    std::mutex faultMutex;
    QList<DemoShopFaultRule> faults;

    std::atomic<qint64> latencyMs{0};
    std::atomic<qint64> slowMs{5000};
    std::atomic<qint64> hugeBytes{40LL * 1024 * 1024};
    std::atomic<qint64> connections{0};

    std::mutex waitMutex;
    std::condition_variable waitCondition;
    bool stopping = false;

    std::mutex lifeMutex;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<int> port{0};

    bool usesTls() const { return !options.tlsCertificatePath.isEmpty() && !options.tlsKeyPath.isEmpty(); }
    QUrl url() const {
        QUrl url;
        url.setScheme(usesTls() ? QStringLiteral("https") : QStringLiteral("http"));
        url.setHost(QStringLiteral("127.0.0.1"));
        url.setPort(port.load());
        return url;
    }

    void load(const DemoCatalog& catalog);
    void pause(qint64 milliseconds);
    std::optional<DemoShopFault> takeFault(const QString& path, const QString& method);
    void handle(const httplib::Request& request, httplib::Response& response);
    Answer respond(const httplib::Request& request, const QString& path);
    std::optional<Answer> refuseCredentials(const httplib::Request& request, bool listing, bool write) const;

    DemoProduct* product(qint64 id);
    QJsonObject productJson(const DemoProduct& product) const;
    QJsonObject variationJson(const DemoProduct& parent, const DemoVariation& variation) const;
    Answer listing(const httplib::Request& request, QList<std::pair<const QDateTime*, QJsonObject>> items);
    Answer update(const httplib::Request& request, qint64 productId, std::optional<qint64> variationId);
};

void DemoShop::State::load(const DemoCatalog& catalog) {
    products.clear();
    productIndex.clear();
    variationParent.clear();
    categoryIds.clear();
    for (const DemoProduct& product : catalog.products) {
        if (productIndex.contains(product.id)) {
            continue;
        }
        DemoProduct copy = product;
        copy.variations.clear();
        for (const DemoVariation& variation : product.variations) {
            if (!variationParent.contains(variation.id)) {
                variationParent.insert(variation.id, product.id);
                copy.variations.append(variation);
            }
        }
        if (!copy.category.isEmpty() && !categoryIds.contains(copy.category)) {
            categoryIds.insert(copy.category, 15 + categoryIds.size());
        }
        productIndex.insert(copy.id, products.size());
        products.append(copy);
    }
}

void DemoShop::State::pause(qint64 milliseconds) {
    if (milliseconds <= 0) {
        return;
    }
    std::unique_lock lock(waitMutex);
    waitCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping; });
}

std::optional<DemoShopFault> DemoShop::State::takeFault(const QString& path, const QString& method) {
    std::lock_guard lock(faultMutex);
    for (qsizetype index = 0; index < faults.size(); ++index) {
        DemoShopFaultRule& rule = faults[index];
        if ((!rule.pathSuffix.isEmpty() && !path.endsWith(rule.pathSuffix)) ||
            (!rule.method.isEmpty() && rule.method != method)) {
            continue;
        }
        const DemoShopFault fault = rule.fault;
        if (rule.remaining > 0 && --rule.remaining == 0) {
            faults.removeAt(index);
        }
        return fault;
    }
    return std::nullopt;
}

DemoProduct* DemoShop::State::product(qint64 id) {
    const auto it = productIndex.constFind(id);
    return it == productIndex.cend() ? nullptr : &products[*it];
}

QJsonObject DemoShop::State::productJson(const DemoProduct& product) const {
    const std::optional<qint64> stock = productStock(product);
    QString status =
        product.management == DemoStockManagement::managed ? stockStatus(stock) : QStringLiteral("instock");
    QJsonArray variationIds;
    QJsonArray options;
    if (!product.variations.isEmpty() && product.management != DemoStockManagement::managed) {
        status = QStringLiteral("outofstock");
    }
    for (const DemoVariation& variation : product.variations) {
        variationIds.append(variation.id);
        options.append(variation.attributeOption);
        const auto quantity = variationStock(product, variation);
        if (effectiveManagement(product, variation) == DemoStockManagement::notManaged ||
            (quantity && *quantity > 0)) {
            if (product.management != DemoStockManagement::managed) {
                status = QStringLiteral("instock");
            }
        }
    }
    QJsonArray categories;
    if (!product.category.isEmpty()) {
        categories.append(QJsonObject{{QStringLiteral("id"), categoryIds.value(product.category)},
                                      {QStringLiteral("name"), product.category},
                                      {QStringLiteral("slug"), slugOf(product.category)}});
    }
    QJsonArray attributes;
    if (!product.variations.isEmpty()) {
        attributes.append(QJsonObject{{QStringLiteral("id"), 0},
                                      {QStringLiteral("name"), QStringLiteral("Variante")},
                                      {QStringLiteral("position"), 0},
                                      {QStringLiteral("visible"), true},
                                      {QStringLiteral("variation"), true},
                                      {QStringLiteral("options"), options}});
    }
    const QString slug = slugOf(product.name);
    return QJsonObject{
        {QStringLiteral("id"), product.id},
        {QStringLiteral("name"), product.name.toHtmlEscaped()},
        {QStringLiteral("slug"), slug},
        {QStringLiteral("permalink"), QString(url().toString() + QStringLiteral("/produit/") + slug + u'/')},
        {QStringLiteral("date_modified"), wooDate(product.modifiedAt)},
        {QStringLiteral("date_modified_gmt"), wooDate(product.modifiedAt)},
        {QStringLiteral("type"),
         product.variations.isEmpty() ? QStringLiteral("simple") : QStringLiteral("variable")},
        {QStringLiteral("status"), QStringLiteral("publish")},
        {QStringLiteral("sku"), product.sku},
        {QStringLiteral("global_unique_id"), QString()},
        {QStringLiteral("price"), QString()},
        {QStringLiteral("manage_stock"), product.management == DemoStockManagement::managed},
        {QStringLiteral("stock_quantity"), quantityValue(stock)},
        {QStringLiteral("stock_status"), status},
        {QStringLiteral("backorders"), QStringLiteral("no")},
        {QStringLiteral("categories"), categories},
        {QStringLiteral("attributes"), attributes},
        {QStringLiteral("images"), QJsonArray()},
        {QStringLiteral("variations"), variationIds},
    };
}

QJsonObject DemoShop::State::variationJson(const DemoProduct& parent, const DemoVariation& variation) const {
    const std::optional<qint64> stock = variationStock(parent, variation);
    const DemoStockManagement management = effectiveManagement(parent, variation);
    QJsonValue manageStock = true;
    if (management == DemoStockManagement::notManaged) {
        manageStock = false;
    } else if (management == DemoStockManagement::parent) {
        manageStock = QStringLiteral("parent");
    }
    return QJsonObject{
        {QStringLiteral("id"), variation.id},
        {QStringLiteral("parent_id"), parent.id},
        {QStringLiteral("date_modified"), wooDate(variation.modifiedAt)},
        {QStringLiteral("date_modified_gmt"), wooDate(variation.modifiedAt)},
        {QStringLiteral("status"), QStringLiteral("publish")},
        {QStringLiteral("sku"), variation.sku},
        {QStringLiteral("global_unique_id"), QString()},
        {QStringLiteral("price"), QString()},
        {QStringLiteral("manage_stock"), manageStock},
        {QStringLiteral("stock_quantity"), quantityValue(stock)},
        {QStringLiteral("stock_status"),
         management == DemoStockManagement::notManaged ? QStringLiteral("instock") : stockStatus(stock)},
        {QStringLiteral("backorders"), QStringLiteral("no")},
        {QStringLiteral("image"), QJsonValue(QJsonValue::Null)},
        {QStringLiteral("attributes"),
         QJsonArray{QJsonObject{{QStringLiteral("id"), 0},
                                {QStringLiteral("name"), QStringLiteral("Variante")},
                                {QStringLiteral("option"), variation.attributeOption}}}},
    };
}

std::optional<Answer> DemoShop::State::refuseCredentials(const httplib::Request& request, bool listing,
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
        Answer refusal = wpError(401, QStringLiteral("woocommerce_rest_authentication_error"),
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

Answer DemoShop::State::listing(const httplib::Request& request,
                                QList<std::pair<const QDateTime*, QJsonObject>> items) {
    auto parameter = [&request](const char* name) -> std::optional<QString> {
        if (!request.has_param(name)) {
            return std::nullopt;
        }
        return QString::fromStdString(request.get_param_value(name));
    };
    qint64 perPage = 10;
    if (const auto text = parameter("per_page")) {
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
    if (const auto text = parameter("page")) {
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
    if (const auto text = parameter("modified_after")) {
        QDateTime after = QDateTime::fromString(*text, Qt::ISODate);
        if (!after.isValid()) {
            return invalidParameter(QStringLiteral("modified_after"), QStringLiteral("Invalid date."));
        }
        if (after.timeSpec() == Qt::LocalTime) {
            after.setTimeSpec(Qt::UTC); // the demo site's time zone
        }
        items.removeIf([&after](const auto& item) { return *item.first <= after; });
    }
    const QString orderBy = parameter("orderby").value_or(QStringLiteral("date"));
    const QString order = parameter("order").value_or(QStringLiteral("desc"));
    if (orderBy != u"date" && orderBy != u"id" && orderBy != u"modified") {
        return invalidParameter(QStringLiteral("orderby"),
                                QStringLiteral("orderby is not one of date, id, modified."));
    }
    if (order != u"asc" && order != u"desc") {
        return invalidParameter(QStringLiteral("order"), QStringLiteral("order is not one of asc, desc."));
    }
    // Catalogue order stands for creation date.
    if (orderBy == u"modified") {
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& left, const auto& right) { return *left.first < *right.first; });
    } else if (orderBy == u"id") {
        std::stable_sort(items.begin(), items.end(), [](const auto& left, const auto& right) {
            return left.second.value(QLatin1StringView("id")).toInteger() <
                   right.second.value(QLatin1StringView("id")).toInteger();
        });
    }
    if (order == u"desc") {
        std::reverse(items.begin(), items.end());
    }

    const qint64 total = items.size();
    const qint64 totalPages = (total + perPage - 1) / perPage;
    QJsonArray pageItems;
    if (page <= totalPages) {
        const qint64 first = (page - 1) * perPage;
        for (qint64 index = first; index < std::min(total, first + perPage); ++index) {
            pageItems.append(items.at(index).second);
        }
    }
    Answer answer = json(200, pageItems);
    answer.headers.append(std::pair<std::string, std::string>("X-WP-Total", std::to_string(total)));
    answer.headers.append(std::pair<std::string, std::string>("X-WP-TotalPages", std::to_string(totalPages)));
    return answer;
}

Answer DemoShop::State::update(const httplib::Request& request, qint64 productId,
                               std::optional<qint64> variationId) {
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(request.body), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        return wpError(400, QStringLiteral("rest_invalid_json"), QStringLiteral("Invalid JSON body passed."));
    }
    const QJsonObject body = document.object();
    std::optional<bool> manageStock;
    if (body.contains(QLatin1StringView("manage_stock"))) {
        manageStock = restBoolean(body.value(QLatin1StringView("manage_stock")));
        if (!manageStock) {
            return invalidParameter(QStringLiteral("manage_stock"),
                                    QStringLiteral("manage_stock is not of type boolean."));
        }
    }
    std::optional<qint64> quantity;
    if (body.contains(QLatin1StringView("stock_quantity"))) {
        quantity = restInteger(body.value(QLatin1StringView("stock_quantity")));
        if (!quantity) {
            return invalidParameter(QStringLiteral("stock_quantity"),
                                    QStringLiteral("stock_quantity is not of type integer."));
        }
    }

    std::lock_guard lock(catalogMutex);
    DemoProduct* parent = product(productId);
    if (!variationId) {
        if (!parent && variationParent.contains(productId)) {
            return wpError(404, QStringLiteral("woocommerce_rest_invalid_product_id"),
                           QStringLiteral("To manipulate product variations you should use the "
                                          "/products/&lt;product_id&gt;/variations/&lt;id&gt; endpoint."));
        }
        if (!parent) {
            return invalidId(400, false);
        }
        if (manageStock) {
            parent->management =
                *manageStock ? DemoStockManagement::managed : DemoStockManagement::notManaged;
        }
        if (quantity && parent->management == DemoStockManagement::managed) {
            parent->stockQuantity = quantity;
        }
        parent->modifiedAt = QDateTime::currentDateTimeUtc();
        return json(200, productJson(*parent));
    }
    const auto owner = variationParent.constFind(*variationId);
    if (owner == variationParent.cend()) {
        return invalidId(400, true);
    }
    if (!parent || *owner != productId) {
        return invalidId(404, true);
    }
    auto variation =
        std::find_if(parent->variations.begin(), parent->variations.end(),
                     [&](const DemoVariation& candidate) { return candidate.id == *variationId; });
    if (manageStock) {
        variation->management = *manageStock ? DemoStockManagement::managed : DemoStockManagement::notManaged;
    }
    if (quantity && variation->management == DemoStockManagement::managed) {
        variation->stockQuantity = quantity;
    }
    variation->modifiedAt = QDateTime::currentDateTimeUtc();
    return json(200, variationJson(*parent, *variation));
}

Answer DemoShop::State::respond(const httplib::Request& request, const QString& path) {
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
    // An id too large for any shop is simply unknown.
    const qint64 productId = parts.size() >= 2 ? parseWooInteger(QStringView(parts.at(1))).value_or(-1) : 0;
    const std::optional<qint64> variationId =
        parts.size() == 4 ? std::optional<qint64>(parseWooInteger(QStringView(parts.at(3))).value_or(-1))
                          : std::nullopt;
    if (isPut) {
        return update(request, productId, variationId);
    }

    std::lock_guard lock(catalogMutex);
    if (parts.size() == 1) {
        QList<std::pair<const QDateTime*, QJsonObject>> items;
        items.reserve(products.size());
        for (const DemoProduct& item : products) {
            items.append({&item.modifiedAt, productJson(item)});
        }
        return listing(request, std::move(items));
    }
    const DemoProduct* parent = product(productId);
    if (parts.size() == 2) {
        if (parent) {
            return json(200, productJson(*parent));
        }
        // A variation's id on the product route: WooCommerce answers the variation as a product
        // of type "variation" with its parent's id.
        if (const DemoProduct* owner = product(variationParent.value(productId, -1))) {
            for (const DemoVariation& variation : owner->variations) {
                if (variation.id == productId) {
                    QJsonObject answer = variationJson(*owner, variation);
                    answer.insert(QStringLiteral("type"), QStringLiteral("variation"));
                    answer.insert(QStringLiteral("name"),
                                  QString(owner->name + QStringLiteral(" - ") + variation.attributeOption)
                                      .toHtmlEscaped());
                    return json(200, answer);
                }
            }
        }
        return invalidId(404, false);
    }
    if (parts.size() == 3) {
        if (!parent) {
            return invalidId(404, false);
        }
        QList<std::pair<const QDateTime*, QJsonObject>> items;
        for (const DemoVariation& variation : parent->variations) {
            items.append({&variation.modifiedAt, variationJson(*parent, variation)});
        }
        return listing(request, std::move(items));
    }
    if (!parent || variationParent.value(*variationId, -1) != productId) {
        return invalidId(404, true);
    }
    for (const DemoVariation& variation : parent->variations) {
        if (variation.id == *variationId) {
            return json(200, variationJson(*parent, variation));
        }
    }
    return invalidId(404, true);
}

void DemoShop::State::handle(const httplib::Request& request, httplib::Response& response) {
    DemoShopRequest entry;
    entry.method = QString::fromStdString(request.method);
    entry.target = QString::fromStdString(request.target);
    entry.path = QString::fromStdString(request.path);
    if (request.has_header("Authorization")) {
        entry.authorization = QString::fromStdString(request.get_header_value("Authorization"));
    }
    entry.body = QByteArray::fromStdString(request.body);
    entry.remotePort = request.remote_port;

    pause(latencyMs.load());
    const std::optional<DemoShopFault> fault = takeFault(entry.path, entry.method);
    const bool expectsList = entry.path.endsWith(QStringLiteral("/products")) ||
                             entry.path.endsWith(QStringLiteral("/products/")) ||
                             entry.path.endsWith(QStringLiteral("/variations")) ||
                             entry.path.endsWith(QStringLiteral("/variations/"));
    Answer answer;
    if (!fault || *fault == DemoShopFault::slowAnswer) {
        if (fault) {
            pause(slowMs.load());
        }
        answer = respond(request, entry.path);
    } else {
        switch (*fault) {
        case DemoShopFault::serverError:
            answer = wpError(500, QStringLiteral("internal_server_error"),
                             QStringLiteral("There has been a critical error on this website."));
            break;
        case DemoShopFault::tooManyRequests:
            answer =
                wpError(429, QStringLiteral("rest_too_many_requests"), QStringLiteral("Too many requests."));
            answer.headers.append(std::pair<std::string, std::string>("Retry-After", "30"));
            break;
        case DemoShopFault::notJson:
            answer.body = QByteArrayLiteral(
                "<!DOCTYPE html><html><head><title>Maintenance</title></head>"
                "<body><h1>Briefly unavailable for scheduled maintenance.</h1></body></html>");
            answer.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
            break;
        case DemoShopFault::emptyBody:
            break;
        case DemoShopFault::wrongShape:
            answer =
                expectsList ? json(200, QJsonObject{{QStringLiteral("id"), 1}}) : json(200, QJsonArray{});
            break;
        case DemoShopFault::dropConnection: {
            // Promise a body, then fail while writing it: the client sees the connection close.
            response.status = 200;
            response.set_content_provider(64, "application/json",
                                          [](size_t, size_t, httplib::DataSink&) { return false; });
            entry.status = 0;
            break;
        }
        case DemoShopFault::hugeBody: {
            const auto size = size_t(std::max<qint64>(hugeBytes.load(), 2));
            response.status = 200;
            response.set_content_provider(size, "application/json",
                                          [size](size_t offset, size_t length, httplib::DataSink& sink) {
                                              std::string chunk(std::min<size_t>(length, 64 * 1024), ' ');
                                              if (offset == 0) {
                                                  chunk.front() = '[';
                                              }
                                              if (offset + chunk.size() == size) {
                                                  chunk.back() = ']';
                                              }
                                              return sink.write(chunk.data(), chunk.size());
                                          });
            entry.status = 200;
            break;
        }
        case DemoShopFault::redirectAway:
        case DemoShopFault::redirectHere: {
            QUrl away = url();
            away.setHost(QStringLiteral("localhost"));
            away.setPath(entry.path);
            const QString target = *fault == DemoShopFault::redirectAway
                                       ? away.toString()
                                       : entry.path + QStringLiteral("?redirected=1");
            answer.status = *fault == DemoShopFault::redirectAway ? 302 : 301;
            answer.headers.append({"Location", target.toStdString()});
            answer.body = QByteArrayLiteral("moved");
            answer.contentType = QByteArrayLiteral("text/plain");
            break;
        }
        case DemoShopFault::slowAnswer:
            break;
        }
    }
    if (fault != DemoShopFault::dropConnection && fault != DemoShopFault::hugeBody) {
        response.status = answer.status;
        for (const auto& [name, value] : answer.headers) {
            response.set_header(name, value);
        }
        response.set_content(answer.body.toStdString(), answer.contentType.toStdString());
        entry.status = answer.status;
    }

    std::function<void(const DemoShopRequest&)> notify;
    {
        std::lock_guard lock(logMutex);
        log.append(entry);
        notify = observer;
    }
    if (notify) {
        notify(entry);
    }
}

DemoShop::DemoShop(DemoCatalog catalog, DemoShopOptions options)
    : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
    state_->latencyMs = state_->options.latency.count();
    state_->load(catalog);
}

DemoShop::~DemoShop() {
    stop();
}

int DemoShop::start(int port) {
    std::lock_guard life(state_->lifeMutex);
    if (state_->server) {
        return state_->port;
    }
    std::unique_ptr<httplib::Server> server;
    if (state_->usesTls()) {
        const std::string certificate = state_->options.tlsCertificatePath.toStdString();
        const std::string key = state_->options.tlsKeyPath.toStdString();
        server = std::make_unique<httplib::SSLServer>(certificate.c_str(), key.c_str());
    } else {
        server = std::make_unique<httplib::Server>();
    }
    if (!server->is_valid()) {
        throw std::runtime_error("demo shop: cannot use the TLS certificate or key");
    }
    State* state = state_.get();
    server->new_task_queue = [state] { return new CountingTaskQueue(state->connections, 8); };
    server->set_keep_alive_max_count(state_->options.closeConnections ? 1 : keepAliveRequests);
    server->set_keep_alive_timeout(5);
    // Headers and body go out in separate writes; without this, Nagle's algorithm and the
    // client's delayed acknowledgement hold every answer back by some 40 ms.
    server->set_tcp_nodelay(true);
    // Stock updates are a few bytes; a body beyond this is refused (413) rather than held.
    server->set_payload_max_length(maximumBodyBytes);
    const auto handler = [state](const httplib::Request& request, httplib::Response& response) {
        state->handle(request, response);
    };
    server->Get(".*", handler);
    server->Put(".*", handler);
    server->Post(".*", handler);
    server->Patch(".*", handler);
    server->Delete(".*", handler);

    const int bound = port == 0 ? server->bind_to_any_port("127.0.0.1")
                                : (server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        throw std::runtime_error("demo shop: cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    {
        std::lock_guard lock(state_->waitMutex);
        state_->stopping = false;
    }
    httplib::Server* raw = server.get();
    state_->thread = std::thread([raw] { raw->listen_after_bind(); });
    // stop() only takes effect once the server runs; wait for it so a quick stop cannot hang.
    while (!raw->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state_->server = std::move(server);
    state_->port = bound;
    return bound;
}

void DemoShop::stop() {
    std::lock_guard life(state_->lifeMutex);
    if (!state_->server) {
        return;
    }
    {
        std::lock_guard lock(state_->waitMutex);
        state_->stopping = true;
    }
    state_->waitCondition.notify_all();
    state_->server->stop();
    if (state_->thread.joinable()) {
        state_->thread.join();
    }
    state_->server.reset();
}

int DemoShop::port() const {
    return state_->port;
}

QUrl DemoShop::url() const {
    return state_->url();
}

void DemoShop::setCatalog(const DemoCatalog& catalog) {
    std::lock_guard lock(state_->catalogMutex);
    state_->load(catalog);
}

DemoCatalog DemoShop::catalog() const {
    std::lock_guard lock(state_->catalogMutex);
    return DemoCatalog{state_->products};
}

std::optional<qint64> DemoShop::stock(qint64 productId, std::optional<qint64> variationId) const {
    std::lock_guard lock(state_->catalogMutex);
    const DemoProduct* product = state_->product(productId);
    if (!product) {
        return std::nullopt;
    }
    if (!variationId) {
        return productStock(*product);
    }
    for (const DemoVariation& variation : product->variations) {
        if (variation.id == *variationId) {
            return variationStock(*product, variation);
        }
    }
    return std::nullopt;
}

bool DemoShop::setStock(qint64 productId, std::optional<qint64> variationId, std::optional<qint64> quantity,
                        DemoStockManagement management) {
    std::lock_guard lock(state_->catalogMutex);
    DemoProduct* product = state_->product(productId);
    if (!product) {
        return false;
    }
    if (!variationId) {
        product->management =
            management == DemoStockManagement::parent ? DemoStockManagement::notManaged : management;
        product->stockQuantity = quantity;
        return true;
    }
    for (DemoVariation& variation : product->variations) {
        if (variation.id == *variationId) {
            variation.management = management;
            variation.stockQuantity = quantity;
            return true;
        }
    }
    return false;
}

void DemoShop::addFault(const DemoShopFaultRule& rule) {
    std::lock_guard lock(state_->faultMutex);
    state_->faults.append(rule);
}

void DemoShop::clearFaults() {
    std::lock_guard lock(state_->faultMutex);
    state_->faults.clear();
}

void DemoShop::setLatency(std::chrono::milliseconds latency) {
    state_->latencyMs = latency.count();
}

void DemoShop::setSlowAnswerDelay(std::chrono::milliseconds delay) {
    state_->slowMs = delay.count();
}

void DemoShop::setHugeBodyBytes(qint64 bytes) {
    state_->hugeBytes = bytes;
}

QList<DemoShopRequest> DemoShop::requestLog() const {
    std::lock_guard lock(state_->logMutex);
    return state_->log;
}

void DemoShop::clearRequestLog() {
    std::lock_guard lock(state_->logMutex);
    state_->log.clear();
}

qint64 DemoShop::requestCount() const {
    std::lock_guard lock(state_->logMutex);
    return state_->log.size();
}

qint64 DemoShop::connectionCount() const {
    return state_->connections.load();
}

void DemoShop::setRequestObserver(std::function<void(const DemoShopRequest&)> observer) {
    std::lock_guard lock(state_->logMutex);
    state_->observer = std::move(observer);
}

} // namespace tallybrook
