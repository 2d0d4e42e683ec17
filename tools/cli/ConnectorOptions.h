#pragma once

#include "CliSupport.h"

#include <QString>
#include <memory>

namespace tallybrook {

class WooCommerceConnector;

namespace cli {

/// The value option of every command that talks to a shop: `--store URL`.
inline const QString storeOption = QStringLiteral("store");

/// The environment variables that hold the credentials used with `--store` (never arguments,
/// which other users of the machine can read).
inline constexpr const char* consumerKeyVariable = "TALLYBROOK_WOO_CONSUMER_KEY";
inline constexpr const char* consumerSecretVariable = "TALLYBROOK_WOO_CONSUMER_SECRET";

/// The connector a command uses: with `--store URL`, that address and the credentials of the
/// environment; without it, the saved connection. When no usable connection results, prints
/// the reason (the texts the window shows: invalid URL, not configured) on stderr and returns
/// null; the caller exits with `failure`.
std::unique_ptr<WooCommerceConnector> connectorFromOptions(const Arguments& arguments);

} // namespace cli
} // namespace tallybrook
