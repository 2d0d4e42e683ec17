#include "demo-shop/DemoShop.h"

#include "WooTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <limits>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;

// Raw requests, to see the shop's answers exactly as a client would. (The client, service and
// connector tests read products, variations, pages, "parent" stock, updates and refusals through it.)
class DemoShopTest : public test::ShopTest {
protected:
    HttpResponse send(const QByteArray& method, const QString& path, std::optional<QByteArray> body = {},
                      std::optional<QByteArray> credentials = "ck_demo:cs_demo") {
        HttpRequest request{method, QUrl(shop->url().toString() + path), {}, std::move(body), {}};
        if (credentials) {
            request.headers.append(HttpHeader("Authorization", "Basic " + credentials->toBase64()));
        }
        // One transport (one kept connection) for all the requests of a shop.
        return (transports.empty() ? *transport() : *transports.front()).send(request);
    }
};

TEST_F(DemoShopTest, AnswersRefusalsAndBadRequestsLikeWooCommerce) {
    const std::optional<QByteArray> none;
    const QByteArray good = "ck_demo:cs_demo";
    // clang-format off
    const std::tuple<QByteArray, const char*, std::optional<QByteArray>, std::optional<QByteArray>, int, const char*> cases[] = {
        {"GET", "/products", {}, "ck_demo:nope", 401, "woocommerce_rest_authentication_error"},
        {"GET", "/products/12", {}, "ck_other:cs_demo", 401, "woocommerce_rest_cannot_view"},
        {"PUT", "/products/12", "{}", none, 401, "woocommerce_rest_cannot_edit"},
        {"GET", "/products?per_page=101", {}, good, 400, "rest_invalid_param"},
        {"GET", "/products?modified_after=yesterday", {}, good, 400, "rest_invalid_param"},
        {"PUT", "/products/12", R"({"stock_quantity": 2.5})", good, 400, "rest_invalid_param"},
        {"PUT", "/products/12", R"({"manage_stock": "sometimes"})", good, 400, "rest_invalid_param"},
        {"PUT", "/products/12", "{not json", good, 400, "rest_invalid_json"},
        {"PUT", "/products/21", R"({"stock_quantity": 1})", good, 404, "woocommerce_rest_invalid_product_id"}, // a variation
        {"GET", "/products/12/variations/21", {}, good, 404, "woocommerce_rest_product_variation_invalid_id"},
        {"GET", "/orders", {}, good, 404, "rest_no_route"},
    };
    // clang-format on
    for (const auto& [method, path, body, credentials, status, code] : cases) {
        const auto response = send(method, u"/wp-json/wc/v3"_s + QLatin1StringView(path), body, credentials);
        const QJsonObject answer = QJsonDocument::fromJson(response.body).object();
        EXPECT_EQ(response.statusCode, status) << path;
        EXPECT_EQ(answer.value(u"code"_s).toString(), QLatin1StringView(code)) << path;
        EXPECT_EQ(answer.value(u"data"_s).toObject().value(u"status"_s).toInt(), status) << path;
        // Only a refused secret comes with a Basic challenge.
        EXPECT_EQ(response.header("WWW-Authenticate").has_value(), credentials == "ck_demo:nope") << path;
    }
    EXPECT_EQ(shop->stock(12), 5);
    // A body no stock update needs is refused without being held.
    EXPECT_EQ(send("PUT", u"/wp-json/wc/v3/products/12"_s, QByteArray(2 * 1024 * 1024, ' ')).statusCode, 413);
    // Outside the site, WordPress answers its themed page whatever the credentials.
    const auto page = send("GET", u"/shop/wp-json/wc/v3/products/12"_s, {}, none);
    EXPECT_EQ(page.statusCode, 404);
    EXPECT_TRUE(page.header("Content-Type")->startsWith("text/html"));
}

TEST_F(DemoShopTest, ReadsChosenIdsLeavingOutWhatTheRouteDoesNotHold) {
    // clang-format off
    const std::tuple<const char*, int, QList<qint64>, int, int> cases[] = {
        // 21 is a variation and 999999 unknown: left out, newest (highest id) first.
        {"/products?include=12,21,999999,40,13&per_page=100", 200, {40, 13, 12}, 3, 1},
        {"/products?include=13,40,12&orderby=include&per_page=100", 200, {13, 40, 12}, 3, 1},
        {"/products?include=12,13,14,40&per_page=3&page=2", 200, {12}, 4, 2},
        // 31 belongs to another parent, 12 is a product.
        {"/products/20/variations?include=21,31,12,23&per_page=100", 200, {23, 21}, 2, 1},
        {"/products?include=12&per_page=101", 400, {}, 0, 0},
    };
    // clang-format on
    for (const auto& [target, status, ids, total, pages] : cases) {
        const auto response = send("GET", u"/wp-json/wc/v3"_s + QLatin1StringView(target));
        EXPECT_EQ(response.statusCode, status) << target;
        if (status != 200) {
            EXPECT_EQ(QJsonDocument::fromJson(response.body).object().value(u"code"_s),
                      u"rest_invalid_param"_s);
            continue;
        }
        QList<qint64> answered;
        for (const QJsonValue& item : QJsonDocument::fromJson(response.body).array()) {
            answered.append(item.toObject().value(u"id"_s).toInteger());
        }
        EXPECT_EQ(answered, ids) << target;
        EXPECT_EQ(response.header("X-WP-Total"), QByteArray::number(total)) << target;
        EXPECT_EQ(response.header("X-WP-TotalPages"), QByteArray::number(pages)) << target;
    }
    const auto narrowed = send("GET", u"/wp-json/wc/v3/products?include=12&_fields=id,stock_quantity"_s);
    EXPECT_EQ(QJsonDocument::fromJson(narrowed.body).array().first().toObject(),
              (QJsonObject{{u"id"_s, 12}, {u"stock_quantity"_s, 5}}));
}

// One answer entry per item, in order: "id=stock" when written, "id!code/status" when refused.
QList<QByteArray> batchEntries(const QByteArray& body) {
    QList<QByteArray> entries;
    for (const QJsonValue& value : QJsonDocument::fromJson(body).object().value(u"update"_s).toArray()) {
        const QJsonObject entry = value.toObject();
        const QString id =
            entry.value(u"id"_s).isNull() ? u"null"_s : QString::number(entry.value(u"id"_s).toInteger());
        const QJsonObject error = entry.value(u"error"_s).toObject();
        const QJsonValue stock = entry.value(u"stock_quantity"_s);
        const QJsonValue status = error.value(u"data"_s)[u"status"_s];
        const QString text =
            error.isEmpty()
                ? QString(id + u'=' + (stock.isNull() ? u"null"_s : QString::number(stock.toInteger())))
                : id + u'!' + error.value(u"code"_s).toString() + u'/' + QString::number(status.toInt());
        entries.append(text.toUtf8());
    }
    return entries;
}

TEST_F(DemoShopTest, WritesBatchesItemByItemWithoutRollback) {
    // clang-format off
    const std::tuple<const char*, const char*, QList<QByteArray>> cases[] = {
        {"/products/batch", R"({"update": [{"id": 12, "stock_quantity": 7}, {"id": 999999, "stock_quantity": 1},
            {"id": 21, "stock_quantity": 1}, {"stock_quantity": 1}, {"id": 40, "stock_quantity": "abc"},
            {"id": 13, "stock_quantity": "8"}, {"id": 13, "stock_quantity": -2}, {"id": 14, "stock_quantity": 4}]})",
         {"12=7", "999999!woocommerce_rest_product_invalid_id/400", "21!woocommerce_rest_invalid_product_id/404",
          "null!woocommerce_rest_product_invalid_id/400", "40=0", "13=8", "13=-2", "14=null"}},
        {"/products/20/variations/batch", R"({"update": [{"id": 31, "stock_quantity": 1}, {"id": 21, "stock_quantity": 6},
            {"id": 12, "stock_quantity": 1}, {"id": 999999, "stock_quantity": 1}]})",
         {"31!woocommerce_rest_product_variation_invalid_id/404", "21=6",
          "12!woocommerce_rest_product_variation_invalid_id/404", "999999!woocommerce_rest_product_variation_invalid_id/404"}},
        {"/products/12/variations/batch", R"({"update": [{"id": 21, "stock_quantity": 1}]})",
         {"21!woocommerce_rest_product_variation_invalid_id/404"}},
        // Written all the same, but answered with nothing.
        {"/products/batch?_fields=id,stock_quantity", R"({"update": [{"id": 12, "stock_quantity": 11}]})", {}},
    };
    // clang-format on
    for (const auto& [path, body, entries] : cases) {
        const auto response = send("POST", u"/wp-json/wc/v3"_s + QLatin1StringView(path), QByteArray(body));
        EXPECT_EQ(response.statusCode, 200) << path;
        EXPECT_EQ(batchEntries(response.body), entries) << path;
    }
    EXPECT_EQ(shop->stock(12), 11);
    EXPECT_EQ(shop->stock(40), 0);
    EXPECT_EQ(shop->stock(13), -2);
    EXPECT_EQ(shop->stock(14), std::nullopt);
    EXPECT_EQ(shop->stock(20, 21), 6);
}

TEST_F(DemoShopTest, RefusesWholeBatchesBeforeWritingAnything) {
    const QByteArray three = R"({"update": [{"id": 12, "stock_quantity": 1}, {"id": 13, "stock_quantity": 1},
        {"id": 40, "stock_quantity": 1}]})";
    shop->setBatchLimit(2);
    const auto tooMany = send("PUT", u"/wp-json/wc/v3/products/batch"_s, three);
    EXPECT_EQ(tooMany.statusCode, 413);
    EXPECT_EQ(QJsonDocument::fromJson(tooMany.body).object(),
              (QJsonObject{{u"code"_s, u"woocommerce_rest_request_entity_too_large"_s},
                           {u"message"_s, u"Unable to accept more than 2 items for this request."_s},
                           {u"data"_s, QJsonObject{{u"status"_s, 413}}}}));
    shop->setBatchLimit(100);
    EXPECT_EQ(send("POST", u"/wp-json/wc/v3/products/batch"_s, three, "ck_demo:nope").statusCode, 401);

    DemoShopOptions readOnly;
    readOnly.keyPermissions = DemoKeyPermissions::read;
    restartShop(readOnly);
    const auto refused = send("PATCH", u"/wp-json/wc/v3/products/batch"_s, three);
    EXPECT_EQ(refused.statusCode, 401);
    EXPECT_EQ(QJsonDocument::fromJson(refused.body).object().value(u"message"_s),
              u"The API key provided does not have write permissions."_s);
    EXPECT_EQ(shop->stock(12), 5);
    EXPECT_EQ(shop->stock(13), 0);
    EXPECT_EQ(shop->stock(40), 7);
}

TEST_F(DemoShopTest, SellsAsAnOrderWouldFromTheItemThatKeepsTheStock) {
    // clang-format off
    const std::tuple<const char*, int, QJsonValue> cases[] = {
        {R"({"id": 12, "quantity": 2})", 200, 3},
        {R"({"id": 31, "quantity": 4})", 200, 5}, // its parent 30 keeps the stock (9)
        {R"({"id": 14, "quantity": 1})", 200, QJsonValue::Null},
        {R"({"id": 999999, "quantity": 1})", 404, {}},
        {R"({"id": 12, "quantity": "many"})", 400, {}},
        {R"({"id": 12)", 400, {}},
    };
    // clang-format on
    for (const auto& [body, status, stock] : cases) {
        const auto response = send("POST", u"/demo/sell"_s, QByteArray(body), std::nullopt);
        EXPECT_EQ(response.statusCode, status) << body;
        const QJsonObject answer = QJsonDocument::fromJson(response.body).object();
        EXPECT_EQ(status == 200 ? answer.value(u"stock_quantity"_s) : answer.value(u"data"_s)[u"status"_s],
                  status == 200 ? stock : QJsonValue(status))
            << body;
    }
    EXPECT_EQ(shop->stock(12), 3);
    EXPECT_EQ(shop->stock(30), 5);
    EXPECT_EQ(shop->sell(21, 1), 2);
    EXPECT_EQ(shop->stock(20, 21), 2);
    EXPECT_EQ(shop->sell(14, 1), std::nullopt);
    EXPECT_EQ(shop->sell(999999, 1), std::nullopt);
    // A stock driven past the lowest value stops there instead of wrapping round to a large one.
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    EXPECT_EQ(shop->sell(13, most), -most);
    EXPECT_EQ(shop->sell(13, most), std::numeric_limits<qint64>::min());
}

TEST(DemoCatalogTest, SeedsFromAnInventoryWithDriftAndUnmanagedItems) {
    const auto row = [](const char* product, const char* variation, std::optional<qint64> reference) {
        auto made =
            test::shopRow(QString::fromLatin1(product),
                          variation ? std::optional(QString::fromLatin1(variation)) : std::nullopt, u"P"_s);
        made.variantName =
            variation ? std::optional(u"Taille "_s + QString::fromLatin1(variation)) : std::nullopt;
        made.referenceQuantity = reference;
        return made;
    };
    const auto document =
        test::documentWith({row("1", nullptr, 10), row("2", nullptr, 20), row("abc", nullptr, 1),
                            row("3", "31", 30), row("3", "32", 40), row("4", nullptr, {}),
                            row("1", nullptr, 99), row("5", nullptr, 50), row("3", "33", 60)});

    const auto plain = DemoCatalog::fromDocument(document);
    ASSERT_EQ(plain.products.size(), 5);
    EXPECT_EQ(plain.products[0].stockQuantity, 10);
    EXPECT_EQ(plain.products[2].management, DemoStockManagement::notManaged);
    ASSERT_EQ(plain.products[2].variations.size(), 3);
    EXPECT_EQ(plain.products[2].variations[1].stockQuantity, 40);
    EXPECT_EQ(plain.products[2].variations[1].attributeOption, u"Taille 32"_s);
    EXPECT_EQ(plain.products[3].stockQuantity, 0);

    // Items in order: 1, 2, 31, 32, 4, 5, 33.
    const auto drifted = DemoCatalog::fromDocument(document, DemoSeedOptions{2, 0});
    EXPECT_EQ(drifted.products[0].stockQuantity, 10);
    EXPECT_EQ(drifted.products[1].stockQuantity, 22);               // item 2
    EXPECT_EQ(drifted.products[2].variations[1].stockQuantity, 39); // item 4
    EXPECT_EQ(drifted.products[4].stockQuantity, 52);               // item 6
    const auto unmanaged = DemoCatalog::fromDocument(document, DemoSeedOptions{0, 2});
    EXPECT_EQ(unmanaged.products[1].management, DemoStockManagement::notManaged);
    EXPECT_EQ(unmanaged.products[2].variations[1].management, DemoStockManagement::parent);
    EXPECT_EQ(unmanaged.products[2].stockQuantity, 40);

    EXPECT_EQ(DemoCatalog::fromJson(plain.toJson()).products.size(), plain.products.size());
    EXPECT_THROW(DemoCatalog::fromJson(R"({"products": [{"name": "no id"}]})"), std::runtime_error);
}

} // namespace
} // namespace tallybrook
