#include "ui/pages/UnknownCodesView.h"

#include "analysis/InventoryAnalysisService.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/ControlTable.h"
#include "ui/components/ControlToolbar.h"
#include "ui/components/SymbolLabel.h"

namespace tallybrook {

UnknownCodesView::UnknownCodesView(AppContext& context, QWidget* parent)
    : InventoryPageView(context, parent)
    , count_(new SymbolLabel(QStringLiteral("barcode.viewfinder"), Palette::red(), Palette::TextStyle::headline))
    , table_(new ControlTable) {
    setObjectName(QStringLiteral("page.unknownCodes"));
    count_->setObjectName(QStringLiteral("unknown.count"));
    table_->setObjectName(QStringLiteral("unknown.table"));
    table_->setModel(&model_);
    table_->rememberWidths(context.profile.preferences);

    auto* toolbar = new ControlToolbar;
    toolbar->addWidget(count_);
    toolbar->addWidget(makeLocationBadge());
    toolbar->addStretch();

    auto* page = new ControlPage(14, ControlPage::Scrolling::none);
    page->addWidget(toolbar);
    page->addWidget(table_, 1);
    setContent(page);
    retranslate();
}

void UnknownCodesView::retranslate() {
    retranslateEmptyState();
    table_->setAccessibleName(context_.settings.localized(u"sidebar.unknownCodes"));
    model_.setLanguage(context_.settings.resolvedLanguage());
}

void UnknownCodesView::refresh() {
    if (!updateEmptyState()) {
        model_.setCodes({});
        return;
    }
    const TallybrookControlStore& store = context_.store;
    model_.setCodes(InventoryAnalysisService::unknownCodes(*store.document(), store.selectedInventoryLocation()));
    count_->setText(context_.settings.formatted(u"unknown.count", {qint64(model_.rowCount())}));
}

} // namespace tallybrook
