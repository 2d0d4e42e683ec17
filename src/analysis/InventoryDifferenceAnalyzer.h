#pragma once

#include "analysis/InventoryAnalysisService.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <optional>

namespace tallybrook {

/// The stock differences of a document: rows whose exported `difference` is present and not
/// zero, narrowed by location and search (the row filter is not applied), largest gaps first.
///
/// Stateless. Order: by absolute difference, largest first (a difference of the most negative
/// 64-bit value counts as the largest of all), then by display key (item name, else barcode,
/// else empty) in Unicode code point order after canonical composition, case-sensitive and not
/// localised; rows equal on both keep their document order.
class InventoryDifferenceAnalyzer {
public:
    static InventoryRowList differences(const InventoryExportDocument& document, const QString& searchText,
                                        const std::optional<QString>& location);
    /// Same rows, searching through the cached folded haystacks of the document.
    static InventoryRowList differences(const std::shared_ptr<const InventoryExportDocument>& document,
                                        const QString& searchText, const std::optional<QString>& location);

    /// Compares two texts by Unicode code point (not by UTF-16 code unit, which would put
    /// characters beyond U+FFFF before U+E000..U+FFFF). Negative, zero or positive.
    static int compareCodePoints(QStringView a, QStringView b);
};

} // namespace tallybrook
