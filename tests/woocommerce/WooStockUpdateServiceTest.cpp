#include "woocommerce/WooStockUpdateService.h"

#include "WooTestSupport.h"
#include "corrections/WooCorrectionBuilder.h"
#include "woocommerce/WooCommerceAPIError.h"

#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace std::chrono_literals;
using test::documentWith;
using test::shopRow;
using test::ShopTest;
using test::targetsOf;

const QDateTime fixedNow(QDate(2024, 6, 1), QTime(8, 30), Qt::UTC);

class WooStockUpdateServiceTest : public ShopTest {
protected:
    WooStockUpdateService service(QtHttpTransport::Options options = {},
                                  QString secret = QStringLiteral("cs_demo")) {
        return WooStockUpdateService(WooCommerceAPIClient(shop->url(), QStringLiteral("ck_demo"),
                                                          std::move(secret), transport(options)),
                                     [] { return fixedNow; });
    }

    static RemoteStockLevel level(const InventoryExportRow& row, std::optional<QString> variant,
                                  std::optional<qint64> quantity, std::optional<bool> managed) {
        return RemoteStockLevel{QUuid::fromString(*row.localItemId),
                                row.externalProductId,
                                std::move(variant),
                                quantity,
                                managed,
                                fixedNow};
    }

    struct IssueText {
        QString itemName;
        QString message;
        bool operator==(const IssueText&) const = default;
    };
    static QList<IssueText> issueTexts(const RemoteStockReloadReport& report) {
        QList<IssueText> texts;
        for (const auto& issue : report.issues) {
            texts.append({issue.itemName, issue.message});
        }
        return texts;
    }
};

TEST_F(WooStockUpdateServiceTest, ReadsEachDistinctKeyOnceAndReportsEveryProblem) {
    auto withSku = shopRow(QStringLiteral("13"));
    withSku.sku = QStringLiteral("SKU-13");
    auto badLocalId = shopRow(QStringLiteral("40"), std::nullopt, QStringLiteral("Vase"));
    badLocalId.localItemId = QStringLiteral("not-a-uuid");
    const auto document = documentWith({
        shopRow(QStringLiteral("12"), std::nullopt, QStringLiteral("Bougie")),            // 0
        shopRow(QStringLiteral("12"), std::nullopt, QStringLiteral("Bougie bis")),        // same key
        shopRow(QStringLiteral("12"), QString(), QStringLiteral("Bougie vide")),          // same key "12:"
        shopRow(QStringLiteral("abc"), std::nullopt, QStringLiteral("Mystère")),          // not numeric
        shopRow(QStringLiteral("12"), QStringLiteral("x9"), QStringLiteral("Bougie x9")), // 4: product path
        shopRow(QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("Robe M")),    // 5
        shopRow(QStringLiteral("30"), QStringLiteral("32"), QStringLiteral("Pull L")), // 6: falls back to 30
        shopRow(QStringLiteral("20"), QStringLiteral("23"), QStringLiteral("Robe S")), // 7: fallback has none
        shopRow(QStringLiteral("14"), std::nullopt, QStringLiteral("Carte")), // 8: product without stock
        shopRow(QStringLiteral("99")),                                        // 9: unknown, unnamed
        shopRow(QString()),                                                   // skipped
        shopRow(std::nullopt, QStringLiteral("21")),                          // skipped
        shopRow(QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("Robe L")), // 12: "parent", none
        shopRow(QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("Pull M")), // 13: "parent", 9
        withSku,                                                                       // 14
        shopRow(QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("Robe M bis")), // same key
        badLocalId,                                                                        // 16
    });
    const auto report = service().fetchCurrentStocksWithReport(document);
    const auto& rows = document.rows;

    EXPECT_EQ(
        targetsOf(shop->requestLog()),
        (QStringList{
            root() + QStringLiteral("/products/12"), root() + QStringLiteral("/products/12"),
            root() + QStringLiteral("/products/20/variations/21"),
            root() + QStringLiteral("/products/30/variations/32"), root() + QStringLiteral("/products/30"),
            root() + QStringLiteral("/products/20/variations/23"), root() + QStringLiteral("/products/20"),
            root() + QStringLiteral("/products/14"), root() + QStringLiteral("/products/99"),
            root() + QStringLiteral("/products/20/variations/22"), root() + QStringLiteral("/products/20"),
            root() + QStringLiteral("/products/30/variations/31"), root() + QStringLiteral("/products/13"),
            root() + QStringLiteral("/products/40")}));
    EXPECT_EQ(report.requestedItemCount, 12);
    EXPECT_EQ(report.quantityCount, 7);
    RemoteStockLevel withoutLocalId = level(rows[16], std::nullopt, 7, true);
    withoutLocalId.localItemId = std::nullopt;
    EXPECT_EQ(report.levels, (QList<RemoteStockLevel>{
                                 level(rows[0], std::nullopt, 5, true),
                                 level(rows[4], std::nullopt, 5, true),
                                 level(rows[5], QStringLiteral("21"), 3, true),
                                 level(rows[6], QStringLiteral("32"), 9, true),
                                 level(rows[7], QStringLiteral("23"), std::nullopt, false),
                                 level(rows[8], std::nullopt, std::nullopt, false),
                                 level(rows[9], std::nullopt, std::nullopt, std::nullopt),
                                 level(rows[12], QStringLiteral("22"), std::nullopt, false),
                                 level(rows[13], QStringLiteral("31"), 9, false),
                                 level(rows[14], std::nullopt, 0, true),
                                 withoutLocalId,
                             }));
    const QString notFound = QStringLiteral(
        R"(WooCommerce error 404: {"code":"woocommerce_rest_product_invalid_id","data":{"status":404},"message":"Invalid ID."})");
    EXPECT_EQ(
        issueTexts(report),
        (QList<IssueText>{
            {QStringLiteral("Mystère"), QStringLiteral("WooCommerce product identifier is not numeric.")},
            {QStringLiteral("Robe S"),
             QStringLiteral("WooCommerce did not return a stock quantity for this variation.")},
            {QStringLiteral("Carte"),
             QStringLiteral("WooCommerce did not return a stock quantity for this product.")},
            {QStringLiteral("Unnamed item"), notFound},
            {QStringLiteral("Robe L"),
             QStringLiteral("WooCommerce did not return a stock quantity for this variation.")},
        }));
    EXPECT_EQ(report.issues[0].externalProductId, QStringLiteral("abc"));
    EXPECT_EQ(report.issues[1].externalVariantId, QStringLiteral("23"));
    EXPECT_NE(report.issues[0].id, report.issues[1].id);
}

TEST_F(WooStockUpdateServiceTest, ANameFallsBackToSkuThenBarcodeThenUnnamed) {
    auto sku = shopRow(QStringLiteral("91"));
    sku.sku = QStringLiteral("SKU-91");
    sku.barcode = QStringLiteral("3760000000091");
    auto barcode = shopRow(QStringLiteral("92"));
    barcode.barcode = QStringLiteral("3760000000092");
    const auto report =
        service().fetchCurrentStocksWithReport(documentWith({sku, barcode, shopRow(QStringLiteral("93"))}));
    ASSERT_EQ(report.issues.size(), 3);
    EXPECT_EQ(report.issues[0].itemName, QStringLiteral("SKU-91"));
    EXPECT_EQ(report.issues[1].itemName, QStringLiteral("3760000000092"));
    EXPECT_EQ(report.issues[2].itemName, QStringLiteral("Unnamed item"));
}

TEST_F(WooStockUpdateServiceTest, EveryFailureBecomesAnIssueAndTheReloadGoesOn) {
    shop->setSlowAnswerDelay(5s);
    shop->setHugeBodyBytes(3 * 1024 * 1024);
    shop->addFault({DemoShopFault::serverError, QStringLiteral("/products/12")});
    shop->addFault({DemoShopFault::dropConnection, QStringLiteral("/products/13")});
    shop->addFault({DemoShopFault::notJson, QStringLiteral("/products/14")});
    shop->addFault({DemoShopFault::emptyBody, QStringLiteral("/variations/21")});
    shop->addFault({DemoShopFault::wrongShape, QStringLiteral("/variations/31")});
    shop->addFault({DemoShopFault::slowAnswer, QStringLiteral("/variations/23")});
    shop->addFault({DemoShopFault::hugeBody, QStringLiteral("/products/40")});
    shop->addFault({DemoShopFault::tooManyRequests, QStringLiteral("/products/30")});
    QtHttpTransport::Options options;
    options.transferTimeout = 300ms;
    options.maxBodyBytes = 1024 * 1024;
    const auto document = documentWith({
        shopRow(QStringLiteral("12"), std::nullopt, QStringLiteral("a")),
        shopRow(QStringLiteral("13"), std::nullopt, QStringLiteral("b")),
        shopRow(QStringLiteral("14"), std::nullopt, QStringLiteral("c")),
        shopRow(QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("d")),
        shopRow(QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("e")),
        shopRow(QStringLiteral("20"), QStringLiteral("23"), QStringLiteral("f")),
        shopRow(QStringLiteral("40"), std::nullopt, QStringLiteral("g")),
        shopRow(QStringLiteral("30"), QStringLiteral("32"), QStringLiteral("h")), // fallback to 30 fails: 429
        shopRow(QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("i")),
    });
    const auto report = service(options).fetchCurrentStocksWithReport(document);

    EXPECT_EQ(report.requestedItemCount, 9);
    EXPECT_EQ(report.quantityCount, 0);
    ASSERT_EQ(report.levels.size(), 9);
    ASSERT_EQ(report.issues.size(), 9);
    const auto message = [&](int index) { return report.issues[index].message; };
    EXPECT_TRUE(
        message(0).startsWith(QStringLiteral("WooCommerce error 500: {\"code\":\"internal_server_error\"")));
    EXPECT_FALSE(message(1).isEmpty());
    EXPECT_TRUE(message(2).startsWith(QStringLiteral("Invalid WooCommerce response. (not JSON")));
    EXPECT_EQ(message(3), QStringLiteral("Empty WooCommerce response."));
    EXPECT_EQ(message(4), QStringLiteral("Invalid WooCommerce response. (answer: expected an object)"));
    EXPECT_EQ(message(5), QStringLiteral("The request timed out."));
    EXPECT_TRUE(message(6).contains(QStringLiteral("larger than")));
    // A failed fallback read is not reported as such: the variation simply has no stock.
    EXPECT_EQ(message(7), QStringLiteral("WooCommerce did not return a stock quantity for this variation."));
    EXPECT_EQ(report.levels[7].stockManaged, false);
    EXPECT_EQ(message(8), QStringLiteral("WooCommerce did not return a stock quantity for this variation."));
    for (int index = 0; index < 7; ++index) {
        EXPECT_EQ(report.levels[index].quantity, std::nullopt);
        EXPECT_EQ(report.levels[index].stockManaged, std::nullopt);
    }
    EXPECT_EQ(report.levels[3].externalVariantId, QStringLiteral("21"));
}

TEST_F(WooStockUpdateServiceTest, RefusedCredentialsEndTheRequestsButNotTheReport) {
    const auto document =
        documentWith({shopRow(QStringLiteral("12")), shopRow(QStringLiteral("abc")),
                      shopRow(QStringLiteral("20"), QStringLiteral("21")), shopRow(QStringLiteral("12"))});
    const auto report = service({}, QStringLiteral("wrong")).fetchCurrentStocksWithReport(document);
    EXPECT_EQ(shop->requestCount(), 1);
    EXPECT_EQ(report.requestedItemCount, 3);
    ASSERT_EQ(report.levels.size(), 2);
    EXPECT_EQ(report.levels[1].externalVariantId, QStringLiteral("21"));
    EXPECT_EQ(report.levels[1].quantity, std::nullopt);
    ASSERT_EQ(report.issues.size(), 3);
    EXPECT_TRUE(report.issues[0].message.contains(QStringLiteral("Consumer secret is invalid.")));
    EXPECT_EQ(report.issues[1].message, QStringLiteral("WooCommerce product identifier is not numeric."));
    EXPECT_EQ(report.issues[2].message, report.issues[0].message);
}

// WooCommerce answers a variation's id on the product route, and refuses it there on PUT: the
// row gets the fix in its issue and no quantity, so it is never offered as ready.
TEST_F(WooStockUpdateServiceTest, AVariationIdGivenAsAProductIdIsNeverReady) {
    auto row = shopRow(QStringLiteral("21"), std::nullopt, QStringLiteral("Robe M"));
    row.source = QStringLiteral("woocommerce");
    row.countedQuantity = 5;
    row.referenceQuantity = 3;
    const auto document = documentWith({row});
    const auto report = service().fetchCurrentStocksWithReport(document);
    ASSERT_EQ(report.issues.size(), 1);
    EXPECT_EQ(report.issues[0].message,
              QStringLiteral("Identifier 21 belongs to a WooCommerce variation, not a "
                             "product: give this row product 20 and variation 21."));
    EXPECT_EQ(report.levels, (QList<RemoteStockLevel>{level(row, std::nullopt, std::nullopt, std::nullopt)}));
    EXPECT_EQ(report.quantityCount, 0);
    EXPECT_EQ(WooCorrectionBuilder().buildPreviews(document, report.levels).at(0).status,
              WooCorrectionStatus::remoteStockChanged);
}

TEST_F(WooStockUpdateServiceTest, MessagesFollowTheLanguageInForceWhenMade) {
    test::useLanguage(AppLanguage::french);
    const auto report = service().fetchCurrentStocksWithReport(documentWith(
        {shopRow(QStringLiteral("abc")), shopRow(QStringLiteral("14")), shopRow(QStringLiteral("5x"))}));
    ASSERT_EQ(report.issues.size(), 3);
    EXPECT_EQ(report.issues[0].itemName, QStringLiteral("Article sans nom"));
    EXPECT_EQ(report.issues[0].message, QStringLiteral("Identifiant produit WooCommerce non numérique."));
    EXPECT_EQ(report.issues[1].message,
              QStringLiteral("WooCommerce ne renvoie pas de quantité de stock pour ce produit."));
}

TEST_F(WooStockUpdateServiceTest, ObserverFollowsEachKeyAndCanStopBetweenTwo) {
    const auto document =
        documentWith({shopRow(QStringLiteral("12")), shopRow(QStringLiteral("12")),
                      shopRow(QStringLiteral("abc")), shopRow(QStringLiteral("13")),
                      shopRow(QStringLiteral("40")), shopRow(QStringLiteral("20"), QStringLiteral("21"))});
    QList<std::pair<qint64, qint64>> progress;
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { progress.append({done, total}); };
    const auto full = service().fetchCurrentStocksWithReport(document, observer);
    EXPECT_EQ(progress, (QList<std::pair<qint64, qint64>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(full, [&] {
        auto plain = service().fetchCurrentStocksWithReport(document);
        for (qsizetype index = 0; index < plain.issues.size(); ++index) {
            plain.issues[index].id = full.issues[index].id;
        }
        return plain;
    }());

    shop->clearRequestLog();
    progress.clear();
    observer.shouldStop = [&] { return progress.size() >= 3; };
    const auto stopped = service().fetchCurrentStocksWithReport(document, observer);
    EXPECT_EQ(targetsOf(shop->requestLog()), (QStringList{root() + QStringLiteral("/products/12"),
                                                          root() + QStringLiteral("/products/13")}));
    EXPECT_EQ(stopped.requestedItemCount, 3);
    EXPECT_EQ(stopped.levels.size(), 2);
    EXPECT_EQ(stopped.issues.size(), 1);
}

// Answers no demo shop gives (a product without "manage_stock", a variation without any
// stock field): the rules of one key read, one table row each.
TEST(WooStockUpdateServiceRulesTest, OneKeyGivesTheLevelAndIssueOfItsAnswers) {
    test::useLanguage(AppLanguage::english);
    const QString noVariationStock =
        QStringLiteral("WooCommerce did not return a stock quantity for this variation.");
    const QString noProductStock =
        QStringLiteral("WooCommerce did not return a stock quantity for this product.");
    struct Case {
        const char* name;
        std::optional<QString> variant;
        QList<HttpResponse> answers;
        QStringList paths;
        std::optional<QString> levelVariant;
        std::optional<qint64> quantity;
        std::optional<bool> stockManaged;
        std::optional<QString> issue;
    };
    const QString variation = QStringLiteral("/wp-json/wc/v3/products/20/variations/21");
    const QString product = QStringLiteral("/wp-json/wc/v3/products/20");
    const QString v21 = QStringLiteral("21");
    const Case cases[] = {
        {"own stock",
         v21,
         {{200, {}, R"({"id": 21, "manage_stock": true, "stock_quantity": 0})"}},
         {variation},
         v21,
         0,
         true,
         std::nullopt},
        {"parent's stock, parent says nothing of management",
         v21,
         {{200, {}, R"({"id": 21, "manage_stock": true, "stock_quantity": null})"},
          {200, {}, R"({"id": 20, "stock_quantity": 4})"}},
         {variation, product},
         v21,
         4,
         true,
         std::nullopt},
        {"parent's stock and management",
         v21,
         {{200, {}, R"({"id": 21, "manage_stock": true})"},
          {200, {}, R"({"id": 20, "manage_stock": false, "stock_quantity": 4})"}},
         {variation, product},
         v21,
         4,
         false,
         std::nullopt},
        {"no stock anywhere",
         v21,
         {{200, {}, R"({"id": 21})"}, {200, {}, R"({"id": 20})"}},
         {variation, product},
         v21,
         std::nullopt,
         std::nullopt,
         noVariationStock},
        {"parent unreadable: the variation's management",
         v21,
         {{200, {}, R"({"id": 21, "manage_stock": "parent"})"}, {500, {}, "down"}},
         {variation, product},
         v21,
         std::nullopt,
         false,
         noVariationStock},
        {"variation unreadable",
         v21,
         {{404, {}, "gone"}},
         {variation},
         v21,
         std::nullopt,
         std::nullopt,
         QStringLiteral("WooCommerce error 404: a text answer, not the WooCommerce API: gone")},
        {"variation not numeric: product read, variant dropped",
         QStringLiteral("x9"),
         {{200, {}, R"({"id": 20, "manage_stock": true, "stock_quantity": 6})"}},
         {product},
         std::nullopt,
         6,
         true,
         std::nullopt},
        {"variation not numeric, product unreadable: variant kept",
         QStringLiteral("x9"),
         {{500, {}, "down"}},
         {product},
         QStringLiteral("x9"),
         std::nullopt,
         std::nullopt,
         QStringLiteral("WooCommerce error 500: a text answer, not the WooCommerce API: down")},
        {"empty variation, product unreadable: kept empty",
         QString(),
         {{500, {}, "down"}},
         {product},
         QString(),
         std::nullopt,
         std::nullopt,
         QStringLiteral("WooCommerce error 500: a text answer, not the WooCommerce API: down")},
        {"product without stock",
         std::nullopt,
         {{200, {}, R"({"id": 20, "manage_stock": false})"}},
         {product},
         std::nullopt,
         std::nullopt,
         false,
         noProductStock},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto transport = std::make_shared<test::ScriptedTransport>();
        transport->answers.assign(c.answers.cbegin(), c.answers.cend());
        const WooStockUpdateService service(WooCommerceAPIClient(QUrl(QStringLiteral("https://shop.example")),
                                                                 QStringLiteral("k"), QStringLiteral("s"),
                                                                 transport),
                                            [] { return fixedNow; });
        const InventoryExportRow row = shopRow(QStringLiteral("20"), c.variant, QStringLiteral("Robe"));
        const auto report = service.fetchCurrentStocksWithReport(documentWith({row}));

        QStringList paths;
        for (const HttpRequest& request : transport->requests) {
            paths.append(request.url.path());
        }
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(report.requestedItemCount, 1);
        EXPECT_EQ(report.quantityCount, c.quantity ? 1 : 0);
        EXPECT_EQ(report.levels, (QList<RemoteStockLevel>{RemoteStockLevel{
                                     QUuid::fromString(*row.localItemId), QStringLiteral("20"),
                                     c.levelVariant, c.quantity, c.stockManaged, fixedNow}}));
        ASSERT_EQ(report.issues.size(), c.issue ? 1 : 0);
        if (c.issue) {
            EXPECT_EQ(report.issues[0].message, *c.issue);
            EXPECT_EQ(report.issues[0].itemName, QStringLiteral("Robe"));
            EXPECT_EQ(report.issues[0].externalVariantId, c.variant);
        }
    }
}

TEST_F(WooStockUpdateServiceTest, UpdateStockPicksTheVariationOnlyForANumericOne) {
    const auto stockService = service();
    EXPECT_EQ(stockService.updateStock(QStringLiteral("20"), QStringLiteral("21"), 6), 6);
    EXPECT_EQ(stockService.updateStock(QStringLiteral("40"), QStringLiteral("x9"), -2), 0);
    EXPECT_EQ(stockService.updateStock(QStringLiteral("0013"), QString(), 4), 4);
    EXPECT_EQ(stockService.updateStock(QStringLiteral("14"), std::nullopt, 1), 1);
    EXPECT_EQ(shop->stock(20, 21), 6);
    EXPECT_EQ(shop->stock(40), 0);
    EXPECT_EQ(shop->stock(14), 1);
    EXPECT_EQ(targetsOf(shop->requestLog()),
              (QStringList{root() + QStringLiteral("/products/20/variations/21"),
                           root() + QStringLiteral("/products/40"), root() + QStringLiteral("/products/13"),
                           root() + QStringLiteral("/products/14")}));

    for (const QString& id :
         {QString(), QStringLiteral("abc"), QStringLiteral(" 12"), QStringLiteral("1.0")}) {
        try {
            stockService.updateStock(id, std::nullopt, 3);
            ADD_FAILURE() << id.toStdString();
        } catch (const WooCommerceAPIError& error) {
            EXPECT_EQ(error.errorCase(), WooCommerceAPIError::Case::invalidURL);
        }
    }
    EXPECT_EQ(shop->requestCount(), 4);
}

} // namespace
} // namespace tallybrook
