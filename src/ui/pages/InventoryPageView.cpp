#include "ui/pages/InventoryPageView.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/EmptyInventoryView.h"
#include "ui/style/Palette.h"

#include <QStackedLayout>

namespace tallybrook {

InventoryPageView::InventoryPageView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , layers_(new QStackedLayout(this))
    , empty_(new EmptyInventoryView) {
    layers_->addWidget(empty_);
    connect(&context_.store, &TallybrookControlStore::documentChanged, this, &InventoryPageView::markStale);
    connect(&context_.store, &TallybrookControlStore::selectedInventoryLocationChanged, this,
            &InventoryPageView::markStale);
}

bool InventoryPageView::showsEmptyState() const {
    return layers_->currentWidget() == empty_;
}

void InventoryPageView::setContent(QWidget* content) {
    layers_->addWidget(content);
}

ControlStatusBadge* InventoryPageView::makeLocationBadge() {
    auto* badge = new ControlStatusBadge;
    badge->setObjectName(QStringLiteral("locationBadge"));
    badge->hide();
    locationBadges_.append(badge);
    return badge;
}

bool InventoryPageView::updateEmptyState() {
    const bool loaded = context_.store.hasDocument();
    layers_->setCurrentIndex(loaded && layers_->count() > 1 ? 1 : 0);
    const std::optional<QString>& location = context_.store.selectedInventoryLocation();
    for (ControlStatusBadge* badge : std::as_const(locationBadges_)) {
        if (location) {
            badge->setContent(*location, Palette::green(), QStringLiteral("mappin.and.ellipse"));
        }
        badge->setVisible(location.has_value());
    }
    return loaded;
}

void InventoryPageView::retranslateEmptyState() {
    empty_->retranslate(context_.settings);
}

} // namespace tallybrook
