#include "app/TallybrookControlStore.h"

#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventorySearchIndex.h"
#include "core/TextRules.h"

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

void TallybrookControlStore::editCorrections(const QList<qsizetype>& rows,
                                             const std::function<void(WooCorrectionPreview&)>& edit) {
    QList<qsizetype> edited;
    edited.reserve(rows.size());
    for (const qsizetype row : rows) {
        if (row >= 0 && row < corrections_.size()) {
            edit(corrections_[row]);
            edited.append(row);
        }
    }
    emit correctionsEdited(edited);
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

PreparedInventorySession TallybrookControlStore::prepareSession(TallybrookDecodedInventory&& decoded,
                                                                const std::optional<QString>& fileName) const {
    PreparedInventorySession session;
    session.progressSavesSeen = progressSaves_.load();
    session.document = std::make_shared<const InventoryExportDocument>(std::move(decoded.document));
    const InventoryExportDocument& document = *session.document;
    // Fold the rows' search texts once now, so that every keystroke on the rows and
    // differences pages searches the cache instead of folding the whole document.
    InventorySearchIndex::prepare(session.document);
    session.fileName = fileName;
    session.validationWarnings = std::move(decoded.validation.warnings);
    session.locations = InventoryAnalysisService::inventoryLocations(document);
    session.temporaryItemLocationAssignments = temporaryLocationStore_.loadAssignments(document.session.id);
    session.corrections = rebuiltPreviews(document, {});
    if (const std::optional<QUuid> sessionId = document.session.uuid()) {
        session.updateResults = progressStore_.loadSessions().value(uuidText(*sessionId)).updateResults;
    }
    return session;
}

void TallybrookControlStore::adoptSession(PreparedInventorySession&& session) {
    document_ = std::move(session.document);
    inventoryLocations_ = std::move(session.locations);
    emit documentChanged();
    importedFileName_ = std::move(session.fileName);
    emit importedFileNameChanged();
    validationWarnings_ = std::move(session.validationWarnings);
    emit validationWarningsChanged();
    setLastRemoteReloadAt(std::nullopt);

    if (selectedInventoryLocation_ && !inventoryLocations_.contains(*selectedInventoryLocation_)) {
        setSelectedInventoryLocationValue(std::nullopt);
    }

    setAssignments(std::move(session.temporaryItemLocationAssignments));
    setUpdateResults(std::move(session.updateResults));
    if (session.progressSavesSeen != progressSaves_.load() && document_->session.uuid()) {
        // Progress was saved while the file was being read (edits of the session this import
        // replaces, possibly the same session): lay the newest saved progress over the rows.
        session.corrections = rebuiltPreviews(*document_, {});
    }
    setCorrections(std::move(session.corrections));
}

QList<WooCorrectionPreview> TallybrookControlStore::rebuiltPreviews(const InventoryExportDocument& document,
                                                                    const QList<RemoteStockLevel>& levels) const {
    return previewRebuilder()(document, levels);
}

std::function<QList<WooCorrectionPreview>(const InventoryExportDocument&, const QList<RemoteStockLevel>&)>
TallybrookControlStore::previewRebuilder() const {
    return [progress = progressStore_](const InventoryExportDocument& document, const QList<RemoteStockLevel>& levels) {
        QList<WooCorrectionPreview> previews = WooCorrectionBuilder().buildPreviews(document, levels);
        if (const std::optional<QUuid> sessionId = document.session.uuid()) {
            previews = progress.applyProgress(previews, *sessionId);
        }
        return previews;
    };
}

void TallybrookControlStore::applyRemoteStocks(const QList<RemoteStockLevel>& levels) {
    if (!document_) {
        setCorrections({});
        return;
    }
    adoptRebuiltPreviews(rebuiltPreviews(*document_, levels), levels, false);
}

void TallybrookControlStore::applyPartialRemoteStocks(const QList<RemoteStockLevel>& levels) {
    if (!document_) {
        setCorrections({});
        return;
    }
    adoptRebuiltPreviews(rebuiltPreviews(*document_, levels), levels, true);
}

void TallybrookControlStore::adoptRebuiltPreviews(QList<WooCorrectionPreview> rebuilt,
                                                  const QList<RemoteStockLevel>& levels, bool partial) {
    // Both lists hold one preview per document row, in row order, as long as the current one
    // was built from this document; otherwise there is nothing to keep.
    if (partial && rebuilt.size() == corrections_.size()) {
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
        ++progressSaves_;
        // Prepared when the write starts, so it holds the newest lists. The store outlives its
        // scheduler's writes: every pending write is done before the session is replaced or
        // the window goes.
        scheduleSave(saveScheduler_, QStringLiteral("correction-progress"), [this, sessionId = *sessionId] {
            return [progressStore = progressStore_, sessionId, shared = corrections_,
                    results = updateResults_]() mutable {
                // Take a copy of our own at once and let go of the shared list: an edit on the
                // main thread then changes its list in place instead of copying all of it.
                const QList<WooCorrectionPreview> corrections(shared.cbegin(), shared.cend());
                shared = {};
                progressStore.saveProgress(sessionId, corrections, results);
            };
        });
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
