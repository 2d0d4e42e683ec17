#include "app/InventoryImportViewModel.h"

#include "storage/ImportHistoryStore.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace tallybrook {

InventoryImportViewModel::InventoryImportViewModel(TallybrookControlStore& store, ImportHistoryStore& history,
                                                   QObject* parent)
    : QObject(parent)
    , store_(&store)
    , history_(&history) {
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, [this] {
        const bool imported = watcher_.future().resultCount() > 0 && finish(watcher_.future().result());
        emit importFinished(imported);
    });
}

InventoryImportViewModel::~InventoryImportViewModel() {
    // The worker reads the store's services; it must be done before they go.
    watcher_.waitForFinished();
}

void InventoryImportViewModel::setImporting(bool importing) {
    isImporting_ = importing;
    emit isImportingChanged();
}

void InventoryImportViewModel::setErrorMessage(std::optional<QString> message) {
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

InventoryImportViewModel::Outcome InventoryImportViewModel::readAndPrepare(const TallybrookControlStore& store,
                                                                           const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, file.errorString(), {}, std::nullopt};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return {std::nullopt, file.errorString(), {}, std::nullopt};
    }
    return prepareBytes(store, std::move(bytes), QFileInfo(path).fileName());
}

InventoryImportViewModel::Outcome InventoryImportViewModel::prepareBytes(const TallybrookControlStore& store,
                                                                         QByteArray bytes,
                                                                         const std::optional<QString>& fileName) {
    Outcome outcome;
    try {
        TallybrookDecodedInventory decoded = TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
        outcome.session = store.prepareSession(std::move(decoded), fileName);
    } catch (const LocalizedError& error) {
        outcome.failure = error.localizedDescription();
    }
    outcome.bytes = std::move(bytes);
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

bool InventoryImportViewModel::importFile(const QString& path) {
    return begin() && finish(readAndPrepare(*store_, path));
}

std::optional<QString> InventoryImportViewModel::droppedFilePath(const QList<QUrl>& urls) {
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        return std::nullopt;
    }
    return urls.constFirst().toLocalFile();
}

bool InventoryImportViewModel::importDroppedUrls(const QList<QUrl>& urls) {
    const std::optional<QString> path = droppedFilePath(urls);
    if (!path) {
        return false;
    }
    importFile(*path);
    return true;
}

bool InventoryImportViewModel::begin() {
    if (isImporting_ || !store_) {
        return false;
    }
    setImporting(true);
    setErrorMessage(std::nullopt);
    // Saved progress is read while preparing: what the user did a moment ago must be in it.
    store_->flushSaves();
    return true;
}

bool InventoryImportViewModel::start(std::function<Outcome()> work) {
    if (!begin()) {
        return false;
    }
    watcher_.setFuture(QtConcurrent::run(std::move(work)));
    return true;
}

bool InventoryImportViewModel::startImport(const QString& path) {
    if (!store_) {
        return false;
    }
    return start([store = store_.data(), path] { return readAndPrepare(*store, path); });
}

bool InventoryImportViewModel::startRestoreMostRecent() {
    if (!store_ || !history_ || store_->hasDocument() || history_->recentImports().isEmpty()) {
        return false;
    }
    const ImportedInventorySnapshot newest = history_->recentImports().constFirst();
    return start([store = store_.data(), newest] {
        Outcome outcome = prepareBytes(*store, newest.documentData, newest.originalFileName);
        outcome.restoredSession = newest.sessionId;
        return outcome;
    });
}

void InventoryImportViewModel::showOpenPanelError(const QString& message) {
    setErrorMessage(message);
}

} // namespace tallybrook
