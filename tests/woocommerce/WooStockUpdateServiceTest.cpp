#include "woocommerce/WooStockUpdateService.h"

#include "WooTestSupport.h"
#include "corrections/WooCorrectionBuilder.h"
#include "woocommerce/WooCommerceAPIError.h"

#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using test::documentWith;
using test::shopRow;
using test::targetsOf;

using test::fixedNow;
const QString noVariationStock = u"WooCommerce did not return a stock quantity for this variation."_s;
const QString noProductStock = u"WooCommerce did not return a stock quantity for this product."_s;
const QString notNumeric = u"WooCommerce product identifier is not numeric."_s;

RemoteStockLevel level(const InventoryExportRow& row, std::optional<QString> variant,
                       std::optional<qint64> quantity, std::optional<bool> managed, bool byParent = false) {
    return RemoteStockLevel{QUuid::fromString(row.localItemId.value_or(QString())),
                            row.externalProductId,
                            std::move(variant),
                            quantity,
                            managed,
                            fixedNow,
                            byParent};
}

using Texts = QList<std::pair<QString, QString>>;

// Item name and message of each issue.
Texts issueTexts(const RemoteStockReloadReport& report) {
    Texts texts;
    for (const auto& issue : report.issues) {
        texts.append({issue.itemName, issue.message});
    }
    return texts;
}

class WooStockUpdateServiceTest : public test::ShopTest {
protected:
    WooStockUpdateService service(QtHttpTransport::Options options = {}, QString secret = u"cs_demo"_s) {
        return WooStockUpdateService(client(std::nullopt, std::move(secret), std::move(options)),
                                     [] { return fixedNow; });
    }
};

TEST_F(WooStockUpdateServiceTest, ReadsEachDistinctKeyOnceAndReportsEveryProblem) {
    auto named = [](const char* product, std::optional<QString> variant, const char* name,
                    const char* sku = nullptr, const char* barcode = nullptr) {
        auto row = shopRow(QString::fromLatin1(product), std::move(variant),
                           name ? std::optional(QString::fromUtf8(name)) : std::nullopt);
        row.sku = sku ? std::optional(QString::fromLatin1(sku)) : std::nullopt;
        row.barcode = barcode ? std::optional(QString::fromLatin1(barcode)) : std::nullopt;
        return row;
    };
    auto badLocalId = named("40", {}, "Vase");
    badLocalId.localItemId = u"not-a-uuid"_s;
    // A variation's id as product id: WooCommerce answers it on the product route but refuses it
    // there on PUT; the row gets the fix in its issue and no quantity, so it is never ready.
    auto variationAsProduct = named("21", {}, "Robe M seule");
    variationAsProduct.source = u"woocommerce"_s;
    variationAsProduct.countedQuantity = 5;
    variationAsProduct.referenceQuantity = 3;
    // clang-format off
    const auto document = documentWith({
        named("12", {}, "Bougie"), named("12", {}, "Bougie bis"), named("12", QString(), "Bougie vide"), // 0; one key "12:"
        named("abc", {}, "Mystère"), named("12", u"x9"_s, "Bougie x9"), named("20", u"21"_s, "Robe M"), // 3 not numeric, 4 product path
        named("30", u"32"_s, "Pull L"),       // 6: falls back to product 30
        named("20", u"23"_s, "Robe S"),       // 7: the fallback has no stock either
        named("14", {}, "Carte"),             // 8: product without stock
        named("99", {}, nullptr, "SKU-99", "3760000000099"), shopRow(QString()), shopRow({}, u"21"_s), // 9 unknown; 2 skipped
        named("20", u"22"_s, "Robe L"),       // 12: "parent" of a product without stock
        named("30", u"31"_s, "Pull M"),       // 13: "parent", 9
        named("13", {}, nullptr, "SKU-13"), named("20", u"21"_s, "Robe M bis"), badLocalId, // 14, same key, 16
        named("98", {}, nullptr, nullptr, "3760000000098"), named("97", {}, nullptr), // 17, 18: unknown
        variationAsProduct, // 19
    });
    const auto report = service().fetchCurrentStocksWithReport(document);
    const auto& rows = document.rows;
    EXPECT_EQ(targetsOf(shop->requestLog()),
              (QStringList{u"/products/12"_s, u"/products/12"_s, u"/products/20/variations/21"_s, u"/products/30/variations/32"_s,
                           u"/products/30"_s, u"/products/20/variations/23"_s, u"/products/20"_s, u"/products/14"_s, u"/products/99"_s,
                           u"/products/20/variations/22"_s, u"/products/20"_s, u"/products/30/variations/31"_s, u"/products/13"_s,
                           u"/products/40"_s, u"/products/98"_s, u"/products/97"_s, u"/products/21"_s}));
    EXPECT_EQ(report.requestedItemCount, 15);
    EXPECT_EQ(report.quantityCount, 7);
    RemoteStockLevel withoutLocalId = level(rows[16], {}, 7, true);
    withoutLocalId.localItemId = std::nullopt;
    EXPECT_EQ(report.levels, (QList<RemoteStockLevel>{
        level(rows[0], {}, 5, true), level(rows[4], {}, 5, true), level(rows[5], u"21"_s, 3, true), level(rows[6], u"32"_s, 9, true),
        level(rows[7], u"23"_s, {}, false), level(rows[8], {}, {}, false), level(rows[9], {}, {}, {}), level(rows[12], u"22"_s, {}, false),
        level(rows[13], u"31"_s, 9, false, true), level(rows[14], {}, 0, true), withoutLocalId, level(rows[17], {}, {}, {}),
        level(rows[18], {}, {}, {}), level(rows[19], {}, {}, {})}));
    const QString notFound = uR"(WooCommerce error 404: {"code":"woocommerce_rest_product_invalid_id","data":{"status":404},"message":"Invalid ID."})"_s;
    EXPECT_EQ(issueTexts(report), (Texts{{u"Mystère"_s, notNumeric}, {u"Robe S"_s, noVariationStock}, {u"Carte"_s, noProductStock},
                                         {u"SKU-99"_s, notFound}, {u"Robe L"_s, noVariationStock}, {u"3760000000098"_s, notFound},
                                         {u"Unnamed item"_s, notFound}, {u"Robe M seule"_s, u"Identifier 21 belongs to a WooCommerce "
                                         u"variation, not a product: give this row product 20 and variation 21."_s}}));
    // clang-format on
    EXPECT_EQ(report.issues[0].externalProductId, u"abc"_s);
    EXPECT_EQ(report.issues[1].externalVariantId, u"23"_s);
    EXPECT_NE(report.issues[0].id, report.issues[1].id);
    EXPECT_EQ(WooCorrectionBuilder().buildPreviews(document, report.levels).last().status,
              WooCorrectionStatus::remoteStockChanged);

    // In batches: the same report from include= reads, the ids an answer leaves out read alone.
    shop->clearRequestLog();
    const auto batched = WooStockUpdateService(client(), [] { return fixedNow; }, WooRequestMode::batch)
                             .fetchCurrentStocksWithReport(document);
    EXPECT_EQ(batched.levels, report.levels);
    EXPECT_EQ(issueTexts(batched), issueTexts(report));
    EXPECT_EQ(std::pair(batched.requestedItemCount, batched.quantityCount),
              std::pair(report.requestedItemCount, report.quantityCount));
    const QString fields = u"&per_page=100&orderby=include&_fields=id%2Ctype%2Cparent_id%2Cmanage_stock%2Cstock_quantity%2Cstock_status%2Cdate_modified_gmt"_s;
    EXPECT_EQ(targetsOf(shop->requestLog()),
              (QStringList{u"/products?include=12%2C14%2C99%2C13%2C40%2C98%2C97%2C21"_s + fields,
                           u"/products/99"_s, u"/products/98"_s, u"/products/97"_s, u"/products/21"_s,
                           u"/products/20/variations?include=21%2C23%2C22"_s + fields,
                           u"/products/30/variations?include=32%2C31"_s + fields,
                           u"/products?include=30%2C20"_s + fields}));
}

// Transport, decoding and status failures alike become the key's issue; the reload goes on.
TEST_F(WooStockUpdateServiceTest, EveryFailureBecomesAnIssueAndTheReloadGoesOn) {
    shop->addFault({DemoShopFault::serverError, u"/products/12"_s});
    shop->addFault({DemoShopFault::dropConnection, u"/products/13"_s});
    shop->addFault({DemoShopFault::notJson, u"/variations/21"_s});
    shop->addFault({DemoShopFault::tooManyRequests, u"/products/30"_s}); // the fallback of 30:32
    const auto document = documentWith({shopRow(u"12"_s), shopRow(u"13"_s), shopRow(u"20"_s, u"21"_s),
                                        shopRow(u"30"_s, u"32"_s), shopRow(u"40"_s)});
    const auto report = service().fetchCurrentStocksWithReport(document);
    const auto& rows = document.rows;
    EXPECT_EQ(report.levels,
              (QList<RemoteStockLevel>{level(rows[0], {}, {}, {}), level(rows[1], {}, {}, {}),
                                       level(rows[2], u"21"_s, {}, {}), level(rows[3], u"32"_s, {}, false),
                                       level(rows[4], {}, 7, true)}));
    ASSERT_EQ(report.issues.size(), 4);
    EXPECT_TRUE(
        report.issues[0].message.startsWith(u"WooCommerce error 500: {\"code\":\"internal_server_error\""_s));
    EXPECT_FALSE(report.issues[1].message.isEmpty());
    EXPECT_TRUE(report.issues[2].message.startsWith(u"Invalid WooCommerce response. (not JSON"_s));
    EXPECT_EQ(report.issues[3].message, noVariationStock); // a failed fallback read is not reported as such
}

TEST_F(WooStockUpdateServiceTest, RefusedCredentialsEndTheRequestsButNotTheReport) {
    const auto document = documentWith(
        {shopRow(u"12"_s), shopRow(u"abc"_s), shopRow(u"20"_s, u"21"_s), shopRow(u"12"_s), shopRow(u"13"_s)});
    const auto report = service({}, u"wrong"_s).fetchCurrentStocksWithReport(document);
    EXPECT_EQ(shop->requestCount(), 1);
    EXPECT_EQ(report.requestedItemCount, 4);
    EXPECT_EQ(report.levels, (QList<RemoteStockLevel>{level(document.rows[0], std::nullopt, {}, {}),
                                                      level(document.rows[2], u"21"_s, {}, {}),
                                                      level(document.rows[4], std::nullopt, {}, {})}));
    const QString refusal = uR"(WooCommerce error 401: {"code":"woocommerce_rest_authentication_error",)"
                            uR"("data":{"status":401},"message":"Consumer secret is invalid."})"_s;
    EXPECT_EQ(issueTexts(report), (Texts{{u"Unnamed item"_s, refusal},
                                         {u"Unnamed item"_s, notNumeric},
                                         {u"Unnamed item"_s, refusal},
                                         {u"Unnamed item"_s, refusal}}));
}

TEST_F(WooStockUpdateServiceTest, MessagesFollowTheLanguageInForceWhenMade) {
    test::useLanguage(AppLanguage::french);
    const auto report =
        service().fetchCurrentStocksWithReport(documentWith({shopRow(u"abc"_s), shopRow(u"20"_s, u"23"_s), shopRow(u"32"_s)}));
    EXPECT_EQ(issueTexts(report),
              (Texts{{u"Article sans nom"_s, u"Identifiant produit WooCommerce non numérique."_s},
                     {u"Article sans nom"_s, u"WooCommerce ne renvoie pas de quantité de stock pour cette variation."_s},
                     {u"Article sans nom"_s, u"L'identifiant 32 est celui d'une variation WooCommerce, pas d'un "
                                             u"produit: indiquez pour cette ligne le produit 30 et la variation 32."_s}}));
}

TEST_F(WooStockUpdateServiceTest, ObserverFollowsEachKeyAndCanStopBetweenTwo) {
    const auto document = documentWith({shopRow(u"12"_s), shopRow(u"12"_s), shopRow(u"abc"_s),
                                        shopRow(u"13"_s), shopRow(u"40"_s), shopRow(u"20"_s, u"21"_s)});
    QList<std::pair<qint64, qint64>> progress;
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { progress.append({done, total}); };
    EXPECT_EQ(service().fetchCurrentStocksWithReport(document, observer).quantityCount, 4);
    // The key that is not a number needs no request: it counts as done from the start.
    EXPECT_EQ(progress, (QList<std::pair<qint64, qint64>>{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));

    shop->clearRequestLog();
    progress.clear();
    observer.shouldStop = [&] { return progress.size() >= 2; };
    const auto stopped = service().fetchCurrentStocksWithReport(document, observer);
    EXPECT_EQ(targetsOf(shop->requestLog()), (QStringList{u"/products/12"_s, u"/products/13"_s}));
    EXPECT_EQ(stopped.requestedItemCount, 3);
    EXPECT_EQ(stopped.levels.size(), 2);
    EXPECT_EQ(stopped.issues.size(), 1);
}

// Answers no demo shop gives (a product without "manage_stock", a variation without any
// stock field, a parent that fails): the rules of one key read, one table row each. Paths: v = the variation,
// p = the product.
TEST(WooStockUpdateServiceRulesTest, OneKeyGivesTheLevelAndIssueOfItsAnswers) {
    test::useLanguage(AppLanguage::english);
    struct Case {
        const char* name;
        std::optional<QString> variant;
        QList<HttpResponse> answers;
        const char* paths;
        std::optional<QString> levelVariant;
        std::optional<qint64> quantity;
        std::optional<bool> managed;
        std::optional<QString> issue;
        bool byParent = false;
    };
    const QString v21 = u"21"_s;
    const QString textDown = u"WooCommerce error 500: a text answer, not the WooCommerce API: down"_s;
    const QString variation =
        u"Identifier 20 belongs to a WooCommerce variation, not a product: give this row "
        u"product ? and variation 20."_s;
    // clang-format off
    const Case cases[] = {
        {"parent's stock, parent silent on management", v21, {{200, {}, R"({"id": 21, "manage_stock": true, "stock_quantity": null})"},
                                                              {200, {}, R"({"id": 20, "stock_quantity": 4})"}}, "vp", v21, 4, true, {}},
        {"parent's stock and management", v21, {{200, {}, R"({"id": 21, "manage_stock": true})"},
                                                {200, {}, R"({"id": 20, "manage_stock": false, "stock_quantity": 4})"}}, "vp", v21, 4, false, {}},
        {"no stock anywhere", v21, {{200, {}, R"({"id": 21})"}, {200, {}, R"({"id": 20})"}}, "vp", v21, {}, {}, noVariationStock},
        {"parent unreadable: the variation's management", v21, {{200, {}, R"({"id": 21, "manage_stock": "parent"})"}, {500, {}, "down"}},
         "vp", v21, {}, false, noVariationStock, true},
        {"variation unreadable", v21, {{404, {}, R"({"code":"x"})"}}, "v", v21, {}, {}, uR"(WooCommerce error 404: {"code":"x"})"_s},
        {"variation not numeric, product unreadable: variant kept", u"x9"_s, {{500, {}, "down"}}, "p", u"x9"_s, {}, {}, textDown},
        {"empty variation, product unreadable: kept empty", QString(), {{500, {}, "down"}}, "p", QString(), {}, {}, textDown},
        {"a variation without its parent", {}, {{200, {}, R"({"id": 20, "type": "variation", "parent_id": 0})"}}, "p", {}, {}, {},
         variation},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto transport = std::make_shared<test::ScriptedTransport>();
        transport->answers.assign(c.answers.cbegin(), c.answers.cend());
        const WooStockUpdateService service(test::scriptedClient(transport), [] { return fixedNow; });
        const InventoryExportRow row = shopRow(u"20"_s, c.variant, u"Robe"_s);
        const auto report = service.fetchCurrentStocksWithReport(documentWith({row}));

        QString paths;
        for (const HttpRequest& request : transport->requests) {
            paths += request.url.path().endsWith(u"/variations/21") ? u'v' : u'p';
        }
        EXPECT_EQ(paths, QString::fromLatin1(c.paths));
        EXPECT_EQ(report.requestedItemCount, 1);
        EXPECT_EQ(report.quantityCount, c.quantity ? 1 : 0);
        EXPECT_EQ(report.levels,
                  (QList<RemoteStockLevel>{level(row, c.levelVariant, c.quantity, c.managed, c.byParent)}));
        ASSERT_EQ(report.issues.size(), c.issue ? 1 : 0);
        if (c.issue) {
            EXPECT_EQ(report.issues[0].message, *c.issue);
            EXPECT_EQ(report.issues[0].itemName, u"Robe"_s);
            EXPECT_EQ(report.issues[0].externalVariantId, c.variant);
        }
    }
}

} // namespace
} // namespace tallybrook
