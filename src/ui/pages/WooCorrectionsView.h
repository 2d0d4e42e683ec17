#pragma once

#include "app/WooCorrectionsViewModel.h"
#include "ui/models/CorrectionsModel.h"
#include "ui/pages/PageView.h"

#include <QMessageBox>
#include <QPointer>

class QComboBox;
class QLabel;
class QLayout;

class QPushButton;
class QToolButton;

namespace tallybrook {

class ControlMetricTile;
class ControlPageHeader;
class ControlProcessingOverlay;
class ControlTable;
class ControlToolbar;
class SearchField;
class SymbolLabel;

/// The corrections page: the four counters, the status filter and search, bulk selection,
/// stock reload and send (after a confirmation), the message line with the details of the last
/// reload, and the table where rows are selected and proposals adjusted. While a reload or a
/// send runs, an overlay shows its progress and can stop it; the rest of the window stays usable.
class WooCorrectionsView : public PageView {
    Q_OBJECT

public:
    explicit WooCorrectionsView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    SearchField* searchField() override { return search_; }

    WooCorrectionsViewModel& viewModel() { return viewModel_; }
    CorrectionsModel& model() { return model_; }
    bool isSending() const { return viewModel_.isSending(); }
    /// Ends the running send before its next request.
    void stopSending() { viewModel_.requestStop(); }

    /// Asks for confirmation before sending (the send button); the dialog's destructive button
    /// sends.
    void askToSend();
    /// The confirmation dialog while it is shown.
    QMessageBox* confirmationDialog() const { return confirmation_; }
    /// The list of the last reload's problems (the details button).
    void showReloadDetails();

    const QList<ControlMetricTile*>& tiles() const { return tiles_; }
    QPushButton* toggleButton() const { return toggle_; }
    QPushButton* reloadButton() const { return reload_; }
    QPushButton* sendButton() const { return send_; }
    QLabel* messageLine() const { return message_; }
    QPushButton* detailsButton() const { return details_; }
    ControlProcessingOverlay* overlay() const { return overlay_; }

signals:
    void sendingChanged(bool sending);

protected:
    void refresh() override;

private:
    QLayout* buildTiles();
    ControlToolbar* buildToolbar();
    QLayout* buildMessageRow();
    void connectControls();
    /// The store and the view model redraw the page.
    void connectStore();
    void updateCounters();
    void updateBusyState();
    void updateMessage();
    void updateReloadTime();

    WooCorrectionsViewModel viewModel_;
    CorrectionsModel model_;
    ControlPageHeader* header_;
    QList<ControlMetricTile*> tiles_;
    QLabel* statusLabel_;
    QComboBox* statusFilter_;
    SearchField* search_;
    QToolButton* selectionMenu_;
    QAction* selectVisible_;
    QAction* deselectVisible_;
    QPushButton* toggle_;
    QPushButton* reload_;
    SymbolLabel* reloadedAt_;
    QPushButton* send_;
    QLabel* message_;
    QPushButton* details_;
    ControlTable* table_;
    ControlProcessingOverlay* overlay_;
    QPointer<QMessageBox> confirmation_;
    bool stopAsked_ = false;
};

} // namespace tallybrook
