#include "demo-shop/DemoShop.h"

#include "WooTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using test::shopRow;
using test::ShopTest;

// Raw requests, to see the shop's answers exactly as a client would.
class DemoShopTest : public ShopTest {
protected:
    HttpResponse send(const QByteArray& method, const QString& pathAndQuery,
                      std::optional<QByteArray> body = {},
                      std::optional<QByteArray> credentials = QByteArrayLiteral("ck_demo:cs_demo")) {
        HttpRequest request;
        request.method = method;
        request.url = QUrl(shop->url().toString() + root() + pathAndQuery);
        if (credentials) {
            request.headers.append(HttpHeader("Authorization", "Basic " + credentials->toBase64()));
        }
        if (body) {
            request.headers.append(HttpHeader("Content-Type", "application/json"));
        }
        request.body = std::move(body);
        if (!raw) {
            raw = transport().get();
        }
        return raw->send(request);
    }

    static QJsonObject object(const HttpResponse& response) {
        return QJsonDocument::fromJson(response.body).object();
    }
    static QString code(const HttpResponse& response) {
        return object(response).value(QLatin1StringView("code")).toString();
    }

    QtHttpTransport* raw = nullptr; // owned by the fixture's transports
};

TEST_F(DemoShopTest, AnswersAuthenticationFailuresLikeWooCommerce) {
    struct Case {
        QByteArray method;
        QString path;
        std::optional<QByteArray> credentials;
        QString code;
        QString message;
    };
    const std::optional<QByteArray> none;
    const Case cases[] = {
        {"GET", QStringLiteral("/products"), QByteArrayLiteral("ck_demo:nope"),
         QStringLiteral("woocommerce_rest_authentication_error"),
         QStringLiteral("Consumer secret is invalid.")},
        {"GET", QStringLiteral("/products"), none, QStringLiteral("woocommerce_rest_cannot_view"),
         QStringLiteral("Sorry, you cannot list resources.")},
        {"GET", QStringLiteral("/products/12"), QByteArrayLiteral("ck_other:cs_demo"),
         QStringLiteral("woocommerce_rest_cannot_view"),
         QStringLiteral("Sorry, you cannot view this resource.")},
        {"PUT", QStringLiteral("/products/12"), none, QStringLiteral("woocommerce_rest_cannot_edit"),
         QStringLiteral("Sorry, you are not allowed to edit this resource.")},
    };
    for (const Case& c : cases) {
        const auto response =
            send(c.method, c.path, c.method == "PUT" ? std::optional(QByteArray("{}")) : std::nullopt,
                 c.credentials);
        EXPECT_EQ(response.statusCode, 401) << c.path.toStdString();
        EXPECT_EQ(code(response), c.code);
        EXPECT_EQ(object(response).value(QLatin1StringView("message")).toString(), c.message);
        EXPECT_EQ(object(response)
                      .value(QLatin1StringView("data"))
                      .toObject()
                      .value(QLatin1StringView("status"))
                      .toInt(),
                  401);
        // Only a refused secret comes with a Basic challenge.
        EXPECT_EQ(response.header("WWW-Authenticate").has_value(),
                  c.code == QStringLiteral("woocommerce_rest_authentication_error"))
            << c.path.toStdString();
    }
    EXPECT_EQ(shop->stock(12), 5);
}

TEST_F(DemoShopTest, RejectsBadParametersAndUnknownRoutes) {
    struct Case {
        QByteArray method;
        QString path;
        std::optional<QByteArray> body;
        int status;
        QString code;
    };
    const Case cases[] = {
        {"GET", QStringLiteral("/products?per_page=0"), {}, 400, QStringLiteral("rest_invalid_param")},
        {"GET", QStringLiteral("/products?per_page=101"), {}, 400, QStringLiteral("rest_invalid_param")},
        {"GET", QStringLiteral("/products?per_page=ten"), {}, 400, QStringLiteral("rest_invalid_param")},
        {"GET", QStringLiteral("/products?page=0"), {}, 400, QStringLiteral("rest_invalid_param")},
        {"GET",
         QStringLiteral("/products?modified_after=yesterday"),
         {},
         400,
         QStringLiteral("rest_invalid_param")},
        {"PUT", QStringLiteral("/products/12"), QByteArrayLiteral(R"({"stock_quantity": 2.5})"), 400,
         QStringLiteral("rest_invalid_param")},
        {"PUT", QStringLiteral("/products/12"), QByteArrayLiteral(R"({"stock_quantity": "abc"})"), 400,
         QStringLiteral("rest_invalid_param")},
        {"PUT", QStringLiteral("/products/12"), QByteArrayLiteral(R"({"manage_stock": "sometimes"})"), 400,
         QStringLiteral("rest_invalid_param")},
        {"PUT", QStringLiteral("/products/12"), QByteArrayLiteral("{not json"), 400,
         QStringLiteral("rest_invalid_json")},
        {"GET",
         QStringLiteral("/products/99"),
         {},
         404,
         QStringLiteral("woocommerce_rest_product_invalid_id")},
        {"PUT", QStringLiteral("/products/99"), QByteArrayLiteral(R"({"stock_quantity": 1})"), 400,
         QStringLiteral("woocommerce_rest_product_invalid_id")},
        {"GET",
         QStringLiteral("/products/12/variations/21"),
         {},
         404,
         QStringLiteral("woocommerce_rest_product_variation_invalid_id")},
        {"PUT", QStringLiteral("/products/30/variations/21"), QByteArrayLiteral(R"({"stock_quantity": 1})"),
         404, QStringLiteral("woocommerce_rest_product_variation_invalid_id")},
        {"GET", QStringLiteral("/products/abc"), {}, 404, QStringLiteral("rest_no_route")},
        {"GET", QStringLiteral("/orders"), {}, 404, QStringLiteral("rest_no_route")},
        {"PUT", QStringLiteral("/products"), QByteArrayLiteral("{}"), 404, QStringLiteral("rest_no_route")},
    };
    for (const Case& c : cases) {
        const auto response = send(c.method, c.path, c.body);
        EXPECT_EQ(response.statusCode, c.status) << c.path.toStdString();
        EXPECT_EQ(code(response), c.code) << c.path.toStdString();
    }
    EXPECT_EQ(shop->stock(12), 5);
    EXPECT_EQ(shop->stock(20, 21), 3);

    // A body no stock update needs is refused without being held.
    EXPECT_EQ(send("PUT", QStringLiteral("/products/12"), QByteArray(2 * 1024 * 1024, ' ')).statusCode, 413);
    EXPECT_EQ(shop->stock(12), 5);
}

TEST_F(DemoShopTest, PutStoresTheStockSwitchesManagementOnAndAnswersTheRecord) {
    const auto negative =
        send("PUT", QStringLiteral("/products/12"), QByteArrayLiteral(R"({"stock_quantity": -4})"));
    EXPECT_EQ(negative.statusCode, 200);
    EXPECT_EQ(object(negative).value(QLatin1StringView("stock_quantity")).toInteger(), -4);
    EXPECT_EQ(object(negative).value(QLatin1StringView("stock_status")).toString(),
              QStringLiteral("outofstock"));

    const auto parent = send("PUT", QStringLiteral("/products/20/variations/22"),
                             QByteArrayLiteral(R"({"manage_stock": true, "stock_quantity": 5})"));
    EXPECT_EQ(object(parent).value(QLatin1StringView("manage_stock")), QJsonValue(true));
    EXPECT_EQ(object(parent).value(QLatin1StringView("stock_quantity")).toInteger(), 5);
    EXPECT_EQ(object(parent).value(QLatin1StringView("stock_status")).toString(), QStringLiteral("instock"));
    EXPECT_EQ(shop->stock(20, 22), 5);

    const auto reread = send("GET", QStringLiteral("/products/20/variations/22"));
    EXPECT_EQ(object(reread), object(parent));
}

TEST_F(DemoShopTest, ListsWithPagingHeadersAndAnEmptyPageAfterTheLast) {
    const auto page = send("GET", QStringLiteral("/products/20/variations?per_page=2&page=2"));
    EXPECT_EQ(page.header("x-wp-total"), QByteArrayLiteral("3"));
    EXPECT_EQ(page.header("X-WP-TotalPages"), QByteArrayLiteral("2"));
    EXPECT_EQ(QJsonDocument::fromJson(page.body).array().size(), 1);
    const auto past = send("GET", QStringLiteral("/products?per_page=100&page=2"));
    EXPECT_EQ(past.statusCode, 200);
    EXPECT_EQ(past.body, QByteArrayLiteral("[]"));
    EXPECT_EQ(past.header("X-WP-Total"), QByteArrayLiteral("6"));

    const auto product = QJsonDocument::fromJson(send("GET", QStringLiteral("/products/12")).body).object();
    EXPECT_EQ(product.value(QLatin1StringView("date_modified")).toString(),
              QStringLiteral("2024-05-02T09:00:00"));
    const auto parentManaged = object(send("GET", QStringLiteral("/products/30/variations/31")));
    EXPECT_EQ(parentManaged.value(QLatin1StringView("manage_stock")), QJsonValue(QStringLiteral("parent")));
    EXPECT_EQ(parentManaged.value(QLatin1StringView("stock_quantity")), QJsonValue(9));
    // "parent" under a product that keeps no stock reads as not managed, as in WooCommerce.
    const auto parentUnmanaged = object(send("GET", QStringLiteral("/products/20/variations/22")));
    EXPECT_EQ(parentUnmanaged.value(QLatin1StringView("manage_stock")), QJsonValue(false));
    EXPECT_EQ(parentUnmanaged.value(QLatin1StringView("stock_quantity")), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(parentUnmanaged.value(QLatin1StringView("stock_status")),
              QJsonValue(QStringLiteral("instock")));
}

// Where a real shop departs from what its documentation suggests.
TEST_F(DemoShopTest, AnswersVariationsOnTheProductRouteAndEncodesNames) {
    const auto asProduct = object(send("GET", QStringLiteral("/products/21")));
    EXPECT_EQ(asProduct.value(QLatin1StringView("type")), QJsonValue(QStringLiteral("variation")));
    EXPECT_EQ(asProduct.value(QLatin1StringView("parent_id")), QJsonValue(20));
    EXPECT_EQ(asProduct.value(QLatin1StringView("stock_quantity")), QJsonValue(3));
    const auto put =
        send("PUT", QStringLiteral("/products/21"), QByteArrayLiteral(R"({"stock_quantity": 1})"));
    EXPECT_EQ(put.statusCode, 404);
    EXPECT_EQ(code(put), QStringLiteral("woocommerce_rest_invalid_product_id"));
    EXPECT_EQ(shop->stock(20, 21), 3);
    EXPECT_TRUE(send("GET", QStringLiteral("/products/40")).body.contains("\"Vase &amp; coupelle\""));
}

TEST(DemoCatalogTest, SeedsFromAnInventoryWithDriftAndUnmanagedItems) {
    InventoryExportDocument document;
    auto simple = [](const char* product, std::optional<qint64> reference) {
        auto row = shopRow(QString::fromLatin1(product), std::nullopt,
                           QStringLiteral("P") + QString::fromLatin1(product));
        row.referenceQuantity = reference;
        return row;
    };
    auto variant = [](const char* product, const char* variation, qint64 reference) {
        auto row = shopRow(QString::fromLatin1(product), QString::fromLatin1(variation), QStringLiteral("V"));
        row.variantName = QStringLiteral("Taille ") + QString::fromLatin1(variation);
        row.referenceQuantity = reference;
        return row;
    };
    document.rows = {simple("1", 10),        simple("2", 20),        simple("abc", 1),
                     variant("3", "31", 30), variant("3", "32", 40), simple("4", std::nullopt),
                     simple("1", 99),        simple("5", 50),        variant("3", "33", 60)};

    const auto plain = DemoCatalog::fromDocument(document);
    ASSERT_EQ(plain.products.size(), 5);
    EXPECT_EQ(plain.products[0].stockQuantity, 10);
    EXPECT_EQ(plain.products[2].management, DemoStockManagement::notManaged);
    EXPECT_EQ(plain.products[2].variations.size(), 3);
    EXPECT_EQ(plain.products[2].variations[1].stockQuantity, 40);
    EXPECT_EQ(plain.products[2].variations[1].attributeOption, QStringLiteral("Taille 32"));
    EXPECT_EQ(plain.products[3].stockQuantity, 0);

    // Items in order: 1, 2, 31, 32, 4, 5, 33.
    const auto drifted = DemoCatalog::fromDocument(document, DemoSeedOptions{2, 0});
    EXPECT_EQ(drifted.products[1].stockQuantity, 22);               // item 2
    EXPECT_EQ(drifted.products[2].variations[1].stockQuantity, 39); // item 4
    EXPECT_EQ(drifted.products[4].stockQuantity, 52);               // item 6
    EXPECT_EQ(drifted.products[0].stockQuantity, 10);

    const auto unmanaged = DemoCatalog::fromDocument(document, DemoSeedOptions{0, 2});
    EXPECT_EQ(unmanaged.products[1].management, DemoStockManagement::notManaged);
    EXPECT_EQ(unmanaged.products[1].stockQuantity, std::nullopt);
    EXPECT_EQ(unmanaged.products[2].variations[1].management, DemoStockManagement::parent);
    EXPECT_EQ(unmanaged.products[2].management, DemoStockManagement::managed);
    EXPECT_EQ(unmanaged.products[2].stockQuantity, 40);

    EXPECT_EQ(DemoCatalog::fromJson(plain.toJson()).products.size(), plain.products.size());
    EXPECT_THROW(DemoCatalog::fromJson("{\"products\": [{\"name\": \"no id\"}]}"), std::runtime_error);
}

} // namespace
} // namespace tallybrook
