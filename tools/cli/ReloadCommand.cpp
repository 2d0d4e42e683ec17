// `reload FILE [--store URL] [--json]`: reads the shop's current stock for the rows of an
// inventory file, as the corrections page's reload does.

#include "CliSupport.h"
#include "ConnectorOptions.h"
#include "corrections/CorrectionJson.h"
#include "corrections/WooCorrectionRoad.h"
#include "document/InventoryExportDocument.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QJsonDocument>

namespace tallybrook::cli {

namespace {

int runReload(const QStringList& args) {
    const Arguments arguments(args, {storeOption}, {QStringLiteral("json")});
    const QString path = arguments.file();
    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    const auto connector = connectorFromOptions(arguments);
    if (!connector) {
        return failure;
    }
    const RemoteStockReloadReport report = connector->fetchCurrentStocksWithReport(*document);
    if (arguments.flag(QStringLiteral("json"))) {
        writeOut(QJsonDocument(toJson(report)).toJson(QJsonDocument::Indented));
    } else if (const auto summary = reloadSummary(report)) {
        printOut(*summary + u'\n');
    }
    return success;
}

const CommandRegistration registration(QStringLiteral("reload"),
                                       QStringLiteral("reload FILE [--store URL] [--json]"), runReload);

} // namespace

} // namespace tallybrook::cli
