#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <string>
#include <utility>

namespace tallybrook {

/// An answer the demo shop has prepared, before it goes out.
struct DemoAnswer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = QByteArrayLiteral("application/json; charset=UTF-8");
    QList<std::pair<std::string, std::string>> headers;
};

DemoAnswer jsonAnswer(int status, const QJsonValue& value);
/// WordPress's error shape: {"code", "message", "data": {"status", ...}}.
QJsonObject wpErrorObject(int status, const QString& code, const QString& message, QJsonObject data = {});
DemoAnswer wpError(int status, const QString& code, const QString& message, QJsonObject data = {});
/// 400 rest_invalid_param naming the parameter and why it was refused.
DemoAnswer invalidParameter(const QString& name, const QString& reason);
DemoAnswer noRoute();
/// WordPress's themed "page not found" for a path outside the site.
DemoAnswer notFoundPage();
/// WooCommerce's "Invalid ID." for a product (or a variation) it does not hold.
QJsonObject invalidIdObject(int status, bool variation);
DemoAnswer invalidId(int status, bool variation);
/// A variation written through a product route.
QJsonObject variationOnProductRouteObject();

} // namespace tallybrook
