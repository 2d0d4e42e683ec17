#pragma once

#include "CliSupport.h"
#include "corrections/CommerceStockConnector.h"

#include <QString>
#include <memory>

namespace tallybrook {

class WooCommerceConnector;
struct InventoryExportDocument;

namespace cli {

/// The value option of every command that talks to a shop: `--store URL`.
inline const QString storeOption = QStringLiteral("store");

/// The flag of the commands that read stock: every issue of the reload on stderr, one a line.
inline const QString verboseFlag = QStringLiteral("verbose");

/// The flag of the commands that talk to the shop: reads and writes in batches of up to 100
/// items instead of one request per item.
inline const QString batchFlag = QStringLiteral("batch");
/// The environment variables that hold the credentials used with `--store` (never arguments,
/// which other users of the machine can read).
inline constexpr const char* consumerKeyVariable = "TALLYBROOK_WOO_CONSUMER_KEY";
inline constexpr const char* consumerSecretVariable = "TALLYBROOK_WOO_CONSUMER_SECRET";

/// The connector a command uses: with `--store URL`, that address and the credentials of the
/// environment; without it, the saved connection; in batches with `--batch`. When no usable connection results, prints
/// the reason (the texts the window shows: invalid URL, not configured) on stderr and returns
/// null; the caller exits with `failure`.
std::unique_ptr<WooCommerceConnector> connectorFromOptions(const Arguments& arguments);

/// Shows "LABEL done/total" on stderr while work runs, when stderr is a terminal; does
/// nothing otherwise, so scripts reading stderr get messages only.
WorkObserver terminalProgress(const QString& label);

/// Reads the shop's stock for the document's rows, as the corrections page's reload does,
/// with progress on a terminal. With --verbose, prints every issue of the report on stderr as
/// `issue: PRODUCT:VARIATION ITEM: MESSAGE`.
RemoteStockReloadReport reloadStock(WooCommerceConnector& connector, const InventoryExportDocument& document,
                                    const Arguments& arguments);

} // namespace cli
} // namespace tallybrook
