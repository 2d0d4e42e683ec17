#include "analysis/InventoryAnalysisService.h"

#include "analysis/InventoryLocationMatcher.h"
#include "analysis/InventorySearchIndex.h"
#include "analysis/SearchText.h"
#include "core/TextRules.h"
#include "localization/AppText.h"

#include <QCollator>
#include <QSet>
#include <algorithm>

namespace tallybrook {

namespace {

// Applies the filter, location and search matches in order of cost; `haystackOf(index)`
// supplies the folded haystack of a row for a non-empty query.
template <typename HaystackOf>
InventoryRowList selectRows(const InventoryExportDocument& document, const QString& searchText,
                            InventoryRowFilter filter, const std::optional<QString>& location,
                            HaystackOf&& haystackOf) {
    const InventoryLocationMatcher locationMatcher(document, location);
    const SearchQuery query(searchText);
    InventoryRowList result;
    const qsizetype rowCount = document.rows.size();
    for (qsizetype i = 0; i < rowCount; ++i) {
        const InventoryExportRow& row = document.rows[i];
        if (!InventoryAnalysisService::matchesFilter(row, filter) || !locationMatcher.matches(row)) {
            continue;
        }
        if (!query.isEmpty() && !query.matches(haystackOf(i))) {
            continue;
        }
        result.append(&row);
    }
    return result;
}

QStringList trimmedDistinctCodes(const QList<InventoryExportScanAlias>& aliases, QStringView itemLocalId) {
    QStringList codes;
    for (const InventoryExportScanAlias& alias : aliases) {
        if (QStringView(alias.itemLocalId).trimmed() != itemLocalId) {
            continue;
        }
        const QString code = trimmedText(alias.code);
        if (!code.isEmpty() && !codes.contains(code)) {
            codes.append(code);
        }
    }
    return codes;
}

template <typename Predicate>
QList<InventoryExportTemporaryItem> temporaryItemsWhere(const InventoryExportDocument& document,
                                                        Predicate&& keep) {
    QList<InventoryExportTemporaryItem> result;
    for (const InventoryExportTemporaryItem& item : document.temporaryItems) {
        if (keep(item.sessionId)) {
            result.append(item);
        }
    }
    return result;
}

} // namespace

InventorySessionAnalysis
InventoryAnalysisService::makeAnalysis(const InventoryExportDocument& document,
                                       const QList<WooCorrectionPreview>& corrections) {
    InventorySessionAnalysis analysis;
    analysis.sessionId = document.session.uuid().value_or(QUuid::createUuid());
    analysis.sessionName = document.session.name;
    analysis.exportedAt = document.exportedAt;
    analysis.sourceDisplayName = document.source.displayName;
    analysis.totalRows = document.rows.size();
    qint64 possibleFromRows = 0;
    for (const InventoryExportRow& row : document.rows) {
        if (row.status == InventoryExportRowStatus::counted ||
            row.status == InventoryExportRowStatus::difference) {
            ++analysis.countedRows;
        }
        if (row.status == InventoryExportRowStatus::notCounted) {
            ++analysis.notCountedRows;
        }
        if (row.difference && *row.difference != 0) {
            ++analysis.differenceRows;
        }
        if (row.status == InventoryExportRowStatus::difference && row.countedQuantity &&
            row.externalProductId && !row.externalProductId->isEmpty()) {
            ++possibleFromRows;
        }
    }
    analysis.unknownCodesCount = document.unknownCodes.size();
    analysis.temporaryItemsCount = temporaryItemsForImportedSession(document).size();
    analysis.ignoredTemporaryItemsCount = temporaryItemsForOtherSessions(document).size();
    analysis.legacyTemporaryItemsCount = legacyTemporaryItemsWithoutSession(document).size();
    if (corrections.isEmpty()) {
        analysis.possibleWooCorrectionsCount = possibleFromRows;
    } else {
        analysis.possibleWooCorrectionsCount =
            std::count_if(corrections.cbegin(), corrections.cend(), [](const WooCorrectionPreview& preview) {
                return isManuallyCorrectable(preview.status);
            });
    }
    return analysis;
}

InventoryRowList InventoryAnalysisService::filteredRows(const InventoryExportDocument& document,
                                                        const QString& searchText, InventoryRowFilter filter,
                                                        const std::optional<QString>& location) {
    std::optional<RowStatusLabels> labels;
    return selectRows(document, searchText, filter, location, [&](qsizetype i) {
        if (!labels) {
            labels = rowStatusLabels(AppText::currentLanguage());
        }
        return foldedRowHaystack(document.rows[i], *labels);
    });
}

InventoryRowList
InventoryAnalysisService::filteredRows(const std::shared_ptr<const InventoryExportDocument>& document,
                                       const QString& searchText, InventoryRowFilter filter,
                                       const std::optional<QString>& location) {
    if (!document) {
        return {};
    }
    const SearchQuery query(searchText);
    if (query.isEmpty()) {
        return filteredRows(*document, searchText, filter, location); // nothing to fold
    }
    const auto index = InventorySearchIndex::cached(document, AppText::currentLanguage());
    const InventoryLocationMatcher locationMatcher(*document, location);
    InventoryRowList result;
    for (const qsizetype i : index->matchingRows(query)) {
        const InventoryExportRow& row = document->rows[i];
        if (matchesFilter(row, filter) && locationMatcher.matches(row)) {
            result.append(&row);
        }
    }
    return result;
}

QList<InventoryExportUnknownCode>
InventoryAnalysisService::unknownCodes(const InventoryExportDocument& document,
                                       const std::optional<QString>& location) {
    const InventoryLocationMatcher locationMatcher(document, location);
    if (locationMatcher.isUnrestricted()) {
        return document.unknownCodes;
    }
    // Codes of the rows related to unknown codes in this location, gathered in one walk.
    QSet<QStringView> codesSeenHere;
    for (const InventoryExportRow& row : document.rows) {
        const bool related = row.status == InventoryExportRowStatus::unknownCode || row.source == u"unknown";
        if (!related || locationMatcher.effectiveLocation(row) != locationMatcher.location()) {
            continue;
        }
        if (row.barcode) {
            codesSeenHere.insert(*row.barcode);
        }
        if (row.inventoryCode) {
            codesSeenHere.insert(*row.inventoryCode);
        }
    }
    QList<InventoryExportUnknownCode> result;
    for (const InventoryExportUnknownCode& code : document.unknownCodes) {
        const bool ownLocation =
            code.location && QStringView(*code.location).trimmed() == locationMatcher.location();
        if (ownLocation || codesSeenHere.contains(code.code)) {
            result.append(code);
        }
    }
    return result;
}

QStringList InventoryAnalysisService::barcodeColumnCodes(const InventoryExportRow& row,
                                                         const InventoryExportDocument& document) {
    if (row.barcode) {
        const QString barcode = trimmedText(*row.barcode);
        if (!barcode.isEmpty()) {
            return {barcode};
        }
    }
    if (row.localItemId) {
        const QStringView itemId = QStringView(*row.localItemId).trimmed();
        if (!itemId.isEmpty()) {
            return trimmedDistinctCodes(document.scanAliasesCreated, itemId);
        }
    }
    return {};
}

QStringList InventoryAnalysisService::inventoryLocations(const InventoryExportDocument& document) {
    // Deduplicated on views of the trimmed texts (the rule of normalizedText, without a copy
    // per row). A shop has few locations: while there are few, comparing with each is
    // cheaper than hashing every row's text; past that, a hash set takes over.
    constexpr qsizetype linearLimit = 16;
    QList<QStringView> distinct;
    QSet<QStringView> seen;
    const auto add = [&](const std::optional<QString>& text) {
        if (!text) {
            return;
        }
        const QStringView location = QStringView(*text).trimmed();
        if (location.isEmpty()) {
            return;
        }
        const bool known =
            distinct.size() <= linearLimit ? distinct.contains(location) : seen.contains(location);
        if (known) {
            return;
        }
        distinct.append(location);
        if (distinct.size() == linearLimit + 1) {
            seen = QSet<QStringView>(distinct.cbegin(), distinct.cend());
        } else if (distinct.size() > linearLimit + 1) {
            seen.insert(location);
        }
    };
    for (const InventoryExportRow& row : document.rows) {
        add(row.location);
    }
    add(document.source.locationName);

    QStringList locations;
    locations.reserve(distinct.size());
    for (const QStringView location : distinct) {
        locations.append(location.toString());
    }
    QCollator collator(locale(AppText::currentLanguage()));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Names equal to the collator (differing in case only) still get one fixed order.
    std::sort(locations.begin(), locations.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return locations;
}

QList<InventoryExportTemporaryItem>
InventoryAnalysisService::temporaryItemsForImportedSession(const InventoryExportDocument& document) {
    return temporaryItemsWhere(document, [&](const std::optional<QString>& sessionId) {
        return sessionId && *sessionId == document.session.id;
    });
}

QList<InventoryExportTemporaryItem>
InventoryAnalysisService::temporaryItemsForOtherSessions(const InventoryExportDocument& document) {
    return temporaryItemsWhere(document, [&](const std::optional<QString>& sessionId) {
        return sessionId && !sessionId->isEmpty() && *sessionId != document.session.id;
    });
}

QList<InventoryExportTemporaryItem>
InventoryAnalysisService::legacyTemporaryItemsWithoutSession(const InventoryExportDocument& document) {
    return temporaryItemsWhere(
        document, [](const std::optional<QString>& sessionId) { return !sessionId || sessionId->isEmpty(); });
}

bool InventoryAnalysisService::matchesLocation(const InventoryExportRow& row,
                                               const InventoryExportDocument& document,
                                               const std::optional<QString>& location) {
    return InventoryLocationMatcher(document, location).matches(row);
}

bool InventoryAnalysisService::matchesSearch(const InventoryExportRow& row, const QString& searchText) {
    const SearchQuery query(searchText);
    return query.isEmpty() ||
           query.matches(foldedRowHaystack(row, rowStatusLabels(AppText::currentLanguage())));
}

bool InventoryAnalysisService::matchesFilter(const InventoryExportRow& row, InventoryRowFilter filter) {
    const std::optional<qint64>& difference = row.difference;
    switch (filter) {
    case InventoryRowFilter::all:
        return true;
    case InventoryRowFilter::differencesOnly:
        return difference && *difference != 0;
    case InventoryRowFilter::missingStock:
        return difference && *difference < 0;
    case InventoryRowFilter::extraStock:
        return difference && *difference > 0;
    case InventoryRowFilter::notCounted:
        return row.status == InventoryExportRowStatus::notCounted || !row.countedQuantity;
    case InventoryRowFilter::withoutReferenceStock:
        return !row.referenceQuantity;
    }
    return false;
}

BarcodeColumnIndex::BarcodeColumnIndex(const InventoryExportDocument& document) {
    for (const InventoryExportScanAlias& alias : document.scanAliasesCreated) {
        const QString itemId = trimmedText(alias.itemLocalId);
        const QString code = trimmedText(alias.code);
        if (itemId.isEmpty() || code.isEmpty()) {
            continue;
        }
        QStringList& codes = aliasCodes_[itemId];
        if (!codes.contains(code)) {
            codes.append(code);
        }
    }
}

QStringList BarcodeColumnIndex::barcodeColumnCodes(const InventoryExportRow& row) const {
    if (row.barcode) {
        const QString barcode = trimmedText(*row.barcode);
        if (!barcode.isEmpty()) {
            return {barcode};
        }
    }
    if (row.localItemId) {
        const QString itemId = trimmedText(*row.localItemId);
        if (!itemId.isEmpty()) {
            return aliasCodes_.value(itemId);
        }
    }
    return {};
}

} // namespace tallybrook
