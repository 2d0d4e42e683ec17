#include "woocommerce/QtHttpTransport.h"

#include "localization/AppText.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QThread>

namespace tallybrook {

namespace {

// Qt reports 4xx and 5xx answers as reply errors; for the client they are ordinary answers
// whose status and body it judges itself.
bool isStatusError(QNetworkReply::NetworkError error) {
    const int code = int(error);
    return (code >= QNetworkReply::ContentAccessDenied && code <= QNetworkReply::UnknownContentError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           (code >= QNetworkReply::InternalServerError && code <= QNetworkReply::UnknownServerError);
}

TransportError::Kind kindOf(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::TimeoutError:
        return TransportError::Kind::timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return TransportError::Kind::tls;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return TransportError::Kind::connection;
    default:
        return TransportError::Kind::other;
    }
}

} // namespace

QtHttpTransport::QtHttpTransport()
    : QtHttpTransport(Options{}) {}

QtHttpTransport::QtHttpTransport(Options options)
    : options_(std::move(options)) {}

QtHttpTransport::~QtHttpTransport() {
    if (!manager_) {
        return;
    }
    // A Qt object may only be destroyed in its own thread; when the transport dies elsewhere,
    // the manager is handed back to its thread (which deletes it at the latest when it ends).
    if (manager_->thread() == QThread::currentThread()) {
        delete manager_.data();
    } else {
        manager_->deleteLater();
    }
}

void QtHttpTransport::closeConnections() {
    if (manager_ && manager_->thread() == QThread::currentThread()) {
        delete manager_.data();
    }
}

QNetworkAccessManager& QtHttpTransport::manager() {
    if (manager_ && manager_->thread() != QThread::currentThread()) {
        manager_->deleteLater();
        manager_.clear();
    }
    if (!manager_) {
        manager_ = new QNetworkAccessManager();
        manager_->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
    }
    return *manager_;
}

HttpResponse QtHttpTransport::send(const HttpRequest& request) {
    QNetworkRequest netRequest(request.url);
    for (const auto& [name, value] : request.headers) {
        netRequest.setRawHeader(name, value);
    }
    netRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                            QNetworkRequest::SameOriginRedirectPolicy);
    netRequest.setTransferTimeout(int(request.timeout.value_or(options_.transferTimeout).count()));
    if (!options_.extraTrustedCertificates.isEmpty()) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificates(options_.extraTrustedCertificates);
        netRequest.setSslConfiguration(ssl);
    }

    QNetworkAccessManager& nam = manager();
    QNetworkReply* reply = nullptr;
    if (request.method == "GET" && !request.body) {
        reply = nam.get(netRequest);
    } else if (request.method == "PUT") {
        reply = nam.put(netRequest, request.body.value_or(QByteArray()));
    } else {
        reply = nam.sendCustomRequest(netRequest, request.method, request.body.value_or(QByteArray()));
    }
    const std::unique_ptr<QNetworkReply> owner(reply);

    bool tooLarge = false;
    bool abortedHere = false;
    const qint64 limit = options_.maxBodyBytes;
    auto refuseWhenTooLarge = [&](qint64 size) {
        if (size > limit && !tooLarge) {
            tooLarge = true;
            abortedHere = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid()) {
            refuseWhenTooLarge(length.toLongLong());
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [&](qint64 received, qint64) { refuseWhenTooLarge(received); });
    bool encrypted = false;
    QObject::connect(reply, &QNetworkReply::encrypted, reply, [&] { encrypted = true; });

    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    if (tooLarge) {
        throw TransportError(TransportError::Kind::tooLarge,
                             AppText::formatted(u"wooApi.answerTooLarge", {limit}));
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply->error();
    const bool crossOriginRedirect =
        error == QNetworkReply::InsecureRedirectError && status.isValid() && status.toInt() / 100 == 3;
    if (error != QNetworkReply::NoError && !(status.isValid() && isStatusError(error)) &&
        !crossOriginRedirect) {
        // A transfer time-out aborts the reply from inside Qt; it surfaces as a cancellation.
        if (error == QNetworkReply::OperationCanceledError && !abortedHere) {
            throw TransportError(TransportError::Kind::timeout, AppText::localized(u"wooApi.timedOut"));
        }
        // An https:// address on a plain HTTP port: the server drops the connection at the TLS
        // hello (a closed connection, not a TLS failure), or answers in plain HTTP, which
        // OpenSSL reads as a record of the "wrong version number".
        const bool plainPort = error == QNetworkReply::RemoteHostClosedError ||
                               (error == QNetworkReply::SslHandshakeFailedError &&
                                reply->errorString().contains(u"wrong version number"));
        if (plainPort && !encrypted && request.url.scheme() == u"https") {
            throw TransportError(TransportError::Kind::tls,
                                 reply->errorString() + u' ' + AppText::localized(u"wooApi.httpsHint"));
        }
        throw TransportError(kindOf(error), reply->errorString());
    }

    HttpResponse response;
    response.statusCode = status.isValid() ? status.toInt() : 0;
    for (const auto& pair : reply->rawHeaderPairs()) {
        response.headers.append({pair.first, pair.second});
    }
    response.body = reply->readAll();
    return response;
}

} // namespace tallybrook
