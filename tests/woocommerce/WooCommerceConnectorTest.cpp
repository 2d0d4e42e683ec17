#include "woocommerce/WooCommerceConnector.h"

#include "WooTestSupport.h"

#include <QSet>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;
using enum WooCorrectionStatus;
using test::targetsOf;

using test::fixedNow;
const QString updated = u"WooCommerce stock updated."_s;
const QString missing = u"Missing identifier or quantity."_s;

WooCorrectionPreview preview(WooCorrectionStatus status, bool selected, std::optional<QString> productId,
                             std::optional<qint64> proposed,
                             std::optional<QString> variantId = std::nullopt) {
    WooCorrectionPreview made;
    made.id = QUuid::createUuid();
    made.externalProductId = std::move(productId);
    made.externalVariantId = std::move(variantId);
    made.itemName = u"Item "_s + made.externalProductId.value_or(u"-"_s);
    made.proposedQuantity = proposed;
    made.status = status;
    made.isSelected = selected;
    return made;
}

// The line expected for `sent`; a success exactly when the message is the "updated" text.
WooUpdateResultLine line(const WooCorrectionPreview& sent, std::optional<qint64> after, QString message) {
    return WooUpdateResultLine{QUuid(),
                               sent.id,
                               sent.externalProductId,
                               sent.externalVariantId,
                               sent.itemName,
                               sent.proposedQuantity,
                               after,
                               message == updated,
                               std::move(message),
                               fixedNow};
}

// Line ids are random: checks they are set and distinct, then blanks them for comparison.
QList<WooUpdateResultLine> withoutIds(QList<WooUpdateResultLine> lines) {
    QSet<QUuid> ids;
    for (auto& made : lines) {
        EXPECT_FALSE(made.id.isNull());
        ids.insert(std::exchange(made.id, QUuid()));
    }
    EXPECT_EQ(ids.size(), lines.size());
    return lines;
}

class WooCommerceConnectorTest : public test::ShopTest {
protected:
    WooCommerceConnector connector() {
        return WooCommerceConnector(shop->url(), u"ck_demo"_s, u"cs_demo"_s, transport(), [] { return fixedNow; });
    }
};

// One by one: each row is read again right before its PUT; rows the shop cannot take are
// not written.
TEST_F(WooCommerceConnectorTest, ChecksThenWritesEachRowWithOneLineEach) {
    const QList<WooCorrectionPreview> previews{
        preview(ready, true, u"12"_s, 8),              // 0 sent
        preview(sent, true, u"40"_s, -2),              // 1 sent again, the shop floors it at 0
        preview(noDifference, true, std::nullopt, 3),  // 2 missing id
        preview(ignored, true, u"12"_s, std::nullopt), // 3 missing quantity
        preview(ready, true, QString(), 3),            // 4 empty id
        preview(ready, true, u"99"_s, 1),              // 5 unknown product: its check fails
        preview(ready, true, u"20"_s, 6, u"21"_s),     // 6 variation
        preview(ready, true, u"14"_s, 2, u"x9"_s),     // 7 stock not managed: not written
        preview(ready, true, u"0013"_s, 4, QString()), // 8 product 13
        preview(ready, true, u"1.0"_s, 1),             // 9 not numeric: no request
        preview(ready, true, u"30"_s, 1, u"31"_s),     // 10 the parent keeps this stock: not written
    };
    const QString invalidURL = u"Invalid WooCommerce URL."_s;
    const QString unknown = uR"(WooCommerce error 404: {"code":"woocommerce_rest_product_invalid_id","data":)"
                            uR"({"status":404},"message":"Invalid ID."})"_s;
    // clang-format off
    EXPECT_EQ(withoutIds(connector().updateSelectedStocks(previews)),
              (QList<WooUpdateResultLine>{line(previews[0], 8, updated), line(previews[1], 0, updated), line(previews[2], {}, missing),
                                          line(previews[3], {}, missing), line(previews[4], {}, invalidURL), line(previews[5], {}, unknown),
                                          line(previews[6], 6, updated),
                                          line(previews[7], {}, u"WooCommerce does not manage stock for this item."_s),
                                          line(previews[8], 4, updated), line(previews[9], {}, invalidURL),
                                          line(previews[10], {}, u"This variation's stock is managed by its parent product “Item 30” (WooCommerce product 30)."_s)}));
    EXPECT_EQ(targetsOf(shop->requestLog()), (QStringList{u"/products/12"_s, u"/products/12"_s, u"/products/40"_s, u"/products/40"_s,
                                                          u"/products/99"_s, u"/products/20/variations/21"_s, u"/products/20/variations/21"_s,
                                                          u"/products/14"_s, u"/products/13"_s, u"/products/13"_s,
                                                          u"/products/30/variations/31"_s}));
    // clang-format on
    EXPECT_EQ(shop->stock(12), 8);
    EXPECT_EQ(shop->stock(20, 21), 6);
    EXPECT_EQ(shop->stock(14), std::nullopt);
    EXPECT_EQ(shop->stock(13), 4);
}

// A read-only key reads: the first PUT is refused and the other rows fail with it, unsent.
TEST_F(WooCommerceConnectorTest, ARefusedKeyEndsTheSendAfterOnePut) {
    DemoShopOptions options;
    options.keyPermissions = DemoKeyPermissions::read;
    restartShop(options);
    const QList<WooCorrectionPreview> previews{preview(ready, true, u"12"_s, 1),
                                               preview(ready, true, u"13"_s, {}),
                                               preview(ready, true, u"20"_s, 2, u"21"_s)};
    const QString refusal =
        uR"(WooCommerce error 401: {"code":"woocommerce_rest_authentication_error","data":)"
        uR"({"status":401},"message":"The API key provided does not have write permissions."})"_s;
    EXPECT_EQ(withoutIds(connector().updateSelectedStocks(previews)),
              (QList<WooUpdateResultLine>{line(previews[0], {}, refusal), line(previews[1], {}, missing),
                                          line(previews[2], {}, refusal)}));
    EXPECT_EQ(shop->requestCount(), 2);
    EXPECT_EQ(shop->stock(12), 5);
}

TEST_F(WooCommerceConnectorTest, AnAnswerWithoutStockReportsTheProposedQuantity) {
    auto scripted = std::make_shared<test::ScriptedTransport>();
    scripted->answers.push_back({200, {}, R"({"id": 12, "manage_stock": true, "stock_quantity": 9})"});
    scripted->answers.push_back({200, {}, R"({"id": 12, "stock_quantity": null})"});
    WooCommerceConnector scriptedConnector(QUrl(u"https://shop.example"_s), u"k"_s, u"s"_s, scripted);
    const auto lines = scriptedConnector.updateSelectedStocks({preview(ready, true, u"12"_s, 4)});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].success);
    EXPECT_EQ(lines[0].remoteQuantityAfterUpdate, 4);
}

TEST_F(WooCommerceConnectorTest, ObserverFollowsTheSendAndCanStopIt) {
    const QList<WooCorrectionPreview> previews{preview(ready, true, u"12"_s, 1), preview(ready, true, u"13"_s, 1),
                                               preview(ready, true, u"40"_s, 1), preview(ready, true, u"14"_s, 1)};
    QList<std::pair<qint64, qint64>> progress;
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { progress.append({done, total}); };
    observer.shouldStop = [&] { return progress.size() == 2; };
    const auto lines = connector().updateSelectedStocks(previews, observer);
    EXPECT_EQ(progress, (QList<std::pair<qint64, qint64>>{{1, 4}, {2, 4}}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].correctionId, previews[1].id);
    EXPECT_EQ(shop->requestCount(), 4);
    EXPECT_EQ(shop->stock(40), 7);
}

TEST_F(WooCommerceConnectorTest, RunsOnWorkerThreadsOverOneConnectionPerCall) {
    // Built on this thread, used on two successive workers, destroyed here: the way the window
    // runs a reload and a send.
    auto woo = std::make_unique<WooCommerceConnector>(shop->url(), u"ck_demo"_s, u"cs_demo"_s);
    QList<InventoryExportRow> rows;
    for (const QString& id : {u"12"_s, u"13"_s, u"14"_s, u"40"_s}) {
        rows.append(test::shopRow(id));
    }
    rows.append(test::shopRow(u"20"_s, u"21"_s));
    const auto document = test::documentWith(rows);
    RemoteStockReloadReport report;
    QList<WooUpdateResultLine> lines;
    std::promise<void> reloaded;
    std::promise<void> sent;
    std::thread reloading([&] {
        report = woo->fetchCurrentStocksWithReport(document);
        reloaded.set_value();
        sent.get_future().wait(); // stays alive so the send runs on another thread
    });
    reloaded.get_future().wait();
    EXPECT_EQ(report.quantityCount, 4);
    EXPECT_EQ(shop->connectionCount(), 1);
    std::thread([&] {
        lines =
            woo->updateSelectedStocks({preview(ready, true, u"12"_s, 3), preview(ready, true, u"13"_s, 4)});
    }).join();
    sent.set_value();
    reloading.join();
    woo.reset();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].success);
    EXPECT_EQ(shop->requestCount(), 9); // five reads, then a check and a write per row
    EXPECT_EQ(shop->connectionCount(), 2);
}

} // namespace
} // namespace tallybrook
