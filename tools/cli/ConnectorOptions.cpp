#include "ConnectorOptions.h"

#include "localization/AppText.h"
#include "localization/PreferencesStore.h"
#include "storage/KeychainService.h"
#include "storage/QtKeychainSecretStore.h"
#include "storage/WooCredentialStore.h"
#include "woocommerce/WooCommerceAPIClient.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QUrl>
#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tallybrook::cli {

std::unique_ptr<WooCommerceConnector> connectorFromOptions(const Arguments& arguments) {
    const WooRequestMode mode = arguments.flag(batchFlag) ? WooRequestMode::batch : WooRequestMode::oneByOne;
    const auto store = arguments.option(storeOption);
    if (!store) {
        // The saved connection: address in the preferences (read only), secrets in the system's
        // secret store. A secret store that cannot be read counts as no connection, as in the window.
        WooCredentialStore credentials(PreferencesStore::standard(),
                                       KeychainService(KeychainService::wooCommerceServiceName(),
                                                       std::make_shared<QtKeychainSecretStore>()));
        std::optional<WooStoredCredentials> saved;
        try {
            saved = credentials.load();
        } catch (const LocalizedError&) {
            saved.reset();
        }
        if (!saved) {
            printErr(AppText::localized(u"woo.notConfigured") + u'\n');
            return nullptr;
        }
        return std::make_unique<WooCommerceConnector>(saved->storeURL, saved->consumerKey, saved->consumerSecret,
                                                      nullptr, systemNow, mode);
    }
    const QUrl url(store->trimmed(), QUrl::StrictMode);
    if (!WooCommerceAPIClient::isUsableBaseURL(url)) {
        printErr(AppText::localized(u"woo.invalidURL") + u'\n');
        return nullptr;
    }
    const QString key = qEnvironmentVariable(consumerKeyVariable).trimmed();
    const QString secret = qEnvironmentVariable(consumerSecretVariable).trimmed();
    if (key.isEmpty() || secret.isEmpty()) {
        printErr(AppText::localized(u"woo.notConfigured") + u'\n');
        return nullptr;
    }
    return std::make_unique<WooCommerceConnector>(url, key, secret, nullptr, systemNow, mode);
}

WorkObserver terminalProgress(const QString& label) {
#ifdef Q_OS_WIN
    const bool terminal = _isatty(_fileno(stderr));
#else
    const bool terminal = isatty(fileno(stderr));
#endif
    WorkObserver observer;
    if (terminal) {
        observer.progress = [label](qint64 done, qint64 total) {
            printErr(u'\r' + label + u' ' + QString::number(done) + u'/' + QString::number(total) +
                     (done == total ? QStringLiteral("\n") : QString()));
        };
    }
    return observer;
}

RemoteStockReloadReport reloadStock(WooCommerceConnector& connector, const InventoryExportDocument& document,
                                    const Arguments& arguments) {
    RemoteStockReloadReport report =
        connector.fetchCurrentStocksWithReport(document, terminalProgress(QStringLiteral("reload")));
    if (arguments.flag(verboseFlag)) {
        QString lines;
        for (const RemoteStockReloadIssue& issue : std::as_const(report.issues)) {
            lines += QStringLiteral("issue: ") + issue.externalProductId.value_or(QString()) + u':' +
                     issue.externalVariantId.value_or(QString()) + u' ' + issue.itemName +
                     QStringLiteral(": ") + issue.message + u'\n';
        }
        printErr(lines);
    }
    return report;
}

} // namespace tallybrook::cli
