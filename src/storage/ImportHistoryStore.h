#pragma once

#include "core/Clock.h"
#include "storage/ImportedInventorySnapshot.h"
#include "storage/SaveScheduler.h"

#include <QObject>
#include <memory>

namespace tallybrook {

class PreferencesStore;
struct InventoryExportDocument;

/// The last imported files (at most 10, one per session, newest first) with their full bytes,
/// kept in the preferences so that the import flow can reopen the newest at the next start.
/// Lives on the main thread for the life of the window; `recentImports` is announced on every
/// assignment. An entry shares the bytes the import read; it never copies them.
class ImportHistoryStore : public QObject {
    Q_OBJECT

public:
    static QString storageKey() { return QStringLiteral("com.tallybrook.control.import-history.v1"); }
    static constexpr qsizetype maxEntryCount = 10;

    /// Loads the history; a stored value that does not decode reads as empty and stays in
    /// the preferences until the next import replaces it.
    explicit ImportHistoryStore(std::shared_ptr<PreferencesStore> defaults, Clock clock = systemNow,
                                QObject* parent = nullptr);

    const QList<ImportedInventorySnapshot>& recentImports() const { return recentImports_; }

    /// Records a successful import at the front, replacing any entry of the same session and
    /// keeping the 10 newest. A document whose session id is not a UUID is not recorded.
    void recordImport(const InventoryExportDocument& document, const QByteArray& data,
                      const std::optional<QString>& fileName);

    /// Drops every entry of a session (one whose file no longer decodes when the import flow
    /// reopens it).
    void forgetSession(const QUuid& sessionId);

    /// Where the history's writes go (none: written at once). The history holds whole files,
    /// so the window writes it off the main thread.
    void setSaveScheduler(SaveScheduler scheduler) { saveScheduler_ = std::move(scheduler); }

signals:
    void recentImportsChanged();

private:
    void setRecentImports(QList<ImportedInventorySnapshot> imports);
    void persist();

    std::shared_ptr<PreferencesStore> defaults_;
    Clock clock_;
    SaveScheduler saveScheduler_;
    QList<ImportedInventorySnapshot> recentImports_;
};

} // namespace tallybrook
