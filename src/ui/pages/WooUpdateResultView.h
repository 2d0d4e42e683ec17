#pragma once

#include "ui/models/UpdateResultsModel.h"
#include "ui/pages/PageView.h"

class QPushButton;

namespace tallybrook {

class ControlMetricTile;
class ControlPageHeader;
class ControlTable;
class SymbolLabel;

/// The outcome of the last send: successes, failures, rows not sent, one line per correction
/// sent, and the send report as CSV.
class WooUpdateResultView : public PageView {
    Q_OBJECT

public:
    explicit WooUpdateResultView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    UpdateResultsModel& model() { return model_; }
    const QList<ControlMetricTile*>& tiles() const { return tiles_; }
    QPushButton* exportButton() const { return export_; }
    SymbolLabel* errorLine() const { return error_; }
    /// Writes the send report CSV (the export button).
    void exportReport();

protected:
    void refresh() override;

private:
    UpdateResultsModel model_;
    ControlPageHeader* header_;
    QList<ControlMetricTile*> tiles_;
    QPushButton* export_;
    SymbolLabel* error_;
    ControlTable* table_;
};

} // namespace tallybrook
