// `reload FILE [--store URL] [--batch] [--json] [--verbose]`: reads the shop's current stock for
// the rows of an inventory file, as the corrections page's reload does. Exits 1 when rows point
// at the shop but not one stock quantity could be read (a wrong address, refused keys, the shop
// down): a script must not take that for a reload.

#include "CliSupport.h"
#include "ConnectorOptions.h"
#include "corrections/CorrectionJson.h"
#include "corrections/WooCorrectionRoad.h"
#include "document/InventoryExportDocument.h"
#include "export/InventoryCSVExportService.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QJsonDocument>

namespace tallybrook::cli {

namespace {

// The report as JSON for scripts: the stored record's members, with dates in ISO 8601 UTC
// (the stored form counts seconds from 2001, which no script expects).
QJsonObject reportJson(const RemoteStockReloadReport& report) {
    QJsonObject json = toJson(report);
    QJsonArray levels = json.value(QLatin1StringView("levels")).toArray();
    for (qsizetype index = 0; index < levels.size(); ++index) {
        QJsonObject level = levels.at(index).toObject();
        level.insert(QStringLiteral("fetchedAt"),
                     InventoryCSVExportService::iso8601Text(report.levels.at(index).fetchedAt));
        levels.replace(index, level);
    }
    json.insert(QStringLiteral("levels"), levels);
    return json;
}

int runReload(const QStringList& args) {
    const Arguments arguments(args, {storeOption}, {QStringLiteral("json"), verboseFlag, batchFlag});
    const QString path = arguments.file();
    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    const auto connector = connectorFromOptions(arguments);
    if (!connector) {
        return failure;
    }
    const RemoteStockReloadReport report = reloadStock(*connector, *document, arguments);
    const bool nothingRead = report.requestedItemCount > 0 && report.quantityCount == 0;
    if (arguments.flag(QStringLiteral("json"))) {
        writeOut(QJsonDocument(reportJson(report)).toJson(QJsonDocument::Indented));
        if (nothingRead) {
            printErr(reloadSummary(report).value_or(QString()) + u'\n');
        }
    } else if (const auto summary = reloadSummary(report)) {
        (nothingRead ? printErr : printOut)(*summary + u'\n');
    }
    return nothingRead ? failure : success;
}

const CommandRegistration reloadCommand(QStringLiteral("reload"),
                                       QStringLiteral("reload FILE [--store URL] [--batch] [--json] [--verbose]"),
                                       runReload);

} // namespace

} // namespace tallybrook::cli
