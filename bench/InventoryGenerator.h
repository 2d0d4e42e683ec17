#pragma once

#include <QByteArray>

namespace tallybrook::bench {

/// Writes a realistic `.tallybrook` document of `rowCount` rows, deterministically (same bytes
/// for the same count): several locations, French names with accents, products with and
/// without variations, counted and uncounted rows with differences, unknown codes, temporary
/// items of this and other sessions, scan aliases.
QByteArray generateInventory(int rowCount);

} // namespace tallybrook::bench
