#pragma once

#include "core/Clock.h"
#include "corrections/CorrectionRecords.h"
#include "corrections/WooCorrectionBuilder.h"
#include "document/InventoryExportDocument.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookValidationWarning.h"
#include "storage/SaveScheduler.h"
#include "storage/TemporaryItemLocationStore.h"
#include "storage/WooCorrectionProgressStore.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace tallybrook {

class PreferencesStore;

/// A session made ready for the store from a decoded file: everything an import derives from
/// the document, prepared where the import runs (a worker thread) so that the store only has
/// to take it over.
struct PreparedInventorySession {
    std::shared_ptr<const InventoryExportDocument> document;
    std::optional<QString> fileName;
    QList<TallybrookValidationWarning> validationWarnings;
    /// The document's locations, to re-check the location filter.
    QStringList locations;
    QMap<QString, QString> temporaryItemLocationAssignments;
    QList<WooUpdateResultLine> updateResults;
    /// Built without store stock, with the session's saved progress laid over them.
    QList<WooCorrectionPreview> corrections;
    /// The store's count of progress saves when the progress was read.
    quint64 progressSavesSeen = 0;
};

/// The one shared application state: the imported document and everything derived from it
/// that must survive switching pages (warnings, correction previews, last send results,
/// reload time, location filter, temporary-item locations).
///
/// Lives on the main thread for the life of the window; every page reads it. Each published
/// property has its own change signal, emitted on every assignment (also when the value does
/// not change). The document is shared, never copied: holders of the pointer keep the same
/// immutable document alive after a newer import replaced it. Owns the per-session stores,
/// which persist correction progress and temporary-item locations as they change.
class TallybrookControlStore : public QObject {
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
    /// Edits previews in place (row indices into `corrections`): selections and proposals, which
    /// change neither the number nor the order of the rows. Announced as `correctionsEdited`
    /// with the rows, so that a page redraws those rows only.
    void editCorrections(const QList<qsizetype>& rows, const std::function<void(WooCorrectionPreview&)>& edit);
    void setUpdateResults(QList<WooUpdateResultLine> updateResults);

    bool hasDocument() const { return document_ != nullptr; }
    /// An import in two steps (the import flow takes both): `prepareSession` does the work that
    /// does not touch the store's published state (the document, its locations, assignments,
    /// send results and previews with saved progress) and is safe from any thread, as it only
    /// reads the thread-safe preferences; `adoptSession`, on the main thread, then replaces the
    /// whole session: document, file name, warnings, reload time, send results and assignments
    /// of the new session; it keeps the location filter only when the new document has that
    /// location.
    PreparedInventorySession prepareSession(TallybrookDecodedInventory&& decoded,
                                            const std::optional<QString>& fileName) const;
    void adoptSession(PreparedInventorySession&& session);
    /// The locations of the current document, as found at its import.
    const QStringList& inventoryLocations() const { return inventoryLocations_; }

    /// Rebuilds the previews from the document and `levels` and lays the saved progress over
    /// them; records the reload time when `levels` is not empty. No document: no previews.
    void applyRemoteStocks(const QList<RemoteStockLevel>& levels);
    /// Like applyRemoteStocks for a reload that was stopped part way: only the previews of
    /// items that were read (their product and variation appear among `levels`) are replaced
    /// by rebuilt ones; the others stay exactly as they were.
    void applyPartialRemoteStocks(const QList<RemoteStockLevel>& levels);
    /// The previews of `document` for `levels` with the session's saved progress laid over them.
    /// Safe from any thread: a reload builds them where it ran.
    QList<WooCorrectionPreview> rebuiltPreviews(const InventoryExportDocument& document,
                                                const QList<RemoteStockLevel>& levels) const;
    /// `rebuiltPreviews` as a function that holds copies of the services it needs, for work that
    /// may outlive the store.
    std::function<QList<WooCorrectionPreview>(const InventoryExportDocument&, const QList<RemoteStockLevel>&)>
    previewRebuilder() const;
    /// applyRemoteStocks (or, `partial`, applyPartialRemoteStocks) with previews already rebuilt
    /// by `rebuiltPreviews` from the current document.
    void adoptRebuiltPreviews(QList<WooCorrectionPreview> rebuilt, const QList<RemoteStockLevel>& levels,
                              bool partial);
    /// Persists `corrections` and `updateResults` for the document's session; nothing without
    /// a document or when its session id is not a UUID. With a save scheduler the write is
    /// handed to it with the state of this moment.
    void saveProgress();
    /// Where progress writes go (none: written at once, on the calling thread), and how to wait
    /// for the writes handed there.
    void setSaveScheduler(SaveScheduler scheduler, std::function<void()> flush = {}) {
        saveScheduler_ = std::move(scheduler);
        flushSaves_ = std::move(flush);
    }
    /// Returns once every progress write asked so far is done.
    void flushSaves() const {
        if (flushSaves_) {
            flushSaves_();
        }
    }

    /// Trimmed location; blank or none shows all locations.
    void selectInventoryLocation(const std::optional<QString>& location);
    /// The item's own location when the file gives one (even empty), else the location
    /// assigned here, else none.
    std::optional<QString> effectiveLocation(const InventoryExportTemporaryItem& item) const;
    /// Records (trimmed) or clears (blank, none) the location of a temporary item and saves
    /// the session's assignments.
    void assignLocation(const std::optional<QString>& location, const InventoryExportTemporaryItem& item);

    const WooCorrectionProgressStore& progressStore() const { return progressStore_; }
    const TemporaryItemLocationStore& temporaryLocationStore() const { return temporaryLocationStore_; }

signals:
    void documentChanged();
    void importedFileNameChanged();
    void validationWarningsChanged();
    void correctionsChanged();
    /// Some previews were edited in place (row indices into `corrections`).
    void correctionsEdited(const QList<qsizetype>& rows);
    void updateResultsChanged();
    void lastRemoteReloadAtChanged();
    void selectedInventoryLocationChanged();
    void temporaryItemLocationAssignmentsChanged();

private:
    void setLastRemoteReloadAt(std::optional<QDateTime> value);
    void setSelectedInventoryLocationValue(std::optional<QString> value);
    void setAssignments(QMap<QString, QString> assignments);

    Clock clock_;
    SaveScheduler saveScheduler_;
    std::function<void()> flushSaves_;
    std::atomic<quint64> progressSaves_{0};
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
    QStringList inventoryLocations_;
};

} // namespace tallybrook
