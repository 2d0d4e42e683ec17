#pragma once

#include "app/CommerceConnectorFactory.h"
#include "app/WooCorrectionFilter.h"
#include "corrections/CorrectionRecords.h"
#include "corrections/WooCorrectionStatus.h"
#include "storage/WooCredentialStore.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>
#include <atomic>
#include <memory>
#include <optional>

namespace tallybrook {

class TallybrookControlStore;

/// What the user typed as a proposed quantity.
struct ProposedQuantityText {
    enum class Kind {
        cleared, ///< empty after trimming: the proposal is removed
        value,   ///< a decimal integer
        invalid  ///< anything else: nothing changes
    };
    Kind kind = Kind::invalid;
    qint64 value = 0;

    /// Trimmed text; an optional "+" or "-" and ASCII digits only, within the qint64 range.
    static ProposedQuantityText parse(const QString& text);
    bool operator==(const ProposedQuantityText&) const = default;
};

/// State of the corrections page besides the inventory itself: status filter and search (a
/// WooCorrectionFilter over the control store's previews), busy flags, progress and the message
/// line. Edits the previews (selection, proposed quantity; each edit saves the progress) and
/// runs the two shop workflows in the request mode the settings choose at the start of each run.
///
/// Main thread only. A reload or send runs the connector on a worker thread and comes back to
/// the main thread with its result through a watcher owned here, so a destroyed view model is
/// never called back. While one runs, `progressDone`/`progressTotal` follow it and
/// `requestStop()` ends it before its next request. A reload whose document was replaced in
/// the store meanwhile is dropped; a send's outcome is then saved to its own session (the
/// shop has changed). A second reload (or send) asked while one runs is ignored.
class WooCorrectionsViewModel : public QObject {
    Q_OBJECT

public:
    /// `requestMode` is asked at the start of each reload and send; empty: one by one.
    WooCorrectionsViewModel(TallybrookControlStore& store, WooCredentialStore credentialStore,
                            CommerceConnectorFactory connectorFactory,
                            std::function<WooRequestMode()> requestMode = {}, QObject* parent = nullptr);
    ~WooCorrectionsViewModel() override;

    const std::optional<WooCorrectionStatus>& selectedStatus() const { return filter_.status; }
    const QString& searchText() const { return filter_.searchText; }
    bool isReloadingStocks() const { return isReloadingStocks_; }
    bool isSending() const { return isSending_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }
    /// Requests done and to do in the running reload or send; both 0 when idle.
    qint64 progressDone() const { return progressDone_; }
    qint64 progressTotal() const { return progressTotal_; }

    void setSelectedStatus(std::optional<WooCorrectionStatus> status);
    void setSearchText(QString text);

    /// The positions in the store's corrections of the previews that pass the filter and the
    /// search, in order (what the page's table shows, without copying previews).
    QList<qsizetype> filteredIndices() const;
    /// Counters over the store's full list.
    WooCorrectionCounters counters() const;
    /// At least one preview of the store is selected, manually correctable and has a proposal.
    bool canSend() const;
    /// The ids of the visible previews whose status is manually correctable, in order.
    QList<QUuid> visibleCorrectableIds() const;

    /// Selects or deselects every visible correctable row; nothing (and no save) when none.
    void setVisibleSelection(bool selected);
    /// Deselects when every visible correctable row is selected, otherwise selects them all.
    void toggleVisibleSelection();
    /// Selects or deselects one manually correctable row.
    void setSelection(const QUuid& correctionId, bool selected);
    /// Sets a row's proposed quantity from the text typed (see ProposedQuantityText).
    void setProposedQuantityText(const QUuid& correctionId, const QString& text);

    /// Reads the store's stock for the document's rows and rebuilds the previews. Without
    /// saved credentials the message line says the connection is not configured.
    void reloadStocks();
    /// Sends the selected, manually correctable rows; results replace the store's send results
    /// and are folded into the previews.
    void sendSelected();
    /// Stops the running reload or send before its next request.
    void requestStop();
    /// The report of the last reload this view model finished (every issue, for the details).
    const std::optional<RemoteStockReloadReport>& lastReloadReport() const { return lastReloadReport_; }

signals:
    void selectedStatusChanged();
    void searchTextChanged();
    void isReloadingStocksChanged();
    void isSendingChanged();
    void errorMessageChanged();
    void progressChanged(qint64 done, qint64 total);
    void lastReloadReportChanged();

private:
    void setReloadingStocks(bool value);
    void setSending(bool value);
    void setErrorMessage(std::optional<QString> message);
    void setProgress(qint64 done, qint64 total);
    std::shared_ptr<CommerceStockConnector> makeConnector();
    void finishReload();
    void finishSend();
    /// Edits previews in place and saves the progress.
    void saveEdits(const QList<qsizetype>& rows, const std::function<void(WooCorrectionPreview&)>& edit);
    /// The position of a preview in the store's corrections; -1 when none.
    qsizetype indexOf(const QUuid& correctionId) const;

    /// What a reload's worker hands back: the report, and whether a stop cut it short.
    struct ReloadOutcome {
        RemoteStockReloadReport report;
        bool stopped = false;
        /// The previews rebuilt from the run's document and the levels read.
        QList<WooCorrectionPreview> rebuilt;
    };
    /// One running reload or send: the document (and for a send the previews) it started with
    /// and its stop flag, shared with the worker.
    struct RunState;
    /// A send whose document was replaced in the store while it ran: its outcome is saved to
    /// that document's session, and shown when the store holds that session again.
    void keepOutcomeOfReplacedDocument(const RunState& run, const QList<WooUpdateResultLine>& lines);

    QPointer<TallybrookControlStore> store_;
    WooCredentialStore credentialStore_;
    CommerceConnectorFactory connectorFactory_;

    std::function<WooRequestMode()> requestMode_;
    WooCorrectionFilter filter_;
    bool isReloadingStocks_ = false;
    bool isSending_ = false;
    std::optional<QString> errorMessage_;
    qint64 progressDone_ = 0;
    qint64 progressTotal_ = 0;
    std::optional<RemoteStockReloadReport> lastReloadReport_;

    std::shared_ptr<RunState> reloadRun_;
    std::shared_ptr<RunState> sendRun_;
    QFutureWatcher<ReloadOutcome> reloadWatcher_;
    QFutureWatcher<QList<WooUpdateResultLine>> sendWatcher_;
};

} // namespace tallybrook
