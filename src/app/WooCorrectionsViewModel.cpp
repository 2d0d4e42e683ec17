#include "app/WooCorrectionsViewModel.h"

#include "app/TallybrookControlStore.h"
#include "core/TextRules.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooCorrectionRoad.h"
#include "corrections/WooStockUpdateRunner.h"
#include "localization/AppText.h"
#include "localization/LocalizedError.h"

#include <QPromise>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <limits>

namespace tallybrook {

struct WooCorrectionsViewModel::RunState {
    std::shared_ptr<const InventoryExportDocument> document;
    /// For a send: the previews handed to the runner. Written before the worker starts and only
    /// read afterwards.
    QList<WooCorrectionPreview> previews;
    std::atomic<bool> stopRequested{false};
};

namespace {

/// A WorkObserver that reports to a promise (whose watcher relays to the main thread) and
/// reads the run's stop flag.
template <typename T>
WorkObserver promiseObserver(QPromise<T>& promise, const std::atomic<bool>& stopRequested) {
    auto lastTotal = std::make_shared<qint64>(-1);
    return WorkObserver{[&promise, lastTotal](qint64 done, qint64 total) {
                            constexpr qint64 intMax = std::numeric_limits<int>::max();
                            if (total != *lastTotal) {
                                *lastTotal = total;
                                promise.setProgressRange(0, int(qMin(total, intMax)));
                            }
                            promise.setProgressValue(int(qMin(done, intMax)));
                        },
                        [&stopRequested] { return stopRequested.load(); }};
}

} // namespace

ProposedQuantityText ProposedQuantityText::parse(const QString& text) {
    const QString trimmed = trimmedText(text);
    if (trimmed.isEmpty()) {
        return {Kind::cleared, 0};
    }
    const qsizetype digitsStart = (trimmed.front() == u'+' || trimmed.front() == u'-') ? 1 : 0;
    if (digitsStart == trimmed.size()) {
        return {};
    }
    for (qsizetype i = digitsStart; i < trimmed.size(); ++i) {
        const char16_t c = trimmed.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return {};
        }
    }
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok, 10);
    if (!ok) {
        return {};
    }
    return {Kind::value, value};
}

WooCorrectionsViewModel::WooCorrectionsViewModel(TallybrookControlStore& store,
                                                 WooCredentialStore credentialStore,
                                                 CommerceConnectorFactory connectorFactory,
                                                 std::function<WooRequestMode()> requestMode, QObject* parent)
    : QObject(parent)
    , store_(&store)
    , credentialStore_(std::move(credentialStore))
    , connectorFactory_(std::move(connectorFactory))
    , requestMode_(std::move(requestMode)) {
    connect(&reloadWatcher_, &QFutureWatcher<ReloadOutcome>::finished, this,
            &WooCorrectionsViewModel::finishReload);
    connect(&sendWatcher_, &QFutureWatcher<QList<WooUpdateResultLine>>::finished, this,
            &WooCorrectionsViewModel::finishSend);
    for (QFutureWatcherBase* watcher : {static_cast<QFutureWatcherBase*>(&reloadWatcher_),
                                        static_cast<QFutureWatcherBase*>(&sendWatcher_)}) {
        connect(watcher, &QFutureWatcherBase::progressRangeChanged, this,
                [this](int, int maximum) { setProgress(progressDone_, maximum); });
        connect(watcher, &QFutureWatcherBase::progressValueChanged, this,
                [this](int value) { setProgress(value, progressTotal_); });
    }
}

WooCorrectionsViewModel::~WooCorrectionsViewModel() {
    // A run still going ends before its next request; its result has nowhere to go.
    requestStop();
}

void WooCorrectionsViewModel::setSelectedStatus(std::optional<WooCorrectionStatus> status) {
    filter_.status = status;
    emit selectedStatusChanged();
}

void WooCorrectionsViewModel::setSearchText(QString text) {
    filter_.searchText = std::move(text);
    emit searchTextChanged();
}

void WooCorrectionsViewModel::setReloadingStocks(bool value) {
    isReloadingStocks_ = value;
    emit isReloadingStocksChanged();
}

void WooCorrectionsViewModel::setSending(bool value) {
    isSending_ = value;
    emit isSendingChanged();
}

void WooCorrectionsViewModel::setErrorMessage(std::optional<QString> message) {
    errorMessage_ = std::move(message);
    emit errorMessageChanged();
}

void WooCorrectionsViewModel::setProgress(qint64 done, qint64 total) {
    progressDone_ = done;
    progressTotal_ = total;
    emit progressChanged(done, total);
}

WooCorrectionCounters WooCorrectionsViewModel::counters() const {
    return store_ ? WooCorrectionCounters::of(store_->corrections()) : WooCorrectionCounters{};
}

bool WooCorrectionsViewModel::canSend() const {
    if (!store_) {
        return false;
    }
    const QList<WooCorrectionPreview>& corrections = store_->corrections();
    return std::any_of(corrections.cbegin(), corrections.cend(), [](const WooCorrectionPreview& preview) {
        return preview.isSelected && isManuallyCorrectable(preview.status) &&
               preview.proposedQuantity.has_value();
    });
}

QList<qsizetype> WooCorrectionsViewModel::filteredIndices() const {
    return store_ ? filter_.indicesIn(store_->corrections()) : QList<qsizetype>();
}

QList<QUuid> WooCorrectionsViewModel::visibleCorrectableIds() const {
    QList<QUuid> ids;
    for (const qsizetype i : filteredIndices()) {
        const WooCorrectionPreview& preview = store_->corrections().at(i);
        if (isManuallyCorrectable(preview.status)) {
            ids.append(preview.id);
        }
    }
    return ids;
}

void WooCorrectionsViewModel::saveEdits(const QList<qsizetype>& rows,
                                        const std::function<void(WooCorrectionPreview&)>& edit) {
    store_->editCorrections(rows, edit);
    store_->saveProgress();
}

qsizetype WooCorrectionsViewModel::indexOf(const QUuid& correctionId) const {
    const QList<WooCorrectionPreview>& previews = store_->corrections();
    for (qsizetype i = 0; i < previews.size(); ++i) {
        if (previews.at(i).id == correctionId) {
            return i;
        }
    }
    return -1;
}

void WooCorrectionsViewModel::setVisibleSelection(bool selected) {
    QList<qsizetype> rows;
    for (const qsizetype i : filteredIndices()) {
        if (isManuallyCorrectable(store_->corrections().at(i).status)) {
            rows.append(i);
        }
    }
    if (!rows.isEmpty()) {
        saveEdits(rows, [selected](WooCorrectionPreview& preview) { preview.isSelected = selected; });
    }
}

void WooCorrectionsViewModel::toggleVisibleSelection() {
    if (!store_) {
        return;
    }
    bool allSelected = true;
    for (const qsizetype i : filteredIndices()) {
        const WooCorrectionPreview& preview = store_->corrections().at(i);
        if (isManuallyCorrectable(preview.status) && !preview.isSelected) {
            allSelected = false;
            break;
        }
    }
    setVisibleSelection(!allSelected);
}

void WooCorrectionsViewModel::setSelection(const QUuid& correctionId, bool selected) {
    if (!store_) {
        return;
    }
    const qsizetype i = indexOf(correctionId);
    if (i < 0 || !isManuallyCorrectable(store_->corrections().at(i).status)) {
        return;
    }
    saveEdits({i}, [selected](WooCorrectionPreview& preview) { preview.isSelected = selected; });
}

void WooCorrectionsViewModel::setProposedQuantityText(const QUuid& correctionId, const QString& text) {
    if (!store_) {
        return;
    }
    const qsizetype i = indexOf(correctionId);
    if (i < 0) {
        return;
    }
    const ProposedQuantityText typed = ProposedQuantityText::parse(text);
    if (typed.kind == ProposedQuantityText::Kind::invalid) {
        return;
    }
    saveEdits({i}, [&typed](WooCorrectionPreview& preview) {
        if (typed.kind == ProposedQuantityText::Kind::cleared) {
            preview.proposedQuantity.reset();
            preview.differenceFromCurrentRemote.reset();
            preview.message = AppText::localized(u"corrections.proposedMissing");
            return;
        }
        preview.proposedQuantity = qMax<qint64>(typed.value, 0);
        if (preview.currentRemoteQuantity) {
            preview.differenceFromCurrentRemote =
                checkedDifference(preview.proposedQuantity, preview.currentRemoteQuantity);
        }
        preview.message = AppText::localized(u"corrections.proposedAdjusted");
    });
}

std::shared_ptr<CommerceStockConnector> WooCorrectionsViewModel::makeConnector() {
    std::optional<WooStoredCredentials> credentials;
    try {
        credentials = credentialStore_.load();
    } catch (const LocalizedError&) {
        // An unreadable Keychain counts as no saved connection; the page says so.
    }
    if (!credentials || !connectorFactory_) {
        return nullptr;
    }
    return connectorFactory_(*credentials, requestMode_ ? requestMode_() : WooRequestMode::oneByOne);
}

void WooCorrectionsViewModel::reloadStocks() {
    if (!store_ || !store_->document() || isReloadingStocks_) {
        return;
    }
    setErrorMessage(std::nullopt);
    setReloadingStocks(true);
    std::shared_ptr<CommerceStockConnector> connector = makeConnector();
    if (!connector) {
        setErrorMessage(AppText::localized(u"woo.notConfigured"));
        setReloadingStocks(false);
        return;
    }
    // The rebuilt previews take the saved progress: the edits of a moment ago must be in it.
    store_->flushSaves();
    auto run = std::make_shared<RunState>();
    run->document = store_->document();
    reloadRun_ = run;
    setProgress(0, 0);
    // The task owns copies of everything it reads (connector, document, stop flag) and
    // releases the connector on the worker thread that used it.
    reloadWatcher_.setFuture(QtConcurrent::run([connector = std::move(connector), run,
                                                rebuild = store_->previewRebuilder()](
                                                   QPromise<ReloadOutcome>& promise) mutable {
        const WorkObserver observer = promiseObserver(promise, run->stopRequested);
        ReloadOutcome outcome;
        outcome.report = connector->fetchCurrentStocksWithReport(*run->document, observer);
        outcome.stopped = run->stopRequested.load();
        connector.reset();
        // Rebuilding 100,000 previews takes a while: here, not on the main thread.
        outcome.rebuilt = rebuild(*run->document, outcome.report.levels);
        promise.addResult(std::move(outcome));
    }));
}

void WooCorrectionsViewModel::finishReload() {
    const std::shared_ptr<RunState> run = std::exchange(reloadRun_, nullptr);
    const QFuture<ReloadOutcome> future = reloadWatcher_.future();
    setProgress(0, 0);
    if (run && store_ && future.resultCount() > 0 && store_->document() == run->document) {
        ReloadOutcome outcome = future.result();
        store_->adoptRebuiltPreviews(std::move(outcome.rebuilt), outcome.report.levels, outcome.stopped);
        store_->saveProgress();
        setErrorMessage(reloadSummary(outcome.report));
        lastReloadReport_ = std::move(outcome.report);
        emit lastReloadReportChanged();
    }
    setReloadingStocks(false);
}

void WooCorrectionsViewModel::sendSelected() {
    if (!store_ || isSending_) {
        return;
    }
    setErrorMessage(std::nullopt);
    setSending(true);
    // The edits made before the send are on disk before the shop changes.
    store_->flushSaves();
    auto run = std::make_shared<RunState>();
    run->document = store_->document();
    run->previews = store_->corrections();
    sendRun_ = run;
    setProgress(0, 0);
    sendWatcher_.setFuture(
        QtConcurrent::run([runner = std::make_shared<WooStockUpdateRunner>(makeConnector()),
                           run](QPromise<QList<WooUpdateResultLine>>& promise) mutable {
            const WorkObserver observer = promiseObserver(promise, run->stopRequested);
            QList<WooUpdateResultLine> lines = runner->updateSelectedStocks(run->previews, observer);
            runner.reset();
            promise.addResult(std::move(lines));
        }));
}

void WooCorrectionsViewModel::finishSend() {
    const std::shared_ptr<RunState> run = std::exchange(sendRun_, nullptr);
    const QFuture<QList<WooUpdateResultLine>> future = sendWatcher_.future();
    setProgress(0, 0);
    if (run && store_ && future.resultCount() > 0) {
        if (store_->document() == run->document) {
            store_->setUpdateResults(future.result());
            store_->setCorrections(foldResults(store_->updateResults(), store_->corrections()));
            store_->saveProgress();
        } else {
            keepOutcomeOfReplacedDocument(*run, future.result());
        }
    }
    setSending(false);
}

void WooCorrectionsViewModel::keepOutcomeOfReplacedDocument(const RunState& run,
                                                            const QList<WooUpdateResultLine>& lines) {
    // The shop's stock has changed whatever the store shows now; losing the outcome would show
    // the rows as unsent at the next import of their document and invite a second send.
    const std::optional<QUuid> sessionId =
        run.document ? run.document->session.uuid() : std::optional<QUuid>();
    if (lines.isEmpty() || !sessionId) {
        return;
    }
    QSet<QUuid> handled;
    handled.reserve(lines.size());
    for (const WooUpdateResultLine& line : lines) {
        handled.insert(line.correctionId);
    }
    // Only the rows that were sent: the saved progress of every other row, possibly edited
    // since the send started, stays as it is.
    QList<WooCorrectionPreview> sentRows;
    for (const WooCorrectionPreview& preview : run.previews) {
        if (handled.contains(preview.id)) {
            sentRows.append(preview);
        }
    }
    const WooCorrectionProgressStore& progress = store_->progressStore();
    store_->flushSaves(); // written in order after what the store still has pending
    progress.saveProgress(*sessionId, foldResults(lines, sentRows), lines);

    // The same session imported again: its rebuilt previews take the outcome from the saved
    // progress (their ids are new, so the lines cannot be folded in directly).
    if (store_->document() && store_->document()->session.uuid() == sessionId) {
        store_->setUpdateResults(lines);
        store_->setCorrections(progress.applyProgress(store_->corrections(), *sessionId));
    }
}

void WooCorrectionsViewModel::requestStop() {
    for (const std::shared_ptr<RunState>& run : {reloadRun_, sendRun_}) {
        if (run) {
            run->stopRequested = true;
        }
    }
}

} // namespace tallybrook
