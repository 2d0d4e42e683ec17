#include "app/InventoryImportViewModel.h"

#include "app/TallybrookControlStore.h"
#include "storage/ImportHistoryStore.h"

#include <QFile>
#include <QFileInfo>

namespace tallybrook {

InventoryImportViewModel::InventoryImportViewModel(TallybrookControlStore& store, ImportHistoryStore& history,
                                                   QObject* parent)
    : QObject(parent)
    , store_(&store)
    , history_(&history) {}

void InventoryImportViewModel::setImporting(bool importing) {
    isImporting_ = importing;
    emit isImportingChanged();
}

void InventoryImportViewModel::setErrorMessage(std::optional<QString> message) {
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

bool InventoryImportViewModel::importFile(const QString& path) {
    setImporting(true);
    setErrorMessage(std::nullopt);

    QFile file(path);
    QByteArray bytes;
    std::optional<QString> failure;
    if (!file.open(QIODevice::ReadOnly)) {
        failure = file.errorString();
    } else {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            failure = file.errorString();
        }
        file.close();
    }

    TallybrookDecodedInventory decoded;
    if (!failure) {
        try {
            decoded = decoder_.decodeInventoryDocumentWithValidation(bytes);
        } catch (const LocalizedError& error) {
            failure = error.localizedDescription();
        }
    }
    if (failure || !store_ || !history_) {
        if (failure) {
            setErrorMessage(failure);
        }
        setImporting(false);
        return false;
    }

    const QString fileName = QFileInfo(path).fileName();
    store_->importInventory(std::move(decoded), fileName);
    history_->recordImport(*store_->document(), bytes, fileName);
    setImporting(false);
    return true;
}

bool InventoryImportViewModel::importDroppedUrls(const QList<QUrl>& urls) {
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        return false;
    }
    importFile(urls.constFirst().toLocalFile());
    return true;
}

void InventoryImportViewModel::showOpenPanelError(const QString& message) {
    setErrorMessage(message);
}

} // namespace tallybrook
