#pragma once

#include "ui/models/InventoryRowsModel.h"
#include "ui/pages/InventoryPageView.h"

class QLabel;
class QPushButton;

namespace tallybrook {

class ControlTable;
class SearchField;
class SymbolLabel;

/// The rows whose count differs from the reference stock, largest gaps first, narrowed by the
/// search and the sidebar's location; exports the differences CSV of the sidebar's location
/// (never narrowed by the search).
class DifferencesView : public InventoryPageView {
    Q_OBJECT

public:
    explicit DifferencesView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    SearchField* searchField() override { return search_; }

    InventoryRowsModel& model() { return model_; }
    QLabel* countLabel() const { return count_; }
    QPushButton* exportButton() const { return export_; }
    SymbolLabel* errorLine() const { return error_; }
    /// Writes the differences CSV (the export button).
    void exportCSV();

protected:
    void refresh() override;

private:
    InventoryRowsModel model_;
    SearchField* search_;
    QLabel* count_;
    QPushButton* export_;
    ControlTable* table_;
    SymbolLabel* error_;
};

} // namespace tallybrook
