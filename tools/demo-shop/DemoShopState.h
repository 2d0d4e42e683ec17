#pragma once

// The shop's insides, shared by its serving loop (DemoShop.cpp) and its routes (DemoRoutes.cpp).

#include "DemoAnswer.h"
#include "DemoFaults.h"
#include "DemoShop.h"
#include "DemoStock.h"

#include <atomic>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace tallybrook {

struct DemoShop::State {
    DemoShopOptions options;

    mutable std::mutex catalogMutex;
    DemoStock stock;

    mutable std::mutex logMutex;
    QList<DemoShopRequest> log;
    std::function<void(const DemoShopRequest&)> observer;

    DemoFaultBook faults;

    std::atomic<qint64> latencyMs{0};
    std::atomic<qint64> slowMs{5000};
    std::atomic<qint64> hugeBytes{40LL * 1024 * 1024};
    std::atomic<qint64> connections{0};
    std::atomic<int> batchLimit{100};

    std::mutex waitMutex;
    std::condition_variable waitCondition;
    bool stopping = false;

    std::mutex lifeMutex;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<int> port{0};

    bool usesTls() const { return !options.tlsCertificatePath.isEmpty() && !options.tlsKeyPath.isEmpty(); }
    QUrl url() const;
    void pause(qint64 milliseconds);
    void handle(const httplib::Request& request, httplib::Response& response);

    // Routes.
    DemoAnswer respond(const httplib::Request& request, const QString& path);
    DemoAnswer sellRoute(const httplib::Request& request);
    std::optional<DemoAnswer> refuseCredentials(const httplib::Request& request, bool listing,
                                                bool write) const;
    DemoAnswer listing(const httplib::Request& request, QList<DemoListedItem> items);
    DemoAnswer update(const httplib::Request& request, qint64 productId, std::optional<qint64> variationId);
    DemoAnswer batch(const httplib::Request& request, std::optional<qint64> parentId);
};

/// The path of the sale route, outside the WordPress site.
inline const QString demoSellPath = QStringLiteral("/demo/sell");

} // namespace tallybrook
