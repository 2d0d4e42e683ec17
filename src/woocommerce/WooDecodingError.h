#pragma once

#include "localization/LocalizedError.h"

#include <QString>

namespace tallybrook {

/// A shop answer that is not the JSON the client expects: not JSON at all, the wrong shape
/// (an object where a list is expected), or a record that breaks the decoding rules.
/// The description is the "invalid WooCommerce response" text of the current language
/// followed by the technical detail in parentheses, e.g.
/// `Invalid WooCommerce response. ([0].stock_quantity: expected an integer or null)`.
class WooDecodingError : public LocalizedError {
public:
    /// `notJson`: the answer was not JSON at all (a web page, a text), not a JSON of the wrong shape.
    explicit WooDecodingError(QString detail, bool notJson = false)
        : detail_(std::move(detail))
        , notJson_(notJson) {}

    /// Where and why decoding failed, in English (a JSON path and the broken rule).
    const QString& detail() const { return detail_; }
    bool isNotJson() const { return notJson_; }
    QString localizedDescription() const override;

private:
    QString detail_;
    bool notJson_;
};

} // namespace tallybrook
