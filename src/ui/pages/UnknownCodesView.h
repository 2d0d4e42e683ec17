#pragma once

#include "ui/models/UnknownCodesModel.h"
#include "ui/pages/InventoryPageView.h"

namespace tallybrook {

class ControlTable;
class SymbolLabel;

/// The codes scanned during the count that matched no item, of the sidebar's location, in
/// document order; each one still to be dealt with.
class UnknownCodesView : public InventoryPageView {
    Q_OBJECT

public:
    explicit UnknownCodesView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    UnknownCodesModel& model() { return model_; }
    SymbolLabel* countLabel() const { return count_; }

protected:
    void refresh() override;

private:
    UnknownCodesModel model_;
    SymbolLabel* count_;
    ControlTable* table_;
};

} // namespace tallybrook
