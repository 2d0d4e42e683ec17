#pragma once

#include "ui/pages/PageView.h"

class QStackedLayout;

namespace tallybrook {

class ControlStatusBadge;
class EmptyInventoryView;

/// Base of the pages that show the imported inventory: the empty state while no inventory is
/// loaded, the page's content otherwise; and the location badge of the toolbars, shown while
/// the sidebar's location filter is set. Refreshes when the document or the filter changes.
class InventoryPageView : public PageView {
    Q_OBJECT

public:
    explicit InventoryPageView(AppContext& context, QWidget* parent = nullptr);

    bool showsEmptyState() const;

protected:
    /// The page's content, shown while an inventory is loaded.
    void setContent(QWidget* content);
    /// A location badge for the page's toolbar, kept up to date.
    ControlStatusBadge* makeLocationBadge();
    /// Shows the empty state or the content; pages call it first in `refresh`. Returns
    /// whether a document is loaded.
    bool updateEmptyState();
    /// Sets the empty state's texts; pages call it from `retranslate`.
    void retranslateEmptyState();

private:
    QStackedLayout* layers_;
    EmptyInventoryView* empty_;
    QList<ControlStatusBadge*> locationBadges_;
};

} // namespace tallybrook
