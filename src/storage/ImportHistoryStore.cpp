#include "storage/ImportHistoryStore.h"

#include "core/ModelDecodingError.h"
#include "document/InventoryExportDocument.h"
#include "localization/PreferencesStore.h"

namespace tallybrook {

ImportHistoryStore::ImportHistoryStore(std::shared_ptr<PreferencesStore> defaults, Clock clock,
                                       QObject* parent)
    : QObject(parent)
    , defaults_(std::move(defaults))
    , clock_(std::move(clock)) {
    if (const std::optional<QByteArray> stored = defaults_->data(storageKey())) {
        try {
            recentImports_ = decodeImportHistory(*stored);
        } catch (const ModelDecodingError&) {
            recentImports_.clear();
        }
    }
}

void ImportHistoryStore::recordImport(const InventoryExportDocument& document, const QByteArray& data,
                                      const std::optional<QString>& fileName) {
    const std::optional<QUuid> sessionId = document.session.uuid();
    if (!sessionId) {
        return;
    }
    ImportedInventorySnapshot snapshot{
        *sessionId, document.session.name, clock_(), document.exportedAt, document.source.type, fileName,
        data};
    QList<ImportedInventorySnapshot> imports;
    imports.reserve(qMin(recentImports_.size() + 1, maxEntryCount));
    imports.append(std::move(snapshot));
    for (const ImportedInventorySnapshot& entry : std::as_const(recentImports_)) {
        if (imports.size() == maxEntryCount) {
            break;
        }
        if (entry.sessionId != *sessionId) {
            imports.append(entry);
        }
    }
    setRecentImports(std::move(imports));
    persist();
}

void ImportHistoryStore::forgetSession(const QUuid& sessionId) {
    QList<ImportedInventorySnapshot> remaining;
    for (const ImportedInventorySnapshot& entry : std::as_const(recentImports_)) {
        if (entry.sessionId != sessionId) {
            remaining.append(entry);
        }
    }
    setRecentImports(std::move(remaining));
    persist();
}

void ImportHistoryStore::setRecentImports(QList<ImportedInventorySnapshot> imports) {
    recentImports_ = std::move(imports);
    emit recentImportsChanged();
}

void ImportHistoryStore::persist() {
    scheduleSave(saveScheduler_, storageKey(), [defaults = defaults_, imports = recentImports_] {
        return [defaults, imports] { defaults->setData(storageKey(), encodeImportHistory(imports)); };
    });
}

} // namespace tallybrook
