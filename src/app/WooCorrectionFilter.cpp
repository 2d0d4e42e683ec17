#include "app/WooCorrectionFilter.h"

#include "analysis/SearchText.h"

namespace tallybrook {

WooCorrectionCounters WooCorrectionCounters::of(const QList<WooCorrectionPreview>& previews) {
    WooCorrectionCounters counters;
    for (const WooCorrectionPreview& preview : previews) {
        if (preview.status == WooCorrectionStatus::ready) {
            ++counters.ready;
        }
        if (isSendable(preview)) {
            ++counters.selected;
        }
        if (preview.status == WooCorrectionStatus::remoteStockChanged) {
            ++counters.review;
        }
        if (isBlocking(preview.status)) {
            ++counters.blocked;
        }
    }
    return counters;
}

QList<qsizetype> WooCorrectionFilter::indicesIn(const QList<WooCorrectionPreview>& previews) const {
    const SearchQuery query(searchText);
    QList<qsizetype> indices;
    for (qsizetype i = 0; i < previews.size(); ++i) {
        const WooCorrectionPreview& preview = previews.at(i);
        if (status && *status != preview.status) {
            continue;
        }
        if (!query.isEmpty()) {
            const QString statusName = displayName(preview.status);
            if (!query.matches(foldedSearchHaystack(
                    {QStringView(statusName), QStringView(preview.itemName), searchField(preview.variantName),
                     searchField(preview.sku), searchField(preview.barcode),
                     searchField(preview.externalProductId), searchField(preview.message)}))) {
                continue;
            }
        }
        indices.append(i);
    }
    return indices;
}

} // namespace tallybrook
