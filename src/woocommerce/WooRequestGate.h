#pragma once

#include <QString>
#include <exception>
#include <optional>
#include <utility>

namespace tallybrook {

/// Lets the requests of one reload or send through until the run cannot succeed any more.
///
/// The run stops, and every later request fails at once with the same message, when the shop
/// refuses the credentials (hosts block an address after repeated failed logins, and a refusal
/// does not change within a run), or when the run's first request shows that the address is
/// wrong: no shop can be reached there (refused, unknown host, TLS failure) or what answers is
/// not a WooCommerce API (a web page, a text, an empty answer, "rest_no_route"). Without that,
/// a wrong address would cost one request per row, each downloading the site's page. Failures
/// after a first good answer stay per request. One gate per run; not thread-safe.
class WooRequestGate {
public:
    /// Runs `request` unless the run was stopped; none on success, otherwise the failure's
    /// message as the user reads it (the stopping failure's, when the request was not made).
    template <typename Request> std::optional<QString> failureOf(Request&& request) {
        if (stopMessage_) {
            return stopMessage_;
        }
        const bool first = !madeRequest_;
        madeRequest_ = true;
        try {
            std::forward<Request>(request)();
            return std::nullopt;
        } catch (...) {
            return describe(std::current_exception(), first);
        }
    }

    /// Whether a failure ended the run: every further request is answered without being made.
    bool isStopped() const { return stopMessage_.has_value(); }

private:
    QString describe(std::exception_ptr error, bool firstRequest);

    bool madeRequest_ = false;
    std::optional<QString> stopMessage_;
};

} // namespace tallybrook
