#pragma once

#include "corrections/Clock.h"
#include "corrections/CorrectionRecords.h"
#include "corrections/WooStockComparisonService.h"
#include "document/InventoryExportDocument.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookValidationWarning.h"
#include "storage/InventoryImportTarget.h"
#include "storage/TemporaryItemLocationStore.h"
#include "storage/WooCorrectionProgressStore.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace tallybrook {

class PreferencesStore;

/// The one shared application state: the imported document and everything derived from it
/// that must survive switching pages (warnings, correction previews, last send results,
/// reload time, location filter, temporary-item locations).
///
/// Lives on the main thread for the life of the window; every page reads it. Each published
/// property has its own change signal, emitted on every assignment (also when the value does
/// not change). The document is shared, never copied: holders of the pointer keep the same
/// immutable document alive after a newer import replaced it. Owns the per-session stores,
/// which persist correction progress and temporary-item locations as they change.
class TallybrookControlStore : public QObject, public InventoryImportTarget {
    Q_OBJECT

public:
    explicit TallybrookControlStore(std::shared_ptr<PreferencesStore> defaults, Clock clock = systemNow,
                                    QObject* parent = nullptr);

    // Published properties.
    const std::shared_ptr<const InventoryExportDocument>& document() const { return document_; }
    const std::optional<QString>& importedFileName() const { return importedFileName_; }
    const QList<TallybrookValidationWarning>& validationWarnings() const { return validationWarnings_; }
    const QList<WooCorrectionPreview>& corrections() const { return corrections_; }
    const QList<WooUpdateResultLine>& updateResults() const { return updateResults_; }
    const std::optional<QDateTime>& lastRemoteReloadAt() const { return lastRemoteReloadAt_; }
    const std::optional<QString>& selectedInventoryLocation() const { return selectedInventoryLocation_; }
    const QMap<QString, QString>& temporaryItemLocationAssignments() const {
        return temporaryItemLocationAssignments_;
    }

    /// The corrections page edits previews and send results directly (selection, proposals,
    /// folded send outcomes); callers save progress afterwards.
    void setCorrections(QList<WooCorrectionPreview> corrections);
    void setUpdateResults(QList<WooUpdateResultLine> updateResults);

    bool hasDocument() const override { return document_ != nullptr; }
    /// Replaces the whole session: document, file name, warnings, reload time, send results
    /// and assignments of the new session; keeps the location filter only when the new
    /// document has that location; rebuilds the previews without stock and lays the saved
    /// progress over them.
    void importInventory(const TallybrookDecodedInventory& decoded,
                         const std::optional<QString>& fileName) override;
    void importInventory(TallybrookDecodedInventory&& decoded, const std::optional<QString>& fileName);

    /// Rebuilds the previews from the document and `levels` and lays the saved progress over
    /// them; records the reload time when `levels` is not empty. No document: no previews.
    void applyRemoteStocks(const QList<RemoteStockLevel>& levels);
    /// Like applyRemoteStocks for a reload that was stopped part way: only the previews of
    /// items that were read (their product and variation appear among `levels`) are replaced
    /// by rebuilt ones; the others stay exactly as they were.
    void applyPartialRemoteStocks(const QList<RemoteStockLevel>& levels);
    /// Persists `corrections` and `updateResults` for the document's session; nothing without
    /// a document or when its session id is not a UUID.
    void saveProgress();

    /// Trimmed location; blank or none shows all locations.
    void selectInventoryLocation(const std::optional<QString>& location);
    /// The item's own location when the file gives one (even empty), else the location
    /// assigned here, else none.
    std::optional<QString> effectiveLocation(const InventoryExportTemporaryItem& item) const;
    /// Records (trimmed) or clears (blank, none) the location of a temporary item and saves
    /// the session's assignments.
    void assignLocation(const std::optional<QString>& location, const InventoryExportTemporaryItem& item);

    const WooStockComparisonService& comparisonService() const { return comparisonService_; }
    const WooCorrectionProgressStore& progressStore() const { return progressStore_; }
    const TemporaryItemLocationStore& temporaryLocationStore() const { return temporaryLocationStore_; }

signals:
    void documentChanged();
    void importedFileNameChanged();
    void validationWarningsChanged();
    void correctionsChanged();
    void updateResultsChanged();
    void lastRemoteReloadAtChanged();
    void selectedInventoryLocationChanged();
    void temporaryItemLocationAssignmentsChanged();

private:
    QList<WooCorrectionPreview> rebuiltPreviews(const QList<RemoteStockLevel>& levels) const;
    void setLastRemoteReloadAt(std::optional<QDateTime> value);
    void setSelectedInventoryLocationValue(std::optional<QString> value);
    void setAssignments(QMap<QString, QString> assignments);

    Clock clock_;
    WooStockComparisonService comparisonService_;
    WooCorrectionProgressStore progressStore_;
    TemporaryItemLocationStore temporaryLocationStore_;

    std::shared_ptr<const InventoryExportDocument> document_;
    std::optional<QString> importedFileName_;
    QList<TallybrookValidationWarning> validationWarnings_;
    QList<WooCorrectionPreview> corrections_;
    QList<WooUpdateResultLine> updateResults_;
    std::optional<QDateTime> lastRemoteReloadAt_;
    std::optional<QString> selectedInventoryLocation_;
    QMap<QString, QString> temporaryItemLocationAssignments_;
};

} // namespace tallybrook
