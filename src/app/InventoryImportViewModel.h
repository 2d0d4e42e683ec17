#pragma once

#include "app/TallybrookControlStore.h"
#include "storage/InventoryFileReader.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <functional>
#include <optional>

namespace tallybrook {

class ImportHistoryStore;

/// The import flow of the window: reads a whole file, decodes and validates it, prepares the
/// session for the control store and records it in the import history. A failure shows its
/// description in `errorMessage` and changes nothing in the store or the history.
///
/// Main thread. Every import (open, drop, start-up reopen, a file named on the command line)
/// runs on a worker thread: only taking the prepared session over happens on the main thread,
/// and a second import asked while one runs is ignored. Pending progress writes are finished
/// before an import reads the saved progress and before it replaces the session. Once an import
/// has ended, the file's bytes are held by the import history alone.
class InventoryImportViewModel : public QObject {
    Q_OBJECT

public:
    InventoryImportViewModel(TallybrookControlStore& store, ImportHistoryStore& history,
                             QObject* parent = nullptr);
    ~InventoryImportViewModel() override;

    bool isImporting() const { return isImporting_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }

    /// The file a drop names: the first URL, when it is a local file; none refuses the drop.
    static std::optional<QString> droppedFilePath(const QList<QUrl>& urls);

    /// Starts importing `path` on a worker thread. False, and nothing happens, while an import runs.
    bool startImport(const QString& path);
    /// When the store holds no document, starts reopening the newest entry of the import
    /// history on a worker thread (an entry that no longer decodes is dropped from the history,
    /// without a message). False when there is nothing to do or an import runs.
    bool startRestoreMostRecent();

    /// An error reported by the open panel itself; nothing else happens.
    void showOpenPanelError(const QString& message);

signals:
    void isImportingChanged();
    void errorMessageChanged();
    /// An import started with startImport or startRestoreMostRecent ended.
    void importFinished(bool imported);

private:
    /// What reading and preparing one file gave: the session, or the failure's description.
    struct Outcome {
        std::optional<PreparedInventorySession> session;
        std::optional<QString> failure;
        /// The file's bytes, for the history (none for a reopened entry).
        QByteArray bytes;
        /// A replayed history entry: not recorded again, dropped when it fails.
        std::optional<QUuid> restoredSession;
    };
    /// Reads (or decodes) a file with `read` and prepares its session; a failure's description
    /// otherwise. Worker thread.
    static Outcome prepare(const TallybrookControlStore& store, const std::function<InventoryFile()>& read,
                           const std::optional<QString>& fileName);
    /// Marks an import as running and runs `work` on a worker; false (and nothing changes)
    /// while one already runs.
    bool start(std::function<Outcome()> work);
    bool finish(Outcome&& outcome);
    void setImporting(bool importing);
    void setErrorMessage(std::optional<QString> message);

    QPointer<TallybrookControlStore> store_;
    QPointer<ImportHistoryStore> history_;
    bool isImporting_ = false;
    std::optional<QString> errorMessage_;
    QFutureWatcher<Outcome> watcher_;
};

} // namespace tallybrook
