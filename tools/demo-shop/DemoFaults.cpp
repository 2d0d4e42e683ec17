#include "DemoFaults.h"

#include <QJsonArray>
#include <algorithm>
#include <httplib.h>

namespace tallybrook {

std::optional<DemoShopFault> demoShopFaultFromName(QStringView name) {
    static const QList<std::pair<QString, DemoShopFault>> names{
        {QStringLiteral("server-error"), DemoShopFault::serverError},
        {QStringLiteral("too-many-requests"), DemoShopFault::tooManyRequests},
        {QStringLiteral("drop-connection"), DemoShopFault::dropConnection},
        {QStringLiteral("not-json"), DemoShopFault::notJson},
        {QStringLiteral("empty-body"), DemoShopFault::emptyBody},
        {QStringLiteral("wrong-shape"), DemoShopFault::wrongShape},
        {QStringLiteral("slow"), DemoShopFault::slowAnswer},
        {QStringLiteral("huge-body"), DemoShopFault::hugeBody},
        {QStringLiteral("redirect-away"), DemoShopFault::redirectAway},
        {QStringLiteral("redirect-here"), DemoShopFault::redirectHere}};
    for (const auto& [text, fault] : names) {
        if (name == text) {
            return fault;
        }
    }
    return std::nullopt;
}

void DemoFaultBook::add(const DemoShopFaultRule& rule) {
    std::lock_guard lock(mutex_);
    rules_.append(rule);
}

void DemoFaultBook::clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

std::optional<DemoShopFault> DemoFaultBook::take(const QString& path, const QString& method) {
    std::lock_guard lock(mutex_);
    for (qsizetype index = 0; index < rules_.size(); ++index) {
        DemoShopFaultRule& rule = rules_[index];
        if ((!rule.pathSuffix.isEmpty() && !path.endsWith(rule.pathSuffix)) ||
            (!rule.method.isEmpty() && rule.method != method)) {
            continue;
        }
        const DemoShopFault fault = rule.fault;
        if (rule.remaining > 0 && --rule.remaining == 0) {
            rules_.removeAt(index);
        }
        return fault;
    }
    return std::nullopt;
}

std::optional<DemoAnswer> faultAnswer(DemoShopFault fault, const QString& path, const QUrl& shopUrl) {
    DemoAnswer answer;
    switch (fault) {
    case DemoShopFault::serverError:
        return wpError(500, QStringLiteral("internal_server_error"),
                       QStringLiteral("There has been a critical error on this website."));
    case DemoShopFault::tooManyRequests:
        answer = wpError(429, QStringLiteral("rest_too_many_requests"), QStringLiteral("Too many requests."));
        answer.headers.append(std::pair<std::string, std::string>("Retry-After", "30"));
        return answer;
    case DemoShopFault::notJson:
        answer.body =
            QByteArrayLiteral("<!DOCTYPE html><html><head><title>Maintenance</title></head>"
                              "<body><h1>Briefly unavailable for scheduled maintenance.</h1></body></html>");
        answer.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
        return answer;
    case DemoShopFault::emptyBody:
        return answer;
    case DemoShopFault::wrongShape: {
        const bool expectsList =
            path.endsWith(QStringLiteral("/products")) || path.endsWith(QStringLiteral("/products/")) ||
            path.endsWith(QStringLiteral("/variations")) || path.endsWith(QStringLiteral("/variations/"));
        return expectsList ? jsonAnswer(200, QJsonObject{{QStringLiteral("id"), 1}})
                           : jsonAnswer(200, QJsonArray{});
    }
    case DemoShopFault::redirectAway:
    case DemoShopFault::redirectHere: {
        QUrl away = shopUrl;
        away.setHost(QStringLiteral("localhost"));
        away.setPath(path);
        const QString target =
            fault == DemoShopFault::redirectAway ? away.toString() : path + QStringLiteral("?redirected=1");
        answer.status = fault == DemoShopFault::redirectAway ? 302 : 301;
        answer.headers.append({"Location", target.toStdString()});
        answer.body = QByteArrayLiteral("moved");
        answer.contentType = QByteArrayLiteral("text/plain");
        return answer;
    }
    case DemoShopFault::slowAnswer:
    case DemoShopFault::dropConnection:
    case DemoShopFault::hugeBody:
        break;
    }
    return std::nullopt;
}

int streamFault(DemoShopFault fault, qint64 hugeBytes, httplib::Response& response) {
    response.status = 200;
    if (fault == DemoShopFault::dropConnection) {
        // Promise a body, then fail while writing it: the client sees the connection close.
        response.set_content_provider(64, "application/json",
                                      [](size_t, size_t, httplib::DataSink&) { return false; });
        return 0;
    }
    const auto size = size_t(std::max<qint64>(hugeBytes, 2));
    response.set_content_provider(size, "application/json",
                                  [size](size_t offset, size_t length, httplib::DataSink& sink) {
                                      std::string chunk(std::min<size_t>(length, 64 * 1024), ' ');
                                      if (offset == 0) {
                                          chunk.front() = '[';
                                      }
                                      if (offset + chunk.size() == size) {
                                          chunk.back() = ']';
                                      }
                                      return sink.write(chunk.data(), chunk.size());
                                  });
    return 200;
}

} // namespace tallybrook
