#pragma once

namespace tallybrook {

/// The two CSV dialects: the French spreadsheet one (";" separator, CR LF line ends, UTF-8
/// byte-order mark, French headers, localised status names) and a plain one ("," separator,
/// LF, no mark, snake_case headers, status codes).
enum class InventoryCSVDialect { frenchExcel, standard };

} // namespace tallybrook
