#include "demo-shop/DemoShop.h"

#include "WooTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

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
