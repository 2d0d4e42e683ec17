#include "app/TallybrookControlStore.h"

#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventorySearchIndex.h"
#include "document/TextRules.h"

#include <QSet>

namespace tallybrook {

namespace {

/// Product and variation of a preview, the key under which the connector reads stock.
QString productVariantKey(const std::optional<QString>& productId, const std::optional<QString>& variantId) {
    return productId.value_or(QString()) + u':' + variantId.value_or(QString());
}

} // namespace

TallybrookControlStore::TallybrookControlStore(std::shared_ptr<PreferencesStore> defaults, Clock clock,
                                               QObject* parent)
    : QObject(parent)
    , clock_(std::move(clock))
    , progressStore_(defaults, clock_)
    , temporaryLocationStore_(defaults, clock_) {}

void TallybrookControlStore::setCorrections(QList<WooCorrectionPreview> corrections) {
    corrections_ = std::move(corrections);
    emit correctionsChanged();
}

void TallybrookControlStore::setUpdateResults(QList<WooUpdateResultLine> updateResults) {
    updateResults_ = std::move(updateResults);
    emit updateResultsChanged();
}

void TallybrookControlStore::setLastRemoteReloadAt(std::optional<QDateTime> value) {
    lastRemoteReloadAt_ = std::move(value);
    emit lastRemoteReloadAtChanged();
}

void TallybrookControlStore::setSelectedInventoryLocationValue(std::optional<QString> value) {
    selectedInventoryLocation_ = std::move(value);
    emit selectedInventoryLocationChanged();
}

void TallybrookControlStore::setAssignments(QMap<QString, QString> assignments) {
    temporaryItemLocationAssignments_ = std::move(assignments);
    emit temporaryItemLocationAssignmentsChanged();
}

void TallybrookControlStore::importInventory(const TallybrookDecodedInventory& decoded,
                                             const std::optional<QString>& fileName) {
    importInventory(TallybrookDecodedInventory(decoded), fileName);
}

void TallybrookControlStore::importInventory(TallybrookDecodedInventory&& decoded,
                                             const std::optional<QString>& fileName) {
    document_ = std::make_shared<const InventoryExportDocument>(std::move(decoded.document));
    // Fold the rows' search texts once now, so that every keystroke on the rows and
    // differences pages searches the cache instead of folding the whole document.
    InventorySearchIndex::prepare(document_);
    emit documentChanged();
    importedFileName_ = fileName;
    emit importedFileNameChanged();
    validationWarnings_ = std::move(decoded.validation.warnings);
    emit validationWarningsChanged();
    setLastRemoteReloadAt(std::nullopt);

    if (selectedInventoryLocation_ &&
        !InventoryAnalysisService::inventoryLocations(*document_).contains(*selectedInventoryLocation_)) {
        setSelectedInventoryLocationValue(std::nullopt);
    }

    setAssignments(temporaryLocationStore_.loadAssignments(document_->session.id));

    QList<WooUpdateResultLine> results;
    if (const std::optional<QUuid> sessionId = document_->session.uuid()) {
        results = progressStore_.loadSessions().value(uuidText(*sessionId)).updateResults;
    }
    setUpdateResults(std::move(results));

    applyRemoteStocks({});
}

QList<WooCorrectionPreview>
TallybrookControlStore::rebuiltPreviews(const QList<RemoteStockLevel>& levels) const {
    QList<WooCorrectionPreview> previews = comparisonService_.buildPreviews(*document_, levels);
    if (const std::optional<QUuid> sessionId = document_->session.uuid()) {
        previews = progressStore_.applyProgress(previews, *sessionId);
    }
    return previews;
}

void TallybrookControlStore::applyRemoteStocks(const QList<RemoteStockLevel>& levels) {
    if (!document_) {
        setCorrections({});
        return;
    }
    setCorrections(rebuiltPreviews(levels));
    if (!levels.isEmpty()) {
        setLastRemoteReloadAt(clock_());
    }
}

void TallybrookControlStore::applyPartialRemoteStocks(const QList<RemoteStockLevel>& levels) {
    if (!document_) {
        setCorrections({});
        return;
    }
    QList<WooCorrectionPreview> rebuilt = rebuiltPreviews(levels);
    // Both lists hold one preview per document row, in row order, as long as the current one
    // was built from this document; otherwise there is nothing to keep.
    if (rebuilt.size() == corrections_.size()) {
        QSet<QString> readKeys;
        readKeys.reserve(levels.size());
        for (const RemoteStockLevel& level : levels) {
            readKeys.insert(productVariantKey(level.externalProductId, level.externalVariantId));
        }
        for (qsizetype i = 0; i < rebuilt.size(); ++i) {
            const WooCorrectionPreview& preview = rebuilt.at(i);
            if (!readKeys.contains(productVariantKey(preview.externalProductId, preview.externalVariantId))) {
                rebuilt[i] = corrections_.at(i);
            }
        }
    }
    setCorrections(std::move(rebuilt));
    if (!levels.isEmpty()) {
        setLastRemoteReloadAt(clock_());
    }
}

void TallybrookControlStore::saveProgress() {
    if (!document_) {
        return;
    }
    if (const std::optional<QUuid> sessionId = document_->session.uuid()) {
        progressStore_.saveProgress(*sessionId, corrections_, updateResults_);
    }
}

void TallybrookControlStore::selectInventoryLocation(const std::optional<QString>& location) {
    setSelectedInventoryLocationValue(normalizedText(location));
}

std::optional<QString>
TallybrookControlStore::effectiveLocation(const InventoryExportTemporaryItem& item) const {
    if (item.location) {
        return item.location;
    }
    const auto assigned =
        temporaryItemLocationAssignments_.constFind(TemporaryItemLocationStore::itemKey(item));
    if (assigned != temporaryItemLocationAssignments_.cend()) {
        return *assigned;
    }
    return std::nullopt;
}

void TallybrookControlStore::assignLocation(const std::optional<QString>& location,
                                            const InventoryExportTemporaryItem& item) {
    const QString key = TemporaryItemLocationStore::itemKey(item);
    QMap<QString, QString> assignments = temporaryItemLocationAssignments_;
    if (const std::optional<QString> normalized = normalizedText(location)) {
        assignments.insert(key, *normalized);
    } else {
        assignments.remove(key);
    }
    setAssignments(std::move(assignments));
    if (document_) {
        temporaryLocationStore_.saveAssignments(temporaryItemLocationAssignments_, document_->session.id);
    }
}

} // namespace tallybrook
