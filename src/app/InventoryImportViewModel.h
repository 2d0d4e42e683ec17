#pragma once

#include "document/TallybrookFileDecoder.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <optional>

namespace tallybrook {

class ImportHistoryStore;
class TallybrookControlStore;

/// The import flow of the import page: reads a whole file, decodes and validates it, hands it
/// to the control store and records it in the import history. A failure shows its description
/// in `errorMessage` and changes nothing in the store or the history.
///
/// Main thread only; the import runs synchronously inside the call, bracketed by `isImporting`.
class InventoryImportViewModel : public QObject {
    Q_OBJECT

public:
    InventoryImportViewModel(TallybrookControlStore& store, ImportHistoryStore& history,
                             QObject* parent = nullptr);

    bool isImporting() const { return isImporting_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }

    /// Imports the file at `path`; returns whether it was imported.
    bool importFile(const QString& path);
    /// A drop of file URLs: the first one is imported. Returns false (refusing the drop) when
    /// there is no URL, or the first one is not a local file.
    bool importDroppedUrls(const QList<QUrl>& urls);
    /// An error reported by the open panel itself; nothing else happens.
    void showOpenPanelError(const QString& message);

signals:
    void isImportingChanged();
    void errorMessageChanged();

private:
    void setImporting(bool importing);
    void setErrorMessage(std::optional<QString> message);

    QPointer<TallybrookControlStore> store_;
    QPointer<ImportHistoryStore> history_;
    TallybrookFileDecoder decoder_;
    bool isImporting_ = false;
    std::optional<QString> errorMessage_;
};

} // namespace tallybrook
