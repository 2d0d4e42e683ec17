#pragma once

#include "analysis/InventoryRowFilter.h"
#include "ui/models/InventoryRowsModel.h"
#include "ui/pages/InventoryPageView.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tallybrook {

class ControlTable;
class SearchField;

/// All rows of the inventory, narrowed by a row filter, the search and the sidebar's location;
/// prints the label sheet of exactly the rows shown.
class InventoryRowsView : public InventoryPageView {
    Q_OBJECT

public:
    explicit InventoryRowsView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    SearchField* searchField() override { return search_; }

    InventoryRowsModel& model() { return model_; }
    QComboBox* filterPicker() const { return filter_; }
    QLabel* countLabel() const { return count_; }
    QPushButton* printButton() const { return print_; }
    ControlTable* table() const { return table_; }
    /// Opens the label sheet for the rows shown (the print button); it closes itself.
    void printCodes();

protected:
    void refresh() override;

private:
    InventoryRowFilter selectedFilter() const;

    InventoryRowsModel model_;
    QLabel* filterLabel_;
    QComboBox* filter_;
    SearchField* search_;
    QLabel* count_;
    QPushButton* print_;
    ControlTable* table_;
};

} // namespace tallybrook
