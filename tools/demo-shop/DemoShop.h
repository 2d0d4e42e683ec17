#pragma once

#include "DemoCatalog.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tallybrook {

/// Faults the demo shop can inject instead of its normal answer.
enum class DemoShopFault {
    serverError,     ///< 500 with a WordPress error body
    tooManyRequests, ///< 429 with Retry-After
    dropConnection,  ///< the headers, then the connection closes before the promised body
    notJson,         ///< 200 with an HTML page
    emptyBody,       ///< 200 with an empty body
    wrongShape,      ///< 200 with JSON of the wrong shape (a list for one item, an object for a list)
    slowAnswer,      ///< the normal answer after the slow-answer delay
    hugeBody,        ///< 200 with a body of the huge-body size
    redirectAway,    ///< 302 to the same path on host "localhost": this shop, but another origin
    redirectHere     ///< 301 to the same path with "?redirected=1", on this origin
};

/// Parses "server-error", "too-many-requests", "drop-connection", "not-json", "empty-body",
/// "wrong-shape", "slow", "huge-body", "redirect-away", "redirect-here".
std::optional<DemoShopFault> demoShopFaultFromName(QStringView name);

/// When a fault applies: to requests whose path ends with `pathSuffix` (every request when
/// empty; "/products/13" matches product 13 only) and whose method is `method` (any when
/// empty), for the next `remaining` matching requests (-1: until cleared).
struct DemoShopFaultRule {
    DemoShopFaultRule(DemoShopFault fault, QString pathSuffix = {}, int remaining = -1, QString method = {})
        : fault(fault)
        , pathSuffix(std::move(pathSuffix))
        , remaining(remaining)
        , method(std::move(method)) {}

    DemoShopFault fault;
    QString pathSuffix;
    int remaining;
    QString method;
};

/// What the shop's API key may do, as WooCommerce's key permissions say it.
enum class DemoKeyPermissions { read, write, readWrite };

/// One request as the shop received it.
struct DemoShopRequest {
    QString method;
    QString target;                       ///< path and query, as sent
    QString path;                         ///< decoded path without query
    std::optional<QString> authorization; ///< the Authorization header when present
    QByteArray body;
    int status = 0;     ///< status answered; 0 when the connection was dropped
    int remotePort = 0; ///< client side port: one per TCP connection
};

/// How the shop starts: credentials it accepts, latency, optional TLS.
struct DemoShopOptions {
    QString consumerKey = QStringLiteral("ck_demo");
    QString consumerSecret = QStringLiteral("cs_demo");
    DemoKeyPermissions keyPermissions = DemoKeyPermissions::readWrite;
    /// The folder WordPress is installed in ("/boutique"); empty for the host's root. Any
    /// other path gets the site's themed HTML "page not found".
    QString sitePath;
    /// Answers every request with "Connection: close" and closes the connection, as some hosts do.
    bool closeConnections = false;
    std::chrono::milliseconds latency{0};
    /// Most items one batch request may carry, as WooCommerce's batch items limit; beyond it the
    /// whole request is refused with 413.
    int batchLimit = 100;
    /// Both set: HTTPS with this PEM certificate and key.
    QString tlsCertificatePath;
    QString tlsKeyPath;
};

/// A small WooCommerce REST v3 shop on 127.0.0.1 for tests, benchmarks and demonstrations.
///
/// Answers the requests Tallybrook Control makes like WooCommerce 11: products and variations
/// read one by one, listed, or chosen with "include=" (ids the route does not hold left out,
/// newest first or in the given order, paged), "_fields"; stock set by PUT (the record answered
/// as re-read) or in batches (answered item by item in request order, errors in place, status
/// 200, no rollback, items read without type checks, 413 over the items limit). Also: Basic
/// authentication with WooCommerce's 401 bodies (read-only and write-only keys included), its
/// 404/400 errors for unknown identifiers, a variation read through the product route (and
/// refused there on PUT), HTML-encoded names, "manage_stock" true/false/"parent", paging
/// headers, dates that move on every write, and WordPress's themed HTML 404 page outside the
/// site's folder. POST /demo/sell makes a sale, as a customer's order would. Serves on
/// background threads; every member is thread-safe. Faults, latency, the batch limit and stock
/// can be changed while it runs.
class DemoShop {
public:
    explicit DemoShop(DemoCatalog catalog = {}, DemoShopOptions options = {});
    ~DemoShop();

    DemoShop(const DemoShop&) = delete;
    DemoShop& operator=(const DemoShop&) = delete;

    /// Binds 127.0.0.1:`port` (0 picks a free port) and serves in the background.
    /// Returns the bound port; throws std::runtime_error when it cannot listen.
    int start(int port = 0);
    /// Stops serving and waits for the serving threads; idempotent.
    void stop();
    int port() const;
    /// "http://127.0.0.1:PORT" (https with TLS).
    QUrl url() const;

    /// Replaces the whole catalogue.
    void setCatalog(const DemoCatalog& catalog);
    /// The catalogue as it stands (stock changes included).
    DemoCatalog catalog() const;
    /// The stock_quantity the shop would answer for a product or variation; none when not
    /// managed or unknown.
    std::optional<qint64> stock(qint64 productId, std::optional<qint64> variationId = std::nullopt) const;
    /// Sets a product's or variation's stock and who manages it; false when the item is unknown.
    bool setStock(qint64 productId, std::optional<qint64> variationId, std::optional<qint64> quantity,
                  DemoStockManagement management = DemoStockManagement::managed);

    /// An order of `quantity` of a product or variation, as the shop's checkout records it (also
    /// over HTTP: POST /demo/sell {"id", "quantity"}). The stock goes down, below zero if need be;
    /// a variation whose stock its parent keeps sells from the parent. Returns the new stock;
    /// none when the item is unknown or its stock is not managed.
    std::optional<qint64> sell(qint64 id, qint64 quantity);

    void addFault(const DemoShopFaultRule& rule);
    void clearFaults();
    /// Changes the batch items limit.
    void setBatchLimit(int limit);
    /// Waited before every answer.
    void setLatency(std::chrono::milliseconds latency);
    /// Waited before a `slowAnswer` answer (default 5 s).
    void setSlowAnswerDelay(std::chrono::milliseconds delay);
    /// Body size of a `hugeBody` answer (default 40 MB).
    void setHugeBodyBytes(qint64 bytes);

    QList<DemoShopRequest> requestLog() const;
    void clearRequestLog();
    qint64 requestCount() const;
    /// TCP connections accepted since start.
    qint64 connectionCount() const;
    /// Called on the serving thread after each request is answered (e.g. to write a log file).
    void setRequestObserver(std::function<void(const DemoShopRequest&)> observer);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tallybrook
