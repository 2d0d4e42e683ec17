#pragma once

#include <QString>
#include <exception>
#include <optional>
#include <utility>

namespace tallybrook {

/// Lets the requests of one reload or send through until the shop refuses the credentials.
///
/// After a refusal (WooCommerceAPIError::refusesCredentials) every later request of the run
/// fails at once with the same message: hosts block an address after repeated failed logins,
/// and a refusal is not going to change within a run. One gate per run; not thread-safe.
class WooRequestGate {
public:
    /// Runs `request` unless the run was refused; none on success, otherwise the failure's
    /// message as the user reads it (the refusal's, when the request was not made).
    template <typename Request> std::optional<QString> failureOf(Request&& request) {
        if (refusal_) {
            return refusal_;
        }
        try {
            std::forward<Request>(request)();
            return std::nullopt;
        } catch (...) {
            return describe(std::current_exception());
        }
    }

private:
    QString describe(std::exception_ptr error);

    std::optional<QString> refusal_;
};

} // namespace tallybrook
