#include "woocommerce/WooCommerceAPIError.h"

#include "localization/AppText.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tallybrook {

namespace {

// Longest part of a shop's answer quoted in a message: a JSON error body, and a plain text body.
constexpr qsizetype jsonBodyLimit = 1000;
constexpr qsizetype textBodyLimit = 200;

// The first `limit` characters of `text` followed by "…" when it is longer; never splits a
// surrogate pair.
QString capped(const QString& text, qsizetype limit) {
    if (text.size() <= limit) {
        return text;
    }
    qsizetype end = limit;
    if (text.at(end - 1).isHighSurrogate()) {
        --end;
    }
    return text.left(end) + u'…';
}

// What the message says of a body that is not JSON.
QString describedNonJsonBody(const QString& body) {
    const QString oneLine = body.simplified();
    if (oneLine.isEmpty()) {
        return AppText::localized(u"wooApi.emptyAnswer");
    }
    if (oneLine.startsWith(u'<')) {
        return AppText::localized(u"wooApi.htmlAnswer");
    }
    return AppText::formatted(u"wooApi.textAnswer", {capped(oneLine, textBodyLimit)});
}

} // namespace

WooCommerceAPIError::WooCommerceAPIError(Case errorCase, int statusCode, QString body, bool plainHttpStore)
    : case_(errorCase)
    , statusCode_(statusCode)
    , body_(std::move(body))
    , plainHttpStore_(plainHttpStore) {
    if (case_ != Case::httpStatus) {
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body_.toUtf8(), &parseError);
    jsonBody_ = parseError.error == QJsonParseError::NoError;
    wooErrorCode_ = document.object().value(QLatin1StringView("code")).toString();
}

bool WooCommerceAPIError::refusesCredentials() const {
    return (statusCode_ == 401 || statusCode_ == 403) &&
           (wooErrorCode_ == u"woocommerce_rest_authentication_error" ||
            wooErrorCode_ == u"woocommerce_rest_cannot_view" ||
            wooErrorCode_ == u"woocommerce_rest_cannot_edit");
}

bool WooCommerceAPIError::isNotWooCommerceAPI() const {
    switch (case_) {
    case Case::httpStatus:
        return !jsonBody_ || wooErrorCode_ == u"rest_no_route";
    case Case::emptyResponse:
    case Case::invalidResponse:
        return true;
    case Case::invalidURL:
        return false;
    }
    return false;
}

QString WooCommerceAPIError::localizedDescription() const {
    switch (case_) {
    case Case::httpStatus: {
        QString text =
            AppText::formatted(u"wooApi.status", {statusCode_, jsonBody_ ? capped(body_, jsonBodyLimit)
                                                                         : describedNonJsonBody(body_)});
        // Over plain http WooCommerce ignores Basic authentication, so good keys read as none.
        if (plainHttpStore_ && statusCode_ == 401 && wooErrorCode_ == u"woocommerce_rest_cannot_view") {
            text += u' ' + AppText::localized(u"wooApi.httpsOnly");
        }
        return text;
    }
    case Case::invalidURL:
        return AppText::localized(u"woo.invalidURL");
    case Case::emptyResponse:
        return AppText::localized(u"wooApi.empty");
    case Case::invalidResponse:
        return AppText::localized(u"wooApi.invalid");
    }
    return AppText::localized(u"wooApi.invalid");
}

} // namespace tallybrook
