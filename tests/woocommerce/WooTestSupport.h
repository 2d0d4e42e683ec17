#pragma once

#include "demo-shop/DemoShop.h"
#include "document/InventoryExportDocument.h"
#include "support/TestLanguage.h"
#include "woocommerce/QtHttpTransport.h"
#include "corrections/CorrectionRecords.h"
#include "woocommerce/WooCommerceAPIClient.h"

#include <QList>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <optional>

namespace tallybrook::test {

using namespace Qt::StringLiterals;

/// The time every stamp of these tests carries.
inline const QDateTime fixedNow(QDate(2024, 6, 1), QTime(8, 30), Qt::UTC);

/// The shop most tests read from:
/// 12 simple, stock 5 · 13 simple, stock 0 · 14 simple, stock not managed ·
/// 20 variable (no own stock): 21 stock 3, 22 "parent" (answered as not managed: the parent
/// keeps no stock), 23 not managed ·
/// 30 variable with own stock 9: 31 "parent", 32 not managed · 40 simple, stock 7, named with "&".
inline DemoCatalog standardCatalog() {
    return DemoCatalog::fromJson(R"({"products": [
        {"id": 12, "name": "Bougie", "sku": "B-12", "manage_stock": true, "stock_quantity": 5},
        {"id": 13, "name": "Savon", "manage_stock": true, "stock_quantity": 0},
        {"id": 14, "name": "Carte cadeau", "manage_stock": false},
        {"id": 20, "name": "Robe", "manage_stock": false, "variations": [
            {"id": 21, "manage_stock": true, "stock_quantity": 3, "option": "M"},
            {"id": 22, "manage_stock": "parent", "option": "L"}, {"id": 23, "manage_stock": false, "option": "S"}]},
        {"id": 30, "name": "Pull", "manage_stock": true, "stock_quantity": 9, "variations": [
            {"id": 31, "manage_stock": "parent", "option": "M"}, {"id": 32, "manage_stock": false, "option": "L"}]},
        {"id": 40, "name": "Vase & coupelle", "manage_stock": true, "stock_quantity": 7}]})");
}

/// A document row pointing at the shop, with a fresh local item id.
inline InventoryExportRow shopRow(std::optional<QString> productId,
                                  std::optional<QString> variantId = std::nullopt,
                                  std::optional<QString> itemName = std::nullopt) {
    InventoryExportRow row;
    row.externalProductId = std::move(productId);
    row.externalVariantId = std::move(variantId);
    row.itemName = std::move(itemName);
    row.localItemId = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    row.status = InventoryExportRowStatus::counted;
    return row;
}

inline InventoryExportDocument documentWith(QList<InventoryExportRow> rows) {
    InventoryExportDocument document;
    document.session.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    document.rows = std::move(rows);
    return document;
}

/// The paths (with query) that the shop received, in order, without the API root.
inline QStringList targetsOf(const QList<DemoShopRequest>& log) {
    QStringList targets;
    for (const DemoShopRequest& request : log) {
        targets.append(QString(request.target).remove(u"/wp-json/wc/v3"_s));
    }
    return targets;
}

/// The error `work` throws, as type E; a test failure when it throws none.
template <typename E, typename Work> E errorOf(Work&& work, E fallback) {
    try {
        work();
        ADD_FAILURE() << "no error thrown";
    } catch (const E& error) {
        return error;
    }
    return fallback;
}

/// English texts and a running demo shop (standard catalogue) on an ephemeral loopback port.
class ShopTest : public ::testing::Test {
protected:
    void SetUp() override {
        useLanguage(AppLanguage::english);
        restartShop({});
    }

    void TearDown() override {
        transports.clear();
        shop->stop();
    }

    /// Replaces the running shop by one started with `options` (standard catalogue).
    void restartShop(const DemoShopOptions& options) {
        transports.clear(); // their kept connections would hold the stopping shop
        if (shop) {
            shop->stop();
        }
        shop = std::make_unique<DemoShop>(standardCatalog(), options);
        shop->start(0);
    }

    std::shared_ptr<QtHttpTransport> transport(QtHttpTransport::Options options = {}) {
        transports.push_back(std::make_shared<QtHttpTransport>(std::move(options)));
        return transports.back();
    }

    WooCommerceAPIClient client(std::optional<QUrl> base = std::nullopt, QString secret = u"cs_demo"_s,
                                QtHttpTransport::Options options = {}) {
        return WooCommerceAPIClient(base.value_or(shop->url()), u"ck_demo"_s, std::move(secret),
                                    transport(std::move(options)));
    }

    std::unique_ptr<DemoShop> shop;
    std::deque<std::shared_ptr<QtHttpTransport>> transports;
};

/// Answers from a script and records requests: for the client's rules on answers no real
/// shop gives (odd headers, 1xx, invalid UTF-8).
class ScriptedTransport final : public HttpTransport {
public:
    HttpResponse send(const HttpRequest& request) override {
        requests.append(request);
        if (answers.empty()) {
            return HttpResponse{500, {}, "no scripted answer"};
        }
        HttpResponse answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<HttpResponse> answers;
    QList<HttpRequest> requests;
};

/// A client of https://shop.example over a scripted transport.
inline WooCommerceAPIClient scriptedClient(const std::shared_ptr<ScriptedTransport>& transport,
                                           const QString& store = u"https://shop.example"_s) {
    return WooCommerceAPIClient(QUrl(store), u"k"_s, u"s"_s, transport);
}

} // namespace tallybrook::test

namespace tallybrook {

// Readable failures: the records as their fields, not their bytes.
inline void PrintTo(const WooUpdateResultLine& line, std::ostream* out) {
    *out << (line.success ? "ok " : "failed ") << line.externalProductId.value_or(u"-"_qs).toStdString() << ':'
         << line.externalVariantId.value_or(u"-"_qs).toStdString() << " requested "
         << (line.requestedQuantity ? std::to_string(*line.requestedQuantity) : "-") << " after "
         << (line.remoteQuantityAfterUpdate ? std::to_string(*line.remoteQuantityAfterUpdate) : "-") << " \""
         << line.message.value_or(QString()).toStdString() << '"';
}

inline void PrintTo(const RemoteStockLevel& level, std::ostream* out) {
    *out << level.externalProductId.value_or(u"-"_qs).toStdString() << ':'
         << level.externalVariantId.value_or(u"-"_qs).toStdString() << " quantity "
         << (level.quantity ? std::to_string(*level.quantity) : "-") << " managed "
         << (level.stockManaged ? (*level.stockManaged ? "yes" : "no") : "-")
         << (level.stockManagedByParent ? " by parent" : "") << " local "
         << level.localItemId.value_or(QUuid()).toString().toStdString();
}

} // namespace tallybrook
