#include "WooTestSupport.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooStockUpdateRunner.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using test::shopRow;

using test::fixedNow;

InventoryExportRow counted(const char* product, std::optional<QString> variant, qint64 reference, qint64 count) {
    InventoryExportRow row = shopRow(QString::fromLatin1(product), std::move(variant),
                                     u"Item "_s + QString::fromLatin1(product));
    row.source = u"woocommerce"_s;
    row.referenceQuantity = reference;
    row.countedQuantity = count;
    return row;
}

// A count of the standard shop with every kind of row the road meets.
const InventoryExportDocument document = test::documentWith({
    counted("12", {}, 5, 8), counted("13", {}, 0, 2), counted("40", {}, 7, 6),
    counted("20", u"21"_s, 3, 1),  // a variation
    counted("30", u"31"_s, 9, 4),  // its parent keeps the stock
    counted("14", {}, 1, 2),       // not managed
    counted("99", {}, 1, 3),       // unknown
    counted("21", {}, 3, 1),       // a variation's id as a product
    counted("12", {}, 5, 7),       // the same product counted twice: the second write sees the first
    counted("abc", {}, 1, 2),
});

struct Outcome {
    RemoteStockReloadReport report;
    QList<WooCorrectionPreview> previews;
    QList<WooUpdateResultLine> lines;
    QList<std::optional<qint64>> stocks;
    bool operator==(const Outcome&) const = default;
};

/// How the shop changes between the reload and the send.
struct ShopCase {
    const char* name;
    std::function<void(DemoShop&)> betweenReloadAndSend;
    int batchLimit = 100;
};

class WooRequestModesTest : public test::ShopTest, public ::testing::WithParamInterface<ShopCase> {
protected:
    WooCommerceConnector connector(WooRequestMode mode, QUrl url = {}) {
        return WooCommerceConnector(url.isEmpty() ? shop->url() : url, u"ck_demo"_s, u"cs_demo"_s, transport(),
                                    [] { return fixedNow; }, mode);
    }

    // Reload, every correctable row selected, send; random ids blanked so that runs compare.
    Outcome run(WooRequestMode mode) {
        restartShop({});
        shop->setBatchLimit(GetParam().batchLimit);
        WooCommerceConnector woo = connector(mode);
        Outcome outcome;
        outcome.report = woo.fetchCurrentStocksWithReport(document);
        outcome.previews = WooCorrectionBuilder().buildPreviews(document, outcome.report.levels);
        for (WooCorrectionPreview& preview : outcome.previews) {
            preview.isSelected = isManuallyCorrectable(preview.status);
        }
        if (GetParam().betweenReloadAndSend) {
            GetParam().betweenReloadAndSend(*shop);
        }
        outcome.lines = WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector>(&woo, [](auto*) {}))
                            .updateSelectedStocks(outcome.previews);
        for (auto& issue : outcome.report.issues) {
            issue.id = QUuid();
        }
        for (auto& line : outcome.lines) {
            line.id = line.correctionId = QUuid();
        }
        for (auto& preview : outcome.previews) {
            preview.id = QUuid();
        }
        for (const auto& [product, variation] : {std::pair<qint64, std::optional<qint64>>{12, {}}, {13, {}}, {40, {}},
                                                 {20, 21}, {30, {}}, {14, {}}}) {
            outcome.stocks.append(shop->stock(product, variation));
        }
        return outcome;
    }

    /// Items the shop wrote through batch requests it accepted.
    qint64 batchItemsWritten() const {
        qint64 items = 0;
        for (const DemoShopRequest& request : shop->requestLog()) {
            if (request.method == u"POST" && request.path.endsWith(u"/batch") && request.status == 200) {
                items += QJsonDocument::fromJson(request.body).object().value(u"update"_s).toArray().size();
            }
        }
        return items;
    }
};

TEST_P(WooRequestModesTest, BothModesGiveTheSameReloadSendAndShop) {
    const Outcome oneByOne = run(WooRequestMode::oneByOne);
    const qint64 oneByOneRequests = shop->requestCount();
    const Outcome batched = run(WooRequestMode::batch);
    EXPECT_EQ(batched, oneByOne);
    EXPECT_LT(shop->requestCount(), oneByOneRequests);
    qint64 written = 0;
    for (const auto& line : batched.lines) {
        written += line.success ? 1 : 0;
    }
    EXPECT_EQ(batchItemsWritten(), written); // a batch refused as too large wrote nothing
    EXPECT_EQ(written, GetParam().betweenReloadAndSend ? 3 : 4);
}

INSTANTIATE_TEST_SUITE_P(
    ShopStates, WooRequestModesTest,
    ::testing::Values(ShopCase{"QuietShop", {}},
                      // A sale after the reload is not overwritten; the other rows go on.
                      ShopCase{"SaleOfAProduct", [](DemoShop& shop) { shop.sell(12, 1); }},
                      ShopCase{"SaleOfAVariation", [](DemoShop& shop) { shop.sell(21, 2); }},
                      ShopCase{"ShopTakesTwoItemsPerBatch", {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The lines of the sale case say what moved, and the sale stays in the shop.
class WooRoadShopTest : public test::ShopTest {};

TEST_F(WooRoadShopTest, ASaleBetweenReloadAndSendIsKeptInBothModes) {
    for (const WooRequestMode mode : {WooRequestMode::oneByOne, WooRequestMode::batch}) {
        restartShop({});
        WooCommerceConnector woo(shop->url(), u"ck_demo"_s, u"cs_demo"_s, transport(), systemNow, mode);
        auto previews = WooCorrectionBuilder().buildPreviews(
            document, woo.fetchCurrentStocksWithReport(document).levels);
        shop->sell(12, 1);
        const auto lines = WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector>(&woo, [](auto*) {}))
                               .updateSelectedStocks(previews);
        ASSERT_EQ(lines.size(), 6);
        EXPECT_EQ(lines[0].message, u"The WooCommerce quantity changed since the reload (5 → 4). Reload before sending."_s);
        EXPECT_FALSE(lines[0].success);
        EXPECT_TRUE(lines[1].success);
        EXPECT_EQ(shop->stock(12), 4);
        EXPECT_EQ(shop->stock(13), 2);
    }
}

// A wrong address costs one request, whatever the number of rows and the mode.
TEST_F(WooRoadShopTest, AWrongAddressEndsTheRunAfterOneRequest) {
    for (const WooRequestMode mode : {WooRequestMode::oneByOne, WooRequestMode::batch}) {
        DemoShopOptions options;
        options.sitePath = u"/boutique"_s; // the root answers the theme's HTML page
        restartShop(options);
        WooCommerceConnector woo(shop->url(), u"ck_demo"_s, u"cs_demo"_s, transport(), systemNow, mode);
        const auto report = woo.fetchCurrentStocksWithReport(document);
        EXPECT_EQ(shop->requestCount(), 1);
        EXPECT_EQ(report.requestedItemCount, 9);
        ASSERT_EQ(report.issues.size(), 9);
        EXPECT_TRUE(report.issues[0].message.endsWith(u"an HTML page, not the WooCommerce API: check the store address"_s));
        EXPECT_EQ(report.issues[7].message, report.issues[0].message);

        auto previews = WooCorrectionBuilder().buildPreviews(document, {});
        const auto lines = WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector>(&woo, [](auto*) {}))
                               .updateSelectedStocks(previews);
        EXPECT_EQ(shop->requestCount(), 2);
        ASSERT_EQ(lines.size(), 10);
        EXPECT_EQ(lines[8].message, report.issues[0].message);
    }
    // https:// on a plain HTTP port: the connection closes at the TLS hello, once.
    QUrl https = shop->url();
    https.setScheme(u"https"_s);
    WooCommerceConnector woo(https, u"ck_demo"_s, u"cs_demo"_s, transport(), systemNow, WooRequestMode::batch);
    const auto report = woo.fetchCurrentStocksWithReport(document);
    ASSERT_EQ(report.issues.size(), 9);
    EXPECT_TRUE(report.issues[0].message.endsWith(u"The shop may not serve HTTPS at this address: check http or https."_s))
        << report.issues[0].message.toStdString();
    EXPECT_EQ(report.issues[7].message, report.issues[0].message);

    // Nothing listening at the address: the first refused connection answers for every key.
    struct Refusing final : HttpTransport {
        int calls = 0;
        HttpResponse send(const HttpRequest&) override {
            ++calls;
            throw TransportError(TransportError::Kind::connection, u"Connection refused"_s);
        }
    };
    const auto refusing = std::make_shared<Refusing>();
    WooCommerceConnector closed(shop->url(), u"ck_demo"_s, u"cs_demo"_s, refusing, systemNow);
    EXPECT_EQ(closed.fetchCurrentStocksWithReport(document).issues.size(), 9);
    EXPECT_EQ(refusing->calls, 1);
}

// What a real shop may answer to a batch and the demo shop never does: each entry gives its
// row's line; a batch refused as too large is halved and nothing is sent twice.
TEST(WooBatchAnswersTest, EachEntryGivesItsRowsLine) {
    test::useLanguage(AppLanguage::english);
    auto transport = std::make_shared<test::ScriptedTransport>();
    transport->answers.push_back({200, {}, R"([{"id": 1, "manage_stock": true, "stock_quantity": 5},
        {"id": 2, "manage_stock": true, "stock_quantity": 5}, {"id": 3, "manage_stock": true, "stock_quantity": 5},
        {"id": 4, "manage_stock": true, "stock_quantity": 5}])"});
    transport->answers.push_back({413, {}, R"({"code":"woocommerce_rest_request_entity_too_large",)"
                                           R"("message":"Unable to accept more than 2 items for this request.","data":{"status":413}})"});
    transport->answers.push_back({200, {}, R"({"update": [{"id": 1, "stock_quantity": 7},
        {"id": 2, "error": {"code": "woocommerce_rest_product_invalid_id", "message": "Invalid ID.", "data": {"status": 400}}}]})"});
    transport->answers.push_back({200, {}, R"({"update": [{"id": 3, "stock_quantity": 0}]})"});
    WooCommerceConnector woo(QUrl(u"https://shop.example"_s), u"k"_s, u"s"_s, transport, systemNow,
                             WooRequestMode::batch);
    QList<WooCorrectionPreview> previews;
    for (const QString& id : {u"1"_s, u"2"_s, u"3"_s, u"4"_s}) {
        WooCorrectionPreview preview;
        preview.externalProductId = id;
        preview.proposedQuantity = 7;
        preview.currentRemoteQuantity = 5;
        previews.append(preview);
    }
    QStringList messages;
    for (const WooUpdateResultLine& line : woo.updateSelectedStocks(previews)) {
        messages.append((line.success ? u"ok "_s : u"failed "_s) + line.message.value_or(QString()));
    }
    EXPECT_EQ(messages, (QStringList{
                            u"ok WooCommerce stock updated."_s,
                            uR"(failed WooCommerce error 400: {"code":"woocommerce_rest_product_invalid_id","data":{"status":400},"message":"Invalid ID."})"_s,
                            u"failed WooCommerce did not confirm the quantity sent (7 sent, 0 in the shop)."_s,
                            u"failed WooCommerce did not confirm the quantity sent (7 sent, — in the shop)."_s}));
    QList<qsizetype> batchSizes;
    for (const HttpRequest& request : transport->requests) {
        if (request.method == "POST") {
            batchSizes.append(QJsonDocument::fromJson(request.body.value_or(QByteArray())).object().value(u"update"_s).toArray().size());
            EXPECT_FALSE(request.url.hasQuery()); // a batch with _fields writes but answers nothing
        }
    }
    EXPECT_EQ(batchSizes, (QList<qsizetype>{4, 2, 2}));
}

} // namespace
} // namespace tallybrook
