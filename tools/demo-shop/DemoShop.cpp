#include "DemoShopState.h"

#include <stdexcept>

namespace tallybrook {

namespace {

constexpr int keepAliveRequests = 100'000;
constexpr size_t maximumBodyBytes = 1024 * 1024;

// Counts accepted TCP connections: the server hands each one to the queue exactly once.
class CountingTaskQueue final : public httplib::TaskQueue {
public:
    CountingTaskQueue(std::atomic<qint64>& counter, size_t threads)
        : counter_(counter)
        , pool_(threads) {}
    void enqueue(std::function<void()> task) override {
        ++counter_;
        pool_.enqueue(std::move(task));
    }
    void shutdown() override { pool_.shutdown(); }

private:
    std::atomic<qint64>& counter_;
    httplib::ThreadPool pool_;
};

} // namespace

QUrl DemoShop::State::url() const {
    QUrl url;
    url.setScheme(usesTls() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port.load());
    return url;
}

void DemoShop::State::pause(qint64 milliseconds) {
    if (milliseconds <= 0) {
        return;
    }
    std::unique_lock lock(waitMutex);
    waitCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping; });
}

void DemoShop::State::handle(const httplib::Request& request, httplib::Response& response) {
    DemoShopRequest entry;
    entry.method = QString::fromStdString(request.method);
    entry.target = QString::fromStdString(request.target);
    entry.path = QString::fromStdString(request.path);
    if (request.has_header("Authorization")) {
        entry.authorization = QString::fromStdString(request.get_header_value("Authorization"));
    }
    entry.body = QByteArray::fromStdString(request.body);
    entry.remotePort = request.remote_port;

    pause(latencyMs.load());
    // The sale route stands for the shop's own checkout: the faults staged for the API spare it.
    const bool sale = entry.path == demoSellPath;
    const std::optional<DemoShopFault> fault = sale ? std::nullopt : faults.take(entry.path, entry.method);
    std::optional<DemoAnswer> answer;
    if (!fault || *fault == DemoShopFault::slowAnswer) {
        if (fault) {
            pause(slowMs.load());
        }
        answer = sale ? sellRoute(request) : respond(request, entry.path);
    } else {
        answer = faultAnswer(*fault, entry.path, url());
    }
    if (answer) {
        response.status = answer->status;
        for (const auto& [name, value] : answer->headers) {
            response.set_header(name, value);
        }
        response.set_content(answer->body.toStdString(), answer->contentType.toStdString());
        entry.status = answer->status;
    } else {
        entry.status = streamFault(*fault, hugeBytes.load(), response);
    }

    std::function<void(const DemoShopRequest&)> notify;
    {
        std::lock_guard lock(logMutex);
        log.append(entry);
        notify = observer;
    }
    if (notify) {
        notify(entry);
    }
}

DemoShop::DemoShop(DemoCatalog catalog, DemoShopOptions options)
    : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
    state_->latencyMs = state_->options.latency.count();
    state_->batchLimit = state_->options.batchLimit;
    state_->stock.load(catalog);
}

DemoShop::~DemoShop() {
    stop();
}

int DemoShop::start(int port) {
    std::lock_guard life(state_->lifeMutex);
    if (state_->server) {
        return state_->port;
    }
    std::unique_ptr<httplib::Server> server;
    if (state_->usesTls()) {
        const std::string certificate = state_->options.tlsCertificatePath.toStdString();
        const std::string key = state_->options.tlsKeyPath.toStdString();
        server = std::make_unique<httplib::SSLServer>(certificate.c_str(), key.c_str());
    } else {
        server = std::make_unique<httplib::Server>();
    }
    if (!server->is_valid()) {
        throw std::runtime_error("demo shop: cannot use the TLS certificate or key");
    }
    State* state = state_.get();
    server->new_task_queue = [state] { return new CountingTaskQueue(state->connections, 8); };
    server->set_keep_alive_max_count(state_->options.closeConnections ? 1 : keepAliveRequests);
    server->set_keep_alive_timeout(5);
    // Headers and body go out in separate writes; without this, Nagle's algorithm and the
    // client's delayed acknowledgement hold every answer back by some 40 ms.
    server->set_tcp_nodelay(true);
    // Stock updates are a few bytes; a body beyond this is refused (413) rather than held.
    server->set_payload_max_length(maximumBodyBytes);
    const auto handler = [state](const httplib::Request& request, httplib::Response& response) {
        state->handle(request, response);
    };
    server->Get(".*", handler);
    server->Put(".*", handler);
    server->Post(".*", handler);
    server->Patch(".*", handler);
    server->Delete(".*", handler);

    const int bound = port == 0 ? server->bind_to_any_port("127.0.0.1")
                                : (server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        throw std::runtime_error("demo shop: cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    {
        std::lock_guard lock(state_->waitMutex);
        state_->stopping = false;
    }
    httplib::Server* raw = server.get();
    state_->thread = std::thread([raw] { raw->listen_after_bind(); });
    // stop() only takes effect once the server runs; wait for it so a quick stop cannot hang.
    while (!raw->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state_->server = std::move(server);
    state_->port = bound;
    return bound;
}

void DemoShop::stop() {
    std::lock_guard life(state_->lifeMutex);
    if (!state_->server) {
        return;
    }
    {
        std::lock_guard lock(state_->waitMutex);
        state_->stopping = true;
    }
    state_->waitCondition.notify_all();
    state_->server->stop();
    if (state_->thread.joinable()) {
        state_->thread.join();
    }
    state_->server.reset();
}

int DemoShop::port() const {
    return state_->port;
}

QUrl DemoShop::url() const {
    return state_->url();
}

void DemoShop::setCatalog(const DemoCatalog& catalog) {
    std::lock_guard lock(state_->catalogMutex);
    state_->stock.load(catalog);
}

DemoCatalog DemoShop::catalog() const {
    std::lock_guard lock(state_->catalogMutex);
    return state_->stock.catalog();
}

std::optional<qint64> DemoShop::stock(qint64 productId, std::optional<qint64> variationId) const {
    std::lock_guard lock(state_->catalogMutex);
    return state_->stock.stock(productId, variationId);
}

bool DemoShop::setStock(qint64 productId, std::optional<qint64> variationId, std::optional<qint64> quantity,
                        DemoStockManagement management) {
    std::lock_guard lock(state_->catalogMutex);
    return state_->stock.setStock(productId, variationId, quantity, management);
}

std::optional<qint64> DemoShop::sell(qint64 id, qint64 quantity) {
    std::lock_guard lock(state_->catalogMutex);
    return state_->stock.sell(id, quantity, QDateTime::currentDateTimeUtc()).stock;
}

void DemoShop::addFault(const DemoShopFaultRule& rule) {
    state_->faults.add(rule);
}

void DemoShop::clearFaults() {
    state_->faults.clear();
}

void DemoShop::setLatency(std::chrono::milliseconds latency) {
    state_->latencyMs = latency.count();
}

void DemoShop::setBatchLimit(int limit) {
    state_->batchLimit = limit;
}

void DemoShop::setSlowAnswerDelay(std::chrono::milliseconds delay) {
    state_->slowMs = delay.count();
}

void DemoShop::setHugeBodyBytes(qint64 bytes) {
    state_->hugeBytes = bytes;
}

QList<DemoShopRequest> DemoShop::requestLog() const {
    std::lock_guard lock(state_->logMutex);
    return state_->log;
}

void DemoShop::clearRequestLog() {
    std::lock_guard lock(state_->logMutex);
    state_->log.clear();
}

qint64 DemoShop::requestCount() const {
    std::lock_guard lock(state_->logMutex);
    return state_->log.size();
}

qint64 DemoShop::connectionCount() const {
    return state_->connections.load();
}

void DemoShop::setRequestObserver(std::function<void(const DemoShopRequest&)> observer) {
    std::lock_guard lock(state_->logMutex);
    state_->observer = std::move(observer);
}

} // namespace tallybrook
