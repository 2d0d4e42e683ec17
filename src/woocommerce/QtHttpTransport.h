#pragma once

#include "woocommerce/HttpTransport.h"

#include <QPointer>
#include <QSslCertificate>
#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QThread;

namespace tallybrook {

/// HttpTransport on Qt Network.
///
/// Synchronous: `send` blocks the calling thread in a local event loop until the answer is
/// complete, so it must run on a worker thread in the application (never on the main thread
/// of a window). The network access manager is created on the first call, in the calling
/// thread, and kept for the life of the transport so the connection to the shop is reused;
/// one transport belongs to one connector and serves one request at a time. `closeConnections`
/// (which the connector calls at the end of each run, in the thread of the run) drops the
/// manager in its own thread; a manager still alive when the transport is destroyed in another
/// thread is handed to its thread with deleteLater. TLS certificates
/// are verified against the system's trust store (plus `extraTrustedCertificates`), redirects
/// are followed only within the same scheme, host and port (so the Authorization header never
/// leaves the configured origin; any other redirect comes back as its 3xx response), and an
/// answer is abandoned after `transferTimeout` without traffic or when its body grows beyond
/// `maxBodyBytes`.
class QtHttpTransport final : public HttpTransport {
public:
    struct Options {
        std::chrono::milliseconds transferTimeout{60'000};
        qint64 maxBodyBytes = 32LL * 1024 * 1024;
        /// Certificates trusted besides the system's (a test shop's self-signed certificate).
        QList<QSslCertificate> extraTrustedCertificates;
    };

    QtHttpTransport();
    explicit QtHttpTransport(Options options);
    ~QtHttpTransport() override;

    QtHttpTransport(const QtHttpTransport&) = delete;
    QtHttpTransport& operator=(const QtHttpTransport&) = delete;

    HttpResponse send(const HttpRequest& request) override;
    void closeConnections() override;

private:
    QNetworkAccessManager& manager();

    Options options_;
    QPointer<QNetworkAccessManager> manager_;
};

} // namespace tallybrook
