#pragma once

#include "localization/LocalizedError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>
#include <utility>

namespace tallybrook {

/// One header line: name and value as raw bytes.
using HttpHeader = std::pair<QByteArray, QByteArray>;

/// One HTTP request as the REST client builds it.
struct HttpRequest {
    QByteArray method = QByteArrayLiteral("GET");
    QUrl url;
    QList<HttpHeader> headers;
    std::optional<QByteArray> body;
    /// Longest silence allowed during the exchange; none uses the transport's default.
    std::optional<std::chrono::milliseconds> timeout;

    bool operator==(const HttpRequest&) const = default;
};

/// One HTTP answer: status code, headers in arrival order and the whole body.
struct HttpResponse {
    int statusCode = 0;
    QList<HttpHeader> headers;
    QByteArray body;

    /// The value of the first header named `name`, compared without regard to case.
    std::optional<QByteArray> header(QByteArrayView name) const;
    bool operator==(const HttpResponse&) const = default;
};

/// A request that got no usable HTTP answer: no connection, time-out, TLS refusal, an answer
/// cut short or too large. The description is the network layer's own text; it never
/// carries the request's URL or credentials.
class TransportError : public LocalizedError {
public:
    enum class Kind { connection, timeout, tls, tooLarge, other };

    TransportError(Kind kind, QString description)
        : kind_(kind)
        , description_(std::move(description)) {}

    Kind kind() const { return kind_; }
    QString localizedDescription() const override { return description_; }

private:
    Kind kind_;
    QString description_;
};

/// Sends one request and waits for its answer. Implementations block the calling thread and
/// handle one request at a time; every non-transport outcome (any status code) is a
/// response, every transport failure a thrown TransportError.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpResponse send(const HttpRequest& request) = 0;
    /// Ends the connections kept for reuse, and whatever the transport made for them in the
    /// calling thread; the next request opens a new connection. Called from the thread that
    /// sent the requests when a run of requests is over.
    virtual void closeConnections() {}
};

} // namespace tallybrook
