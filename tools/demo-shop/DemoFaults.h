#pragma once

#include "DemoAnswer.h"
#include "DemoShop.h"

#include <QUrl>
#include <mutex>

namespace httplib {
struct Response;
}

namespace tallybrook {

/// The fault rules in force; thread-safe.
class DemoFaultBook {
public:
    void add(const DemoShopFaultRule& rule);
    void clear();
    /// The fault for this request, if a rule matches; counts the use against the rule.
    std::optional<DemoShopFault> take(const QString& path, const QString& method);

private:
    std::mutex mutex_;
    QList<DemoShopFaultRule> rules_;
};

/// The answer a fault gives instead of the shop's, for the faults that answer in one piece;
/// none for `slowAnswer` (the normal answer, later) and for the streamed faults.
std::optional<DemoAnswer> faultAnswer(DemoShopFault fault, const QString& path, const QUrl& shopUrl);
/// Streams the answer of `dropConnection` or `hugeBody`; returns the status to log (0: dropped).
int streamFault(DemoShopFault fault, qint64 hugeBytes, httplib::Response& response);

} // namespace tallybrook
