#pragma once

#include <QString>
#include <QUrl>

namespace tallybrook {

/// A complete saved shop connection: root URL, consumer key and consumer secret.
struct WooStoredCredentials {
    QUrl storeURL;
    QString consumerKey;
    QString consumerSecret;

    bool operator==(const WooStoredCredentials&) const = default;
};

} // namespace tallybrook
