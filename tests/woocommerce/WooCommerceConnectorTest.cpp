#include "woocommerce/WooCommerceConnector.h"

#include "WooTestSupport.h"
#include "woocommerce/WooCommerceAPIError.h"

#include <QSet>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace tallybrook {
namespace {

using test::documentWith;
using test::ScriptedTransport;
using test::shopRow;
using test::ShopTest;
using test::targetsOf;

const QDateTime fixedNow(QDate(2024, 6, 1), QTime(8, 30), Qt::UTC);

WooCorrectionPreview preview(WooCorrectionStatus status, bool selected, std::optional<QString> productId,
                             std::optional<qint64> proposed,
                             std::optional<QString> variantId = std::nullopt) {
    WooCorrectionPreview made;
    made.id = QUuid::createUuid();
    made.sessionId = QUuid::createUuid();
    made.externalProductId = std::move(productId);
    made.externalVariantId = std::move(variantId);
    made.itemName = QStringLiteral("Item ") + made.externalProductId.value_or(QStringLiteral("-"));
    made.proposedQuantity = proposed;
    made.status = status;
    made.isSelected = selected;
    return made;
}

WooUpdateResultLine expectedLine(const WooCorrectionPreview& sent, bool success, std::optional<qint64> after,
                                 QString message) {
    return WooUpdateResultLine{QUuid(),
                               sent.id,
                               sent.externalProductId,
                               sent.externalVariantId,
                               sent.itemName,
                               sent.proposedQuantity,
                               after,
                               success,
                               std::move(message),
                               fixedNow};
}

class WooCommerceConnectorTest : public ShopTest {
protected:
    WooCommerceConnector connector(QString secret = QStringLiteral("cs_demo")) {
        return WooCommerceConnector(shop->url(), QStringLiteral("ck_demo"), std::move(secret), transport(),
                                    [] { return fixedNow; });
    }

    // Line ids are random: checks they are set and distinct, then compares the rest.
    static QList<WooUpdateResultLine> withoutIds(QList<WooUpdateResultLine> lines) {
        QSet<QUuid> ids;
        for (auto& line : lines) {
            EXPECT_FALSE(line.id.isNull());
            ids.insert(line.id);
            line.id = QUuid();
        }
        EXPECT_EQ(ids.size(), lines.size());
        return lines;
    }
};

TEST_F(WooCommerceConnectorTest, SendsSelectedCorrectableRowsWithOneLineEach) {
    using enum WooCorrectionStatus;
    const QList<WooCorrectionPreview> previews{
        preview(ready, true, QStringLiteral("12"), 8),                       // 0 sent
        preview(remoteStockChanged, true, QStringLiteral("13"), 1),          // no line
        preview(failed, true, QStringLiteral("13"), 1),                      // no line
        preview(ready, false, QStringLiteral("13"), 1),                      // no line
        preview(sent, true, QStringLiteral("40"), -2),                       // 4 sent again, shop floors at 0
        preview(noDifference, true, std::nullopt, 3),                        // 5 missing id
        preview(ignored, true, QStringLiteral("12"), std::nullopt),          // 6 missing quantity
        preview(ready, true, QString(), 3),                                  // 7 empty id
        preview(ready, true, QStringLiteral("99"), 1),                       // 8 unknown product
        preview(ready, true, QStringLiteral("20"), 6, QStringLiteral("23")), // 9 variation
        preview(ready, true, QStringLiteral("14"), 2, QStringLiteral("x9")), // 10 product, management on
        preview(temporaryItem, true, QStringLiteral("12"), 1),               // no line
    };
    const auto lines = connector().updateSelectedStocks(previews);

    const QString updated = QStringLiteral("WooCommerce stock updated.");
    const QString missing = QStringLiteral("Missing identifier or quantity.");
    EXPECT_EQ(withoutIds(lines),
              (QList<WooUpdateResultLine>{
                  expectedLine(previews[0], true, 8, updated),
                  expectedLine(previews[4], true, 0, updated),
                  expectedLine(previews[5], false, std::nullopt, missing),
                  expectedLine(previews[6], false, std::nullopt, missing),
                  expectedLine(previews[7], false, std::nullopt, QStringLiteral("Invalid WooCommerce URL.")),
                  expectedLine(previews[8], false, std::nullopt,
                               QStringLiteral(
                                   "WooCommerce error 400: {\"code\":\"woocommerce_rest_product_invalid_id\","
                                   "\"data\":{\"status\":400},\"message\":\"Invalid ID.\"}")),
                  expectedLine(previews[9], true, 6, updated),
                  expectedLine(previews[10], true, 2, updated),
              }));
    EXPECT_EQ(targetsOf(shop->requestLog()),
              (QStringList{root() + QStringLiteral("/products/12"), root() + QStringLiteral("/products/40"),
                           root() + QStringLiteral("/products/99"),
                           root() + QStringLiteral("/products/20/variations/23"),
                           root() + QStringLiteral("/products/14")}));
    EXPECT_EQ(shop->stock(12), 8);
    EXPECT_EQ(shop->stock(20, 23), 6);
    EXPECT_EQ(shop->stock(14), 2);
}

TEST_F(WooCommerceConnectorTest, NothingToSendMakesNoRequest) {
    const QList<WooCorrectionPreview> previews{
        preview(WooCorrectionStatus::ready, false, QStringLiteral("12"), 1),
        preview(WooCorrectionStatus::failed, true, QStringLiteral("12"), 1)};
    EXPECT_TRUE(connector().updateSelectedStocks(previews).isEmpty());
    EXPECT_EQ(shop->requestCount(), 0);
}

TEST_F(WooCommerceConnectorTest, AFailingRowDoesNotStopTheBatch) {
    shop->addFault({DemoShopFault::serverError, QStringLiteral("/products/12"), 1});
    shop->addFault({DemoShopFault::dropConnection, QStringLiteral("/products/13"), 1});
    const QList<WooCorrectionPreview> previews{
        preview(WooCorrectionStatus::ready, true, QStringLiteral("12"), 1),
        preview(WooCorrectionStatus::ready, true, QStringLiteral("13"), 2),
        preview(WooCorrectionStatus::ready, true, QStringLiteral("40"), 3)};
    const auto lines = connector().updateSelectedStocks(previews);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_FALSE(lines[0].success);
    EXPECT_TRUE(lines[0].message->startsWith(QStringLiteral("WooCommerce error 500: ")));
    EXPECT_FALSE(lines[1].success);
    EXPECT_FALSE(lines[1].message->isEmpty());
    EXPECT_EQ(lines[1].remoteQuantityAfterUpdate, std::nullopt);
    EXPECT_TRUE(lines[2].success);
    EXPECT_EQ(shop->stock(40), 3);
}

// A read-only key: the first PUT is refused and the others fail with it, unsent.
TEST_F(WooCommerceConnectorTest, ARefusedKeyEndsTheSendAfterOnePut) {
    DemoShopOptions options;
    options.keyPermissions = DemoKeyPermissions::read;
    restartShop(options);
    const QList<WooCorrectionPreview> previews{
        preview(WooCorrectionStatus::ready, true, QStringLiteral("12"), 1),
        preview(WooCorrectionStatus::ready, true, QStringLiteral("13"), std::nullopt),
        preview(WooCorrectionStatus::ready, true, QStringLiteral("20"), 2, QStringLiteral("21"))};
    const auto lines = connector().updateSelectedStocks(previews);
    const QString refusal = QStringLiteral(
        R"(WooCommerce error 401: {"code":"woocommerce_rest_authentication_error","data":{"status":401},)"
        R"("message":"The API key provided does not have write permissions."})");
    EXPECT_EQ(withoutIds(lines),
              (QList<WooUpdateResultLine>{expectedLine(previews[0], false, std::nullopt, refusal),
                                          expectedLine(previews[1], false, std::nullopt,
                                                       QStringLiteral("Missing identifier or quantity.")),
                                          expectedLine(previews[2], false, std::nullopt, refusal)}));
    EXPECT_EQ(shop->requestCount(), 1);
    EXPECT_EQ(shop->stock(12), 5);
}

TEST_F(WooCommerceConnectorTest, AnAnswerWithoutStockReportsTheProposedQuantity) {
    auto scripted = std::make_shared<ScriptedTransport>();
    scripted->answers.push_back({200, {}, QByteArrayLiteral(R"({"id": 12, "stock_quantity": null})")});
    WooCommerceConnector scriptedConnector(QUrl(QStringLiteral("https://shop.example")), QStringLiteral("k"),
                                           QStringLiteral("s"), scripted, [] { return fixedNow; });
    const auto lines = scriptedConnector.updateSelectedStocks(
        {preview(WooCorrectionStatus::ready, true, QStringLiteral("12"), 4)});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].success);
    EXPECT_EQ(lines[0].remoteQuantityAfterUpdate, 4);
}

TEST_F(WooCommerceConnectorTest, ObserverFollowsTheSendAndCanStopIt) {
    QList<WooCorrectionPreview> previews;
    for (const char* id : {"12", "13", "40", "14"}) {
        previews.append(preview(WooCorrectionStatus::ready, true, QString::fromLatin1(id), 1));
    }
    previews.insert(1, preview(WooCorrectionStatus::failed, true, QStringLiteral("12"), 1));
    QList<std::pair<qint64, qint64>> progress;
    WorkObserver observer;
    observer.progress = [&](qint64 done, qint64 total) { progress.append({done, total}); };
    observer.shouldStop = [&] { return progress.size() == 2; };
    const auto lines = connector().updateSelectedStocks(previews, observer);
    EXPECT_EQ(progress, (QList<std::pair<qint64, qint64>>{{1, 4}, {2, 4}}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].correctionId, previews[2].id);
    EXPECT_EQ(shop->requestCount(), 2);
    EXPECT_EQ(shop->stock(40), 7);
}

TEST_F(WooCommerceConnectorTest, ValidatesCredentialsAndReadsWithAReport) {
    auto woo = connector();
    EXPECT_EQ(woo.kind(), CommerceConnectorKind::wooCommerce);
    EXPECT_NO_THROW(woo.validateCredentials());
    try {
        connector(QStringLiteral("wrong")).validateCredentials();
        ADD_FAILURE();
    } catch (const WooCommerceAPIError& error) {
        EXPECT_EQ(error.statusCode(), 401);
    }
    const auto document =
        documentWith({shopRow(QStringLiteral("12")), shopRow(QStringLiteral("20"), QStringLiteral("21"))});
    const auto report = woo.fetchCurrentStocksWithReport(document);
    EXPECT_EQ(report.quantityCount, 2);
    EXPECT_EQ(woo.fetchCurrentStocks(document), report.levels);
}

TEST_F(WooCommerceConnectorTest, RunsOnWorkerThreadsOverOneConnectionPerCall) {
    // Built on this thread, used on two successive workers, destroyed here: the way the window
    // runs a reload and a send.
    auto woo = std::make_unique<WooCommerceConnector>(shop->url(), QStringLiteral("ck_demo"),
                                                      QStringLiteral("cs_demo"));
    QList<InventoryExportRow> rows;
    for (const char* id : {"12", "13", "14", "40"}) {
        rows.append(shopRow(QString::fromLatin1(id)));
    }
    rows.append(shopRow(QStringLiteral("20"), QStringLiteral("21")));
    const auto document = documentWith(rows);
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
            woo->updateSelectedStocks({preview(WooCorrectionStatus::ready, true, QStringLiteral("12"), 3),
                                       preview(WooCorrectionStatus::ready, true, QStringLiteral("13"), 4)});
    }).join();
    sent.set_value();
    reloading.join();
    woo.reset();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].success);
    EXPECT_EQ(shop->requestCount(), 7);
    EXPECT_EQ(shop->connectionCount(), 2);
}

} // namespace
} // namespace tallybrook
