#include "DemoAnswer.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace tallybrook {

DemoAnswer jsonAnswer(int status, const QJsonValue& value) {
    DemoAnswer answer;
    answer.status = status;
    answer.body = value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                                  : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return answer;
}

QJsonObject wpErrorObject(int status, const QString& code, const QString& message, QJsonObject data) {
    data.insert(QStringLiteral("status"), status);
    return QJsonObject{
        {QStringLiteral("code"), code}, {QStringLiteral("message"), message}, {QStringLiteral("data"), data}};
}

DemoAnswer wpError(int status, const QString& code, const QString& message, QJsonObject data) {
    return jsonAnswer(status, wpErrorObject(status, code, message, std::move(data)));
}

DemoAnswer invalidParameter(const QString& name, const QString& reason) {
    return wpError(400, QStringLiteral("rest_invalid_param"), QStringLiteral("Invalid parameter(s): ") + name,
                   QJsonObject{{QStringLiteral("params"), QJsonObject{{name, reason}}}});
}

DemoAnswer noRoute() {
    return wpError(404, QStringLiteral("rest_no_route"),
                   QStringLiteral("No route was found matching the URL and request method."));
}

// A full page with the theme's inline styles, some 60 KB like a real one, served as HTML
// with status 404.
DemoAnswer notFoundPage() {
    static const QByteArray page = [] {
        QByteArray html =
            QByteArrayLiteral("<!DOCTYPE html>\n<html lang=\"fr-FR\">\n<head>\n<meta charset=\"UTF-8\">\n"
                              "<title>Page non trouv\xc3\xa9"
                              "e &#8211; Boutique</title>\n<style id=\"global-styles-inline-css\">\n");
        for (int rule = 0; html.size() < 60'000; ++rule) {
            html += ".wp-block-theme-rule-" + QByteArray::number(rule) +
                    " { margin-block-start: var(--wp--preset--spacing--40); color: "
                    "var(--wp--preset--color--contrast); }\n";
        }
        html +=
            "</style>\n</head>\n<body class=\"error404\">\n<main><h1>Oups ! Cette page est introuvable.</h1>"
            "</main>\n</body>\n</html>\n";
        return html;
    }();
    DemoAnswer answer;
    answer.status = 404;
    answer.body = page;
    answer.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
    return answer;
}

QJsonObject invalidIdObject(int status, bool variation) {
    return wpErrorObject(status,
                         variation ? QStringLiteral("woocommerce_rest_product_variation_invalid_id")
                                   : QStringLiteral("woocommerce_rest_product_invalid_id"),
                         QStringLiteral("Invalid ID."));
}

DemoAnswer invalidId(int status, bool variation) {
    return jsonAnswer(status, invalidIdObject(status, variation));
}

QJsonObject variationOnProductRouteObject() {
    return wpErrorObject(404, QStringLiteral("woocommerce_rest_invalid_product_id"),
                         QStringLiteral("To manipulate product variations you should use the "
                                        "/products/&lt;product_id&gt;/variations/&lt;id&gt; endpoint."));
}

} // namespace tallybrook
