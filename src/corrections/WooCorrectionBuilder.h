#pragma once

#include "corrections/CorrectionRecords.h"

#include <QList>
#include <optional>

namespace tallybrook {

struct InventoryExportDocument;

/// Signed difference `minuend - subtrahend`, or none when either side is none or the exact
/// result does not fit in 64 bits. Counts near the qint64 limits only come from broken
/// files; showing no difference is safer than a wrapped-around one.
std::optional<qint64> checkedDifference(std::optional<qint64> minuend, std::optional<qint64> subtrahend);

/// Turns a document and the stock levels last read from the shop into one correction preview
/// per document row, in row order: matches each row to a level, computes the differences,
/// proposes the counted quantity, gives the row its status and message and preselects the
/// ready rows.
///
/// Stateless; safe from any thread. Messages are taken in the language current at build time
/// and every build draws fresh preview ids.
class WooCorrectionBuilder {
public:
    /// Empty when the document's session id is not a UUID. Rows are matched to levels first
    /// by local item, product and variation, then by product and variation alone; among levels
    /// with the same key the earlier one in the list wins. Linear in rows plus levels.
    QList<WooCorrectionPreview> buildPreviews(const InventoryExportDocument& document,
                                              const QList<RemoteStockLevel>& currentRemoteStocks) const;
};

} // namespace tallybrook
