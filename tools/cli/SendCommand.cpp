// `send FILE ...`: the correction road for scripts and large shops. Reads the shop's current
// stock, builds the previews, selects the rows asked for and sends them one by one, as the
// corrections page does after its confirmation; writes no state.

#include "CliSupport.h"
#include "ConnectorOptions.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooCorrectionRoad.h"
#include "corrections/WooStockUpdateRunner.h"
#include "export/InventoryCSVExportService.h"
#include "woocommerce/WooCommerceConnector.h"

namespace tallybrook::cli {

namespace {

using namespace Qt::StringLiterals;

const QString sendUsage =
    u"send FILE [--store URL] [--batch] [--select ready|all-correctable] [--dry-run] [--report PATH|-] "
    u"[--dialect french|standard] [--verbose]"_s;

// "PRODUCT:VARIATION ITEM", the way reload issues name a row.
QString rowText(const std::optional<QString>& productId, const std::optional<QString>& variantId,
                const QString& itemName) {
    return productId.value_or(QString()) + u':' + variantId.value_or(QString()) + u' ' + itemName;
}

QString quantityText(const std::optional<qint64>& quantity) {
    return quantity ? QString::number(*quantity) : u"-"_s;
}

int runSend(const QStringList& args) {
    const Arguments arguments(args, {storeOption, u"select"_s, u"report"_s, u"dialect"_s},
                              {u"dry-run"_s, verboseFlag, batchFlag});
    const QString path = arguments.file();
    const QString selection = arguments.option(u"select"_s).value_or(u"ready"_s);
    if (selection != u"ready" && selection != u"all-correctable") {
        throw UsageError{u"--select takes ready or all-correctable, found "_s + selection};
    }
    const InventoryCSVDialect dialect = dialectFrom(arguments);
    const bool dryRun = arguments.flag(u"dry-run"_s);
    const auto reportPath = arguments.option(u"report"_s);
    if (dryRun && reportPath) {
        throw UsageError{u"--report reports a send: it does not go with --dry-run"_s};
    }

    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    std::shared_ptr<WooCommerceConnector> connector = connectorFromOptions(arguments);
    if (!connector) {
        return failure;
    }
    const RemoteStockReloadReport report = reloadStock(*connector, *document, arguments);
    if (const auto summary = reloadSummary(report)) {
        printErr(*summary + u'\n');
    }
    // A shop that gave no stock at all (refused credentials, wrong address) leaves nothing
    // to send; that is the run failing, not a send of nothing.
    if (report.requestedItemCount > 0 && report.quantityCount == 0) {
        return failure;
    }

    QList<WooCorrectionPreview> previews = WooCorrectionBuilder().buildPreviews(*document, report.levels);
    if (selection == u"all-correctable") {
        for (WooCorrectionPreview& preview : previews) {
            preview.isSelected =
                isManuallyCorrectable(preview.status) && preview.proposedQuantity.has_value();
        }
    }

    if (dryRun) {
        QString out;
        qint64 count = 0;
        for (const WooCorrectionPreview& preview : std::as_const(previews)) {
            if (isSendable(preview)) {
                ++count;
                out += rowText(preview.externalProductId, preview.externalVariantId, preview.itemName) +
                       u": "_s + quantityText(preview.currentRemoteQuantity) + u" -> "_s +
                       quantityText(preview.proposedQuantity) + u'\n';
            }
        }
        printOut(out + QString::number(count) + u" to send (dry run)\n"_s);
        return success;
    }

    const QList<WooUpdateResultLine> lines =
        WooStockUpdateRunner(connector).updateSelectedStocks(previews, terminalProgress(u"send"_s));
    qint64 failed = 0;
    QString failures;
    for (const WooUpdateResultLine& line : lines) {
        if (!line.success) {
            // Without --verbose the first failure alone tells why; the report holds them all.
            if (failed++ == 0 || arguments.flag(verboseFlag)) {
                failures += u"failed: "_s +
                            rowText(line.externalProductId, line.externalVariantId, line.itemName) + u": "_s +
                            line.message.value_or(QString()) + u'\n';
            }
        }
    }
    printErr(failures);
    if (reportPath && !writeCsv(*reportPath, [&] {
            return InventoryCSVExportService::exportUpdateReportCSV(lines, dialect);
        })) {
        return failure;
    }
    const QString summary =
        QString::number(lines.size() - failed) + u" sent, "_s + QString::number(failed) + u" failed\n"_s;
    // With the report on standard output, the summary goes to standard error to keep the CSV clean.
    if (reportPath == u"-"_s) {
        printErr(summary);
    } else {
        printOut(summary);
    }
    return failed == 0 ? success : failure;
}

const CommandRegistration sendCommand(u"send"_s, sendUsage, runSend);

} // namespace

} // namespace tallybrook::cli
