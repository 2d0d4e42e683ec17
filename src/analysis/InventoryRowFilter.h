#pragma once

#include "localization/AppLanguage.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace tallybrook {

/// The filter choices of the row lists; the raw value is the case name.
enum class InventoryRowFilter {
    all,
    differencesOnly,
    missingStock,
    extraStock,
    notCounted,
    withoutReferenceStock
};

inline constexpr std::array<InventoryRowFilter, 6> allInventoryRowFilters{
    InventoryRowFilter::all,          InventoryRowFilter::differencesOnly,
    InventoryRowFilter::missingStock, InventoryRowFilter::extraStock,
    InventoryRowFilter::notCounted,   InventoryRowFilter::withoutReferenceStock};

/// "all", "differencesOnly", "missingStock", "extraStock", "notCounted", "withoutReferenceStock".
QString rawValue(InventoryRowFilter filter);
/// Exact, case-sensitive match of the six raw values.
std::optional<InventoryRowFilter> inventoryRowFilterFromRawValue(QStringView raw);
/// The filter's label (`rowFilter.*`) in `language`, or in the current language when none.
QString label(InventoryRowFilter filter, std::optional<AppLanguage> language = std::nullopt);

} // namespace tallybrook
