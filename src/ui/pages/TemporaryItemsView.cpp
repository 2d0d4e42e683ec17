#include "ui/pages/TemporaryItemsView.h"

#include "analysis/InventoryAnalysisService.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/ControlTable.h"
#include "ui/components/SymbolLabel.h"

#include <QHeaderView>

namespace tallybrook {

namespace {

ControlTable* makeTable(TemporaryItemsModel& model, const QString& name, const AppContext& context) {
    auto* table = new ControlTable;
    table->setObjectName(name);
    table->setModel(&model);
    table->rememberWidths(context.profile.preferences);
    table->setMinimumHeight(180);
    return table;
}

} // namespace

TemporaryItemsView::TemporaryItemsView(AppContext& context, QWidget* parent)
    : InventoryPageView(context, parent)
    , current_(context.store, false)
    , legacy_(context.store, true)
    , currentHeading_(
          new SymbolLabel(QStringLiteral("shippingbox"), Palette::purple(), Palette::TextStyle::headline))
    , legacyHeading_(new SymbolLabel(QStringLiteral("shippingbox.fill"), Palette::orange(),
                                     Palette::TextStyle::headline))
    , currentTable_(makeTable(current_, QStringLiteral("temporary.current"), context))
    , legacyTable_(makeTable(legacy_, QStringLiteral("temporary.legacy"), context)) {
    setObjectName(QStringLiteral("page.temporaryItems"));
    auto* page = new ControlPage(18, ControlPage::Scrolling::none);
    for (const auto& [heading, table] :
         {std::pair{currentHeading_, currentTable_}, std::pair{legacyHeading_, legacyTable_}}) {
        auto* panel = new ControlPanel(16);
        panel->addWidget(heading);
        panel->addWidget(table, 1);
        page->addWidget(panel, 1);
    }
    setContent(page);
    connect(&context_.store, &TallybrookControlStore::temporaryItemLocationAssignmentsChanged, this, [this] {
        current_.assignmentsChanged();
        legacy_.assignmentsChanged();
    });
    retranslate();
}

void TemporaryItemsView::retranslate() {
    const AppSettings& settings = context_.settings;
    retranslateEmptyState();
    currentHeading_->setText(settings.localized(u"temporary.current"));
    legacyHeading_->setText(settings.localized(u"temporary.legacy"));
    currentTable_->setAccessibleName(currentHeading_->text());
    legacyTable_->setAccessibleName(legacyHeading_->text());
    current_.setLanguage(settings.resolvedLanguage());
    legacy_.setLanguage(settings.resolvedLanguage());
}

void TemporaryItemsView::refresh() {
    if (!updateEmptyState()) {
        current_.setItems({}, {});
        legacy_.setItems({}, {});
        return;
    }
    const InventoryExportDocument& document = *context_.store.document();
    const QStringList locations = context_.store.inventoryLocations();
    current_.setItems(InventoryAnalysisService::temporaryItemsForImportedSession(document), locations);
    legacy_.setItems(InventoryAnalysisService::legacyTemporaryItemsWithoutSession(document), locations);
}

QString TemporaryItemsView::navigationTitle() const {
    return context_.settings.localized(u"temporary.title");
}

} // namespace tallybrook
