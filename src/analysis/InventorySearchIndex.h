#pragma once

#include "document/InventoryExportDocument.h"
#include "localization/AppLanguage.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <string_view>

namespace tallybrook {

class SearchQuery;

/// The six row-status labels of one language, looked up once per search instead of per row.
using RowStatusLabels = std::array<QString, allInventoryExportRowStatuses.size()>;
RowStatusLabels rowStatusLabels(AppLanguage language);

/// The folded search haystack of one row: status label, item name, variant name, SKU,
/// barcode, inventory code, category, location and note (the present ones), joined with
/// spaces, trimmed and folded.
QString foldedRowHaystack(const InventoryExportRow& row, const RowStatusLabels& labels);

/// The folded haystacks of every row of one document in one language, as search bytes laid
/// end to end in one buffer.
///
/// Searching a large document keystroke after keystroke would otherwise fold every row again
/// on each call. The index holds exactly the haystacks `foldedRowHaystack` gives and finds
/// exactly the rows `SearchQuery::matches` accepts. It is immutable once built and may be
/// read from any thread.
class InventorySearchIndex {
public:
    InventorySearchIndex(const InventoryExportDocument& document, AppLanguage language);

    qsizetype size() const { return offsets_.size() - 1; }
    AppLanguage language() const { return language_; }
    /// The search bytes of the folded haystack of the row at `rowIndex`.
    std::string_view haystack(qsizetype rowIndex) const {
        return std::string_view(bytes_.constData() + offsets_[rowIndex],
                                std::size_t(offsets_[rowIndex + 1] - offsets_[rowIndex]));
    }
    /// Whether this index was built from these very rows (same storage, same count).
    bool isFor(const InventoryExportDocument& document) const {
        return document.rows.constData() == rowsData_ && document.rows.size() == size();
    }

    /// The indexes of the rows whose haystack matches the query, ascending. The longest word
    /// is looked for through the whole buffer at once; only the rows it occurs in are tested
    /// for the other words.
    QList<qsizetype> matchingRows(const SearchQuery& query) const;

    /// The index of `document` in `language`, from a small process-wide cache (thread-safe),
    /// built on first use. The cache holds the document weakly and recognises it by owner,
    /// so a new document at the address of a freed one is never served a stale index; it
    /// keeps the few most recently used indexes.
    static std::shared_ptr<const InventorySearchIndex>
    cached(const std::shared_ptr<const InventoryExportDocument>& document, AppLanguage language);

    /// Builds the cached indexes of `document` in both languages ahead of the first search,
    /// so that the first keystroke, also after a change of language, is as fast as the
    /// following ones. Call it when a document is imported (from any thread).
    static void prepare(const std::shared_ptr<const InventoryExportDocument>& document);

private:
    AppLanguage language_;
    QByteArray bytes_;
    QList<qsizetype> offsets_;
    const InventoryExportRow* rowsData_ = nullptr;
};

} // namespace tallybrook
