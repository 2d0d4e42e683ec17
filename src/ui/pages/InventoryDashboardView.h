#pragma once

#include "app/InventoryDashboardViewModel.h"
#include "ui/pages/InventoryPageView.h"

#include <QList>

namespace tallybrook {

class ControlMetricTile;
class ControlPageHeader;
class ControlSummaryPill;

/// The dashboard: the session's name, export date and source, the number of rows, and nine
/// tiles of figures (counted, not counted, differences, unknown codes, temporary items, store
/// corrections, ...), recomputed when the document or the corrections change.
class InventoryDashboardView : public InventoryPageView {
    Q_OBJECT

public:
    explicit InventoryDashboardView(AppContext& context, QWidget* parent = nullptr);

    void retranslate() override;
    QString navigationTitle() const override;
    const QList<ControlMetricTile*>& tiles() const { return tiles_; }
    ControlPageHeader* header() const { return header_; }
    ControlSummaryPill* rowsPill() const { return rowsPill_; }

protected:
    void refresh() override;

private:
    InventoryDashboardViewModel viewModel_;
    ControlPageHeader* header_;
    ControlSummaryPill* rowsPill_;
    QList<ControlMetricTile*> tiles_;
};

} // namespace tallybrook
