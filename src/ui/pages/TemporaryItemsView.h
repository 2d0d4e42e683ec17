#pragma once

#include "ui/models/TemporaryItemsModel.h"
#include "ui/pages/InventoryPageView.h"

namespace tallybrook {

class ControlTable;
class SymbolLabel;

/// The temporary items created during the count: those of the imported session, and those of
/// older exports without session (with a warning). Each item can be given a location here,
/// remembered for the session.
class TemporaryItemsView : public InventoryPageView {
    Q_OBJECT

public:
    explicit TemporaryItemsView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    QString navigationTitle() const override;
    TemporaryItemsModel& currentModel() { return current_; }
    TemporaryItemsModel& legacyModel() { return legacy_; }

protected:
    void refresh() override;

private:
    TemporaryItemsModel current_;
    TemporaryItemsModel legacy_;
    SymbolLabel* currentHeading_;
    SymbolLabel* legacyHeading_;
    ControlTable* currentTable_;
    ControlTable* legacyTable_;
};

} // namespace tallybrook
