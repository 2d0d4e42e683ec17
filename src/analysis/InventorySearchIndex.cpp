#include "analysis/InventorySearchIndex.h"

#include "analysis/SearchText.h"
#include "localization/AppText.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace tallybrook {

namespace {

void appendRowSearchText(QString& out, const InventoryExportRow& row, const RowStatusLabels& labels) {
    appendJoinedSearchFields(out,
                             {QStringView(labels[qsizetype(row.status)]), searchField(row.itemName),
                              searchField(row.variantName), searchField(row.sku), searchField(row.barcode),
                              searchField(row.inventoryCode), searchField(row.category),
                              searchField(row.location), searchField(row.note)});
}

// Two languages of one or two documents cover the window's use (a new import replaces the
// old document); more entries would only hold memory.
constexpr std::size_t cacheCapacity = 4;

struct CacheEntry {
    std::weak_ptr<const InventoryExportDocument> document;
    std::shared_ptr<const InventorySearchIndex> index;
};

std::mutex cacheMutex;
std::vector<CacheEntry>& cacheEntries() {
    static std::vector<CacheEntry> entries;
    return entries;
}

bool sameOwner(const std::weak_ptr<const InventoryExportDocument>& a,
               const std::shared_ptr<const InventoryExportDocument>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

std::shared_ptr<const InventorySearchIndex>
findLocked(const std::shared_ptr<const InventoryExportDocument>& document, AppLanguage language) {
    auto& entries = cacheEntries();
    std::erase_if(entries, [](const CacheEntry& entry) { return entry.document.expired(); });
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const CacheEntry& entry) {
        return sameOwner(entry.document, document) && entry.index->language() == language &&
               entry.index->isFor(*document);
    });
    if (it == entries.end()) {
        return nullptr;
    }
    // Most recently used last.
    std::rotate(it, it + 1, entries.end());
    return entries.back().index;
}

} // namespace

RowStatusLabels rowStatusLabels(AppLanguage language) {
    RowStatusLabels labels;
    for (const InventoryExportRowStatus status : allInventoryExportRowStatuses) {
        labels[qsizetype(status)] = label(status, language);
    }
    return labels;
}

QString foldedRowHaystack(const InventoryExportRow& row, const RowStatusLabels& labels) {
    QString joined;
    appendRowSearchText(joined, row, labels);
    return foldedSearchText(joined);
}

InventorySearchIndex::InventorySearchIndex(const InventoryExportDocument& document, AppLanguage language)
    : language_(language)
    , rowsData_(document.rows.constData()) {
    const RowStatusLabels labels = rowStatusLabels(language);
    offsets_.reserve(document.rows.size() + 1);
    offsets_.append(0);
    QString joined;
    QString folded;
    for (const InventoryExportRow& row : document.rows) {
        joined.resize(0); // both keep their capacity from row to row
        folded.resize(0);
        appendRowSearchText(joined, row, labels);
        appendFoldedSearchText(folded, QStringView(joined).trimmed());
        appendSearchBytes(bytes_, folded);
        offsets_.append(bytes_.size());
    }
}

QList<qsizetype> InventorySearchIndex::matchingRows(const SearchQuery& query) const {
    QList<qsizetype> rows;
    const std::string_view text(bytes_.constData(), std::size_t(bytes_.size()));
    const std::size_t wordSize = query.longestWordSize();
    const qsizetype rowCount = size();
    std::size_t from = 0;
    qsizetype row = 0;
    while (row < rowCount) {
        const std::size_t hit = query.findLongestWord(text, from);
        if (hit == std::string_view::npos) {
            break;
        }
        // The row the hit starts in: the last one starting at or before it.
        row = qsizetype(std::upper_bound(offsets_.cbegin() + row + 1, offsets_.cend(), qsizetype(hit)) -
                        offsets_.cbegin()) -
              1;
        const auto rowEnd = std::size_t(offsets_[row + 1]);
        // A hit running into the next row means no occurrence in this one: any later one
        // would run over too.
        if (hit + wordSize <= rowEnd && query.matchesOtherWords(haystack(row))) {
            rows.append(row);
        }
        from = rowEnd;
        ++row;
    }
    return rows;
}

std::shared_ptr<const InventorySearchIndex>
InventorySearchIndex::cached(const std::shared_ptr<const InventoryExportDocument>& document,
                             AppLanguage language) {
    {
        std::lock_guard lock(cacheMutex);
        if (auto index = findLocked(document, language)) {
            return index;
        }
    }
    // Built outside the lock: another thread may search another document meanwhile.
    auto built = std::make_shared<const InventorySearchIndex>(*document, language);
    std::lock_guard lock(cacheMutex);
    if (auto index = findLocked(document, language)) {
        return index;
    }
    auto& entries = cacheEntries();
    if (entries.size() >= cacheCapacity) {
        entries.erase(entries.begin());
    }
    entries.push_back(CacheEntry{document, built});
    return built;
}

void InventorySearchIndex::prepare(const std::shared_ptr<const InventoryExportDocument>& document) {
    if (!document) {
        return;
    }
    // The current language last, so that it is the most recently used entry.
    const AppLanguage current = AppText::currentLanguage();
    for (const AppLanguage language : allAppLanguages) {
        if (language != current) {
            cached(document, language);
        }
    }
    cached(document, current);
}

} // namespace tallybrook
