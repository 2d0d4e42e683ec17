#pragma once

#include "localization/LocalizedError.h"

#include <QString>

namespace tallybrook {

/// The REST client's own failures. The description is looked up in the text table when read.
///
/// `httpStatus` shows the status code and what the shop answered: a JSON body verbatim (capped
/// at 1,000 characters), otherwise the kind of answer (an HTML page, a short text, nothing) so
/// that a themed page of a wrong address never floods a message line. A credential refusal on
/// a plain http:// store address also says that WooCommerce takes API keys over HTTPS only.
class WooCommerceAPIError : public LocalizedError {
public:
    enum class Case { httpStatus, invalidURL, emptyResponse, invalidResponse };

    /// `plainHttpStore`: the request went to an http:// store address.
    static WooCommerceAPIError httpStatus(int code, QString body, bool plainHttpStore = false) {
        return WooCommerceAPIError(Case::httpStatus, code, std::move(body), plainHttpStore);
    }
    static WooCommerceAPIError invalidURL() { return WooCommerceAPIError(Case::invalidURL); }
    static WooCommerceAPIError emptyResponse() { return WooCommerceAPIError(Case::emptyResponse); }
    static WooCommerceAPIError invalidResponse() { return WooCommerceAPIError(Case::invalidResponse); }

    Case errorCase() const { return case_; }
    /// The HTTP status of `httpStatus`; 0 otherwise.
    int statusCode() const { return statusCode_; }
    /// The answer's body as text of `httpStatus` (empty when it was not UTF-8); empty otherwise.
    const QString& body() const { return body_; }
    /// The "code" member of a WordPress JSON error body ("woocommerce_rest_cannot_view"); empty
    /// when the body is not such an object.
    const QString& wooErrorCode() const { return wooErrorCode_; }
    /// Whether the shop refused the credentials themselves (401 or 403 with WooCommerce's
    /// authentication or permission codes): every further request with them would be refused too.
    bool refusesCredentials() const;
    /// Whether the answer shows that the address is not a WooCommerce API at all: a web page,
    /// a text or an empty answer instead of JSON, or WordPress's "rest_no_route".
    bool isNotWooCommerceAPI() const;

    QString localizedDescription() const override;
    bool operator==(const WooCommerceAPIError& other) const {
        return case_ == other.case_ && statusCode_ == other.statusCode_ && body_ == other.body_ &&
               plainHttpStore_ == other.plainHttpStore_;
    }

private:
    WooCommerceAPIError(Case errorCase, int statusCode = 0, QString body = {}, bool plainHttpStore = false);

    Case case_;
    int statusCode_;
    QString body_;
    bool plainHttpStore_;
    bool jsonBody_ = false;
    QString wooErrorCode_;
};

} // namespace tallybrook
