#include "app/InventoryImportViewModel.h"

#include "storage/ImportHistoryStore.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace tallybrook {

InventoryImportViewModel::InventoryImportViewModel(TallybrookControlStore& store, ImportHistoryStore& history,
                                                   QObject* parent)
    : QObject(parent)
    , store_(&store)
    , history_(&history) {
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, [this] {
        // Taken, not copied: a copy left in the future would keep the file's bytes and share
        // the previews, so that the first edit of a row would copy all of them.
        QFuture<Outcome> future = watcher_.future();
        bool imported = false;
        if (future.resultCount() > 0) {
            imported = finish(future.takeResult());
        } else {
            setImporting(false);
        }
        emit importFinished(imported);
    });
}

InventoryImportViewModel::~InventoryImportViewModel() {
    // The worker reads the store's services; it must be done before they go. Only while it
    // runs: a future whose result was taken reads as never finished and would be waited for
    // forever.
    if (isImporting_) {
        watcher_.waitForFinished();
    }
}

void InventoryImportViewModel::setImporting(bool importing) {
    isImporting_ = importing;
    emit isImportingChanged();
}

void InventoryImportViewModel::setErrorMessage(std::optional<QString> message) {
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

InventoryImportViewModel::Outcome
InventoryImportViewModel::prepare(const TallybrookControlStore& store,
                                  const std::function<InventoryFile()>& read,
                                  const std::optional<QString>& fileName) {
    Outcome outcome;
    try {
        InventoryFile file = read();
        outcome.bytes = std::move(file.bytes);
        outcome.session = store.prepareSession(std::move(file.decoded), fileName);
    } catch (const LocalizedError& error) {
        outcome.failure = error.localizedDescription();
    }
    return outcome;
}

bool InventoryImportViewModel::finish(Outcome&& outcome) {
    const bool imported = outcome.session && store_ && history_;
    if (imported) {
        store_->flushSaves();
        const std::shared_ptr<const InventoryExportDocument> document = outcome.session->document;
        const std::optional<QString> fileName = outcome.session->fileName;
        store_->adoptSession(std::move(*outcome.session));
        if (!outcome.restoredSession) {
            history_->recordImport(*document, outcome.bytes, fileName);
        }
    } else if (outcome.restoredSession) {
        if (history_) {
            history_->forgetSession(*outcome.restoredSession);
        }
    } else if (outcome.failure) {
        setErrorMessage(outcome.failure);
    }
    setImporting(false);
    return imported;
}

std::optional<QString> InventoryImportViewModel::droppedFilePath(const QList<QUrl>& urls) {
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        return std::nullopt;
    }
    return urls.constFirst().toLocalFile();
}

bool InventoryImportViewModel::start(std::function<Outcome()> work) {
    if (isImporting_ || !store_) {
        return false;
    }
    setImporting(true);
    setErrorMessage(std::nullopt);
    // Saved progress is read while preparing: what the user did a moment ago must be in it.
    store_->flushSaves();
    watcher_.setFuture(QtConcurrent::run(std::move(work)));
    return true;
}

bool InventoryImportViewModel::startImport(const QString& path) {
    if (!store_) {
        return false;
    }
    return start([store = store_.data(), path] {
        return prepare(
            *store, [&path] { return InventoryFileReader::read(path); }, QFileInfo(path).fileName());
    });
}

bool InventoryImportViewModel::startRestoreMostRecent() {
    if (!store_ || !history_ || store_->hasDocument() || history_->recentImports().isEmpty()) {
        return false;
    }
    const ImportedInventorySnapshot& newest = history_->recentImports().constFirst();
    return start([store = store_.data(), bytes = newest.documentData, fileName = newest.originalFileName,
                  sessionId = newest.sessionId] {
        // Not kept in the outcome: a reopened entry is not recorded again.
        Outcome outcome = prepare(
            *store,
            [&bytes] {
                return InventoryFile{{}, InventoryFileReader::decode(bytes)};
            },
            fileName);
        outcome.restoredSession = sessionId;
        return outcome;
    });
}

void InventoryImportViewModel::showOpenPanelError(const QString& message) {
    setErrorMessage(message);
}

} // namespace tallybrook
