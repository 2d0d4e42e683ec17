#pragma once

#include "localization/LocalizedError.h"

#include <QString>

namespace tallybrook {

/// The REST client's own failures. The description is looked up in the text table when read:
/// `httpStatus` shows the status code and the shop's answer verbatim.
class WooCommerceAPIError : public LocalizedError {
public:
    enum class Case { httpStatus, invalidURL, emptyResponse, invalidResponse };

    static WooCommerceAPIError httpStatus(int code, QString body) {
        return WooCommerceAPIError(Case::httpStatus, code, std::move(body));
    }
    static WooCommerceAPIError invalidURL() { return WooCommerceAPIError(Case::invalidURL); }
    static WooCommerceAPIError emptyResponse() { return WooCommerceAPIError(Case::emptyResponse); }
    static WooCommerceAPIError invalidResponse() { return WooCommerceAPIError(Case::invalidResponse); }

    Case errorCase() const { return case_; }
    /// The HTTP status of `httpStatus`; 0 otherwise.
    int statusCode() const { return statusCode_; }
    /// The answer's body as text of `httpStatus` (empty when it was not UTF-8); empty otherwise.
    const QString& body() const { return body_; }

    QString localizedDescription() const override;
    bool operator==(const WooCommerceAPIError& other) const {
        return case_ == other.case_ && statusCode_ == other.statusCode_ && body_ == other.body_;
    }

private:
    explicit WooCommerceAPIError(Case errorCase, int statusCode = 0, QString body = {})
        : case_(errorCase)
        , statusCode_(statusCode)
        , body_(std::move(body)) {}

    Case case_;
    int statusCode_;
    QString body_;
};

} // namespace tallybrook
