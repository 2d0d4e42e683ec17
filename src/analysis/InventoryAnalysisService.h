#pragma once

#include "analysis/InventoryRowFilter.h"
#include "analysis/InventorySessionAnalysis.h"
#include "corrections/CorrectionRecords.h"
#include "document/InventoryExportDocument.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace tallybrook {

/// Rows of a document, by address, in the order of a list. The pointers stay valid as long
/// as the (immutable) document they come from lives; hold its shared pointer alongside.
using InventoryRowList = QList<const InventoryExportRow*>;

/// Every question the pages ask about an imported document: dashboard figures, the rows a
/// list shows for a search, filter and location, unknown codes and temporary items, the
/// locations and the codes of a row's barcode column.
///
/// Stateless: every operation is a pure function of its arguments (the current language is
/// read for search labels and location sorting). The overloads taking the document's shared
/// pointer search through the cached folded haystacks of `InventorySearchIndex` and give the
/// same rows as the others, which fold every row on every call.
class InventoryAnalysisService {
public:
    /// The dashboard figures over all rows; `corrections` may be empty (nothing built yet).
    static InventorySessionAnalysis makeAnalysis(const InventoryExportDocument& document,
                                                 const QList<WooCorrectionPreview>& corrections);

    /// The rows that pass the location, search and filter matches, in document order.
    static InventoryRowList filteredRows(const InventoryExportDocument& document, const QString& searchText,
                                         InventoryRowFilter filter, const std::optional<QString>& location);
    static InventoryRowList filteredRows(const std::shared_ptr<const InventoryExportDocument>& document,
                                         const QString& searchText, InventoryRowFilter filter,
                                         const std::optional<QString>& location);

    /// The unknown codes of a location (their own location, or that of a row of the code),
    /// all of them for an absent or blank location; document order.
    static QList<InventoryExportUnknownCode> unknownCodes(const InventoryExportDocument& document,
                                                          const std::optional<QString>& location);

    /// The codes shown in a row's barcode column: its trimmed barcode, else the distinct
    /// trimmed codes of the scan aliases created for its local item, else none.
    static QStringList barcodeColumnCodes(const InventoryExportRow& row,
                                          const InventoryExportDocument& document);

    /// The distinct trimmed locations of the rows and the source, sorted case-insensitively
    /// in the collation of the current language.
    static QStringList inventoryLocations(const InventoryExportDocument& document);

    /// Temporary items whose session id equals the session's id exactly.
    static QList<InventoryExportTemporaryItem>
    temporaryItemsForImportedSession(const InventoryExportDocument& document);
    /// Temporary items of another (non-empty) session id.
    static QList<InventoryExportTemporaryItem>
    temporaryItemsForOtherSessions(const InventoryExportDocument& document);
    /// Temporary items without session id, or with an empty one (older exports).
    static QList<InventoryExportTemporaryItem>
    legacyTemporaryItemsWithoutSession(const InventoryExportDocument& document);

    /// Location match (see InventoryLocationMatcher).
    static bool matchesLocation(const InventoryExportRow& row, const InventoryExportDocument& document,
                                const std::optional<QString>& location);
    /// Search match in the current language: every word of the folded query occurs in the
    /// row's folded haystack.
    static bool matchesSearch(const InventoryExportRow& row, const QString& searchText);
    /// Filter match on the file's `difference`, `countedQuantity`, `referenceQuantity` and status.
    static bool matchesFilter(const InventoryExportRow& row, InventoryRowFilter filter);
};

/// The scan-alias codes of every local item, gathered once: for callers that need the barcode
/// column of many rows (label sheets), where walking the aliases for each row would be
/// quadratic. Gives the same codes as InventoryAnalysisService::barcodeColumnCodes.
class BarcodeColumnIndex {
public:
    explicit BarcodeColumnIndex(const InventoryExportDocument& document);
    QStringList barcodeColumnCodes(const InventoryExportRow& row) const;

private:
    QHash<QString, QStringList> aliasCodes_;
};

} // namespace tallybrook
