#include "ui/pages/WooCorrectionsView.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlProcessingOverlay.h"
#include "ui/components/ControlTable.h"
#include "ui/components/ControlToolbar.h"
#include "ui/components/SearchField.h"
#include "ui/components/SymbolLabel.h"
#include "ui/models/ReloadIssuesModel.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Symbols.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tallybrook {

namespace {

const QList<MetricTileSpec> correctionTiles{
    {u"corrections.ready", "checkmark.circle.fill", Tint::green},
    {u"corrections.selected", "checkmark.square.fill", Tint::blue},
    {u"corrections.review", "exclamationmark.triangle.fill", Tint::orange},
    {u"corrections.blocked", "xmark.octagon.fill", Tint::red},
};

} // namespace

WooCorrectionsView::WooCorrectionsView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , viewModel_(context.store, context.credentialStore(), context.profile.connectorFactory,
                 [&settings = context.settings] { return settings.requestMode(); })
    , model_(context.store, viewModel_)
    , header_(new ControlPageHeader(QStringLiteral("checklist"), Palette::green()))
    , statusLabel_(new QLabel)
    , statusFilter_(new QComboBox)
    , search_(new SearchField)
    , selectionMenu_(new QToolButton)
    , toggle_(new QPushButton)
    , reload_(new QPushButton)
    , reloadedAt_(new SymbolLabel(QStringLiteral("clock.arrow.circlepath"), Palette::secondary()))
    , send_(new QPushButton)
    , message_(new QLabel)
    , details_(new QPushButton)
    , table_(new ControlTable) {
    setObjectName(QStringLiteral("page.wooCorrections"));
    auto* page = new ControlPage(14, ControlPage::Scrolling::none);
    page->addWidget(header_);
    page->contentLayout()->addLayout(buildTiles());
    page->addWidget(buildToolbar());
    page->contentLayout()->addLayout(buildMessageRow());
    table_->setObjectName(QStringLiteral("corrections.table"));
    table_->setModel(&model_);
    table_->rememberWidths(context.profile.preferences);
    page->addWidget(table_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    overlay_ = new ControlProcessingOverlay(this);
    connectControls();
    connectStore();
    retranslate();
    updateBusyState();
    updateMessage();
}

QLayout* WooCorrectionsView::buildTiles() {
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(12);
    tiles_ = ControlMetricTile::make(correctionTiles);
    for (ControlMetricTile* tile : std::as_const(tiles_)) {
        tiles->addWidget(tile);
    }
    return tiles;
}

ControlToolbar* WooCorrectionsView::buildToolbar() {
    statusFilter_->setObjectName(QStringLiteral("corrections.statusFilter"));
    statusLabel_->setBuddy(statusFilter_);
    statusFilter_->addItem(QString());
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        statusFilter_->addItem(QString(), rawValue(status));
    }
    search_->setObjectName(QStringLiteral("corrections.search"));
    selectionMenu_->setObjectName(QStringLiteral("corrections.selectionMenu"));
    selectionMenu_->setPopupMode(QToolButton::InstantPopup);
    selectionMenu_->setIcon(Symbols::icon(u"checklist", Palette::primaryText()));
    auto* menu = new QMenu(selectionMenu_);
    selectVisible_ = menu->addAction(QString(), this, [this] { viewModel_.setVisibleSelection(true); });
    deselectVisible_ = menu->addAction(QString(), this, [this] { viewModel_.setVisibleSelection(false); });
    selectionMenu_->setMenu(menu);
    toggle_->setObjectName(QStringLiteral("corrections.toggle"));
    reload_->setObjectName(QStringLiteral("corrections.reload"));
    reload_->setIcon(Symbols::icon(u"arrow.clockwise", Palette::primaryText()));
    reloadedAt_->setObjectName(QStringLiteral("corrections.reloadedAt"));
    reloadedAt_->setTextColor(Palette::secondary());
    send_->setObjectName(QStringLiteral("corrections.send"));
    send_->setIcon(Symbols::icon(u"paperplane", Qt::white));
    Palette::setProminent(*send_);

    const auto row = [](std::initializer_list<QWidget*> before, std::initializer_list<QWidget*> after) {
        auto* line = new QHBoxLayout;
        line->setSpacing(12);
        for (QWidget* widget : before) {
            line->addWidget(widget);
        }
        line->addStretch(1);
        for (QWidget* widget : after) {
            line->addWidget(widget);
        }
        return line;
    };
    auto* rows = new QVBoxLayout;
    rows->setSpacing(8);
    rows->addLayout(row({statusLabel_, statusFilter_, search_, selectionMenu_, toggle_}, {}));
    rows->addLayout(row({reload_, reloadedAt_}, {send_}));
    auto* toolbar = new ControlToolbar;
    toolbar->contentLayout()->addLayout(rows);
    return toolbar;
}

QLayout* WooCorrectionsView::buildMessageRow() {
    message_->setObjectName(QStringLiteral("corrections.message"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Palette::setTextColor(*message_, Palette::red());
    details_->setObjectName(QStringLiteral("corrections.details"));
    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(message_, 1);
    messageRow->addWidget(details_, 0, Qt::AlignTop);
    return messageRow;
}

void WooCorrectionsView::connectControls() {
    connect(statusFilter_, &QComboBox::activated, this, [this] {
        viewModel_.setSelectedStatus(
            wooCorrectionStatusFromRawValue(statusFilter_->currentData().toString()));
        refresh();
    });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        viewModel_.setSearchText(text);
        refresh();
    });
    connect(toggle_, &QPushButton::clicked, this, [this] { viewModel_.toggleVisibleSelection(); });
    connect(reload_, &QPushButton::clicked, this, [this] { viewModel_.reloadStocks(); });
    connect(send_, &QPushButton::clicked, this, &WooCorrectionsView::askToSend);
    connect(details_, &QPushButton::clicked, this, &WooCorrectionsView::showReloadDetails);
    connect(overlay_, &ControlProcessingOverlay::stopRequested, this, [this] {
        stopAsked_ = true;
        viewModel_.requestStop();
        updateBusyState();
    });
}

void WooCorrectionsView::connectStore() {
    TallybrookControlStore& store = context_.store;
    connect(&store, &TallybrookControlStore::documentChanged, this, &WooCorrectionsView::markStale);
    connect(&store, &TallybrookControlStore::correctionsChanged, this, &WooCorrectionsView::markStale);
    connect(&store, &TallybrookControlStore::correctionsEdited, this, &WooCorrectionsView::updateCounters);
    connect(&store, &TallybrookControlStore::lastRemoteReloadAtChanged, this,
            &WooCorrectionsView::updateReloadTime);
    connect(&viewModel_, &WooCorrectionsViewModel::isReloadingStocksChanged, this,
            &WooCorrectionsView::updateBusyState);
    connect(&viewModel_, &WooCorrectionsViewModel::isSendingChanged, this, [this] {
        updateBusyState();
        emit sendingChanged(viewModel_.isSending());
    });
    connect(&viewModel_, &WooCorrectionsViewModel::progressChanged, overlay_,
            &ControlProcessingOverlay::setProgress);
    connect(&viewModel_, &WooCorrectionsViewModel::errorMessageChanged, this,
            &WooCorrectionsView::updateMessage);
    connect(&viewModel_, &WooCorrectionsViewModel::lastReloadReportChanged, this,
            &WooCorrectionsView::updateMessage);
}

void WooCorrectionsView::retranslate() {
    const AppSettings& settings = context_.settings;
    const AppLanguage language = settings.resolvedLanguage();
    header_->setTitle(settings.localized(u"corrections.title"));
    table_->setAccessibleName(header_->title());
    ControlMetricTile::retranslate(tiles_, correctionTiles, settings);
    statusLabel_->setText(settings.localized(u"common.status"));
    statusFilter_->setAccessibleName(statusLabel_->text());
    statusFilter_->setItemText(0, settings.localized(u"corrections.allStatuses"));
    for (size_t i = 0; i < allWooCorrectionStatuses.size(); ++i) {
        statusFilter_->setItemText(int(i) + 1, displayName(allWooCorrectionStatuses.at(i), language));
    }
    search_->setPromptText(settings.localized(u"common.search"), settings.localized(u"common.clearSearch"));
    selectVisible_->setText(settings.localized(u"corrections.selectVisible"));
    deselectVisible_->setText(settings.localized(u"corrections.deselectVisible"));
    selectionMenu_->setToolTip(settings.localized(u"corrections.selectVisible"));
    selectionMenu_->setAccessibleName(settings.localized(u"corrections.selection"));
    reload_->setText(settings.localized(u"corrections.reloadStocks"));
    reload_->setToolTip(settings.localized(u"corrections.reloadHelp"));
    send_->setText(settings.localized(u"corrections.sendSelected"));
    details_->setText(settings.localized(u"corrections.details"));
    model_.setLanguage(language);
    updateCounters();
    updateReloadTime();
    updateBusyState();
}

void WooCorrectionsView::refresh() {
    model_.refilter();
    updateCounters();
    updateBusyState();
}

void WooCorrectionsView::updateCounters() {
    const WooCorrectionCounters counters = viewModel_.counters();
    const qint64 values[] = {counters.ready, counters.selected, counters.review, counters.blocked};
    for (qsizetype i = 0; i < tiles_.size(); ++i) {
        tiles_.at(i)->setValue(QString::number(values[i]));
    }
    // The toggle deselects only when there are visible correctable rows and all are selected.
    const QList<WooCorrectionPreview>& corrections = context_.store.corrections();
    bool anyVisible = false;
    bool allSelected = true;
    for (int row = 0; row < model_.rowCount(); ++row) {
        const WooCorrectionPreview& preview = corrections.at(model_.storeIndex(row));
        if (isManuallyCorrectable(preview.status)) {
            anyVisible = true;
            if (!preview.isSelected) {
                allSelected = false;
                break;
            }
        }
    }
    const bool deselects = anyVisible && allSelected;
    const AppSettings& settings = context_.settings;
    toggle_->setText(settings.localized(deselects ? u"corrections.deselectAll" : u"corrections.selectAll"));
    toggle_->setIcon(Symbols::icon(deselects ? u"checkmark.square.fill" : u"checkmark.square", Palette::primaryText()));
    send_->setEnabled(viewModel_.canSend() && !viewModel_.isSending() && !viewModel_.isReloadingStocks());
}

void WooCorrectionsView::updateBusyState() {
    const bool reloading = viewModel_.isReloadingStocks();
    const bool sending = viewModel_.isSending();
    const bool busy = reloading || sending;
    const AppSettings& settings = context_.settings;
    reload_->setEnabled(context_.store.hasDocument() && !busy);
    send_->setEnabled(viewModel_.canSend() && !busy);
    toggle_->setEnabled(!busy);
    selectionMenu_->setEnabled(!busy);
    if (!busy) {
        stopAsked_ = false;
    }
    if (reloading) {
        overlay_->setContent(settings.localized(u"corrections.reloadingTitle"),
                             settings.localized(stopAsked_ ? u"corrections.stopping" : u"corrections.reloadingMessage"),
                             QStringLiteral("arrow.clockwise"), Palette::blue());
    } else if (sending) {
        overlay_->setContent(settings.localized(u"corrections.processingTitle"),
                             settings.localized(stopAsked_ ? u"corrections.stopping" : u"corrections.processingMessage"),
                             QStringLiteral("paperplane.fill"), Palette::blue());
    }
    overlay_->setStopButton(settings.localized(u"common.stop"), busy && !stopAsked_);
    if (overlay_->isVisible() != busy) {
        overlay_->setProgress(viewModel_.progressDone(), viewModel_.progressTotal());
        overlay_->setActive(busy);
    }
}

void WooCorrectionsView::updateMessage() {
    const std::optional<QString>& message = viewModel_.errorMessage();
    message_->setText(message.value_or(QString()));
    message_->setVisible(message.has_value());
    const std::optional<RemoteStockReloadReport>& report = viewModel_.lastReloadReport();
    details_->setVisible(message.has_value() && report && !report->issues.isEmpty());
}

void WooCorrectionsView::updateReloadTime() {
    const std::optional<QDateTime>& reloadedAt = context_.store.lastRemoteReloadAt();
    reloadedAt_->setVisible(reloadedAt.has_value());
    if (reloadedAt) {
        reloadedAt_->setText(context_.settings.formatted(
            u"corrections.reloadedAt", {DisplayFormat::time(*reloadedAt, context_.settings.locale())}));
    }
}

void WooCorrectionsView::askToSend() {
    if (!viewModel_.canSend() || viewModel_.isSending()) {
        return;
    }
    const AppSettings& settings = context_.settings;
    auto* dialog = new QMessageBox(QMessageBox::Warning, settings.localized(u"corrections.confirmTitle"),
                                   settings.localized(u"corrections.confirmMessage"), QMessageBox::NoButton, this);
    dialog->setObjectName(QStringLiteral("corrections.confirm"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* confirm = dialog->addButton(settings.localized(u"corrections.confirmButton"),
                                             QMessageBox::DestructiveRole);
    confirm->setObjectName(QStringLiteral("corrections.confirmButton"));
    QPushButton* cancel = dialog->addButton(settings.localized(u"common.cancel"), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("corrections.cancelButton"));
    dialog->setDefaultButton(cancel);
    dialog->setEscapeButton(cancel);
    connect(dialog, &QMessageBox::buttonClicked, this, [this, confirm](QAbstractButton* clicked) {
        if (clicked == confirm) {
            viewModel_.sendSelected();
        }
    });
    confirmation_ = dialog;
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
}

void WooCorrectionsView::showReloadDetails() {
    const std::optional<RemoteStockReloadReport>& report = viewModel_.lastReloadReport();
    if (!report) {
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("corrections.detailsDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(context_.settings.localized(u"corrections.detailsTitle"));
    dialog->resize(860, 460);
    auto* issues = new ReloadIssuesModel(report->issues, context_.settings.resolvedLanguage(), dialog);
    auto* table = new ControlTable;
    table->setObjectName(QStringLiteral("corrections.detailsTable"));
    table->setAccessibleName(dialog->windowTitle());
    table->setModel(issues);
    table->rememberWidths(context_.profile.preferences);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog->open();
}

} // namespace tallybrook
