#include "analysis/InventoryLocationMatcher.h"

namespace tallybrook {

// QStringView::trimmed drops what QChar::isSpace calls space: the rule of trimmedText, without
// allocating per row.
InventoryLocationMatcher::InventoryLocationMatcher(const InventoryExportDocument& document,
                                                   const std::optional<QString>& location) {
    if (location) {
        location_ = QStringView(*location).trimmed();
    }
    if (document.source.locationName) {
        sourceLocation_ = QStringView(*document.source.locationName).trimmed();
    }
}

} // namespace tallybrook
