#pragma once

#include "document/InventoryExportDocument.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace tallybrook {

/// The location match of rows against one chosen location, with the argument's trimming and
/// the source's fallback location worked out once for a whole list.
///
/// A row's effective location is its trimmed `location`, else the trimmed `locationName` of
/// the document's source, else none. A blank or absent choice matches every row; otherwise
/// a row matches when its effective location equals the trimmed choice exactly.
/// Holds views into the document and the argument: use it while both live.
class InventoryLocationMatcher {
public:
    InventoryLocationMatcher(const InventoryExportDocument& document, const std::optional<QString>& location);

    /// True when no location is chosen (absent or blank): every row matches.
    bool isUnrestricted() const { return location_.isEmpty(); }
    /// The trimmed choice (empty when unrestricted).
    QStringView location() const { return location_; }

    bool matches(const InventoryExportRow& row) const {
        return isUnrestricted() || effectiveLocation(row) == location_;
    }
    /// The row's effective location; empty when it has none.
    QStringView effectiveLocation(const InventoryExportRow& row) const {
        if (row.location) {
            const QStringView own = QStringView(*row.location).trimmed();
            if (!own.isEmpty()) {
                return own;
            }
        }
        return sourceLocation_;
    }

private:
    QStringView location_;
    QStringView sourceLocation_;
};

} // namespace tallybrook
