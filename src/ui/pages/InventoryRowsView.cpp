#include "ui/pages/InventoryRowsView.h"

#include "app/TallybrookControlStore.h"
#include "export/LabelFileName.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/ControlTable.h"
#include "ui/components/ControlToolbar.h"
#include "ui/components/SearchField.h"
#include "ui/pages/LabelPrintOptionsView.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace tallybrook {

InventoryRowsView::InventoryRowsView(AppContext& context, QWidget* parent)
    : InventoryPageView(context, parent)
    , model_({InventoryRowsModel::Column::status, InventoryRowsModel::Column::item,
              InventoryRowsModel::Column::barcode, InventoryRowsModel::Column::categoryLocation,
              InventoryRowsModel::Column::reference, InventoryRowsModel::Column::counted,
              InventoryRowsModel::Column::delta, InventoryRowsModel::Column::lastScan})
    , filterLabel_(new QLabel)
    , filter_(new QComboBox)
    , search_(new SearchField)
    , count_(new QLabel)
    , print_(new QPushButton)
    , table_(new ControlTable) {
    setObjectName(QStringLiteral("page.rows"));
    filter_->setObjectName(QStringLiteral("rows.filter"));
    filterLabel_->setBuddy(filter_);
    for (const InventoryRowFilter filter : allInventoryRowFilters) {
        filter_->addItem(QString(), rawValue(filter));
    }
    search_->setObjectName(QStringLiteral("rows.search"));
    count_->setObjectName(QStringLiteral("rows.count"));
    print_->setObjectName(QStringLiteral("rows.printCodes"));
    print_->setIcon(Symbols::icon(u"barcode", Palette::primaryText()));
    table_->setObjectName(QStringLiteral("rows.table"));
    table_->setModel(&model_);
    table_->rememberWidths(context.profile.preferences);

    auto* toolbar = new ControlToolbar;
    toolbar->addWidget(filterLabel_);
    toolbar->addWidget(filter_);
    toolbar->addWidget(search_);
    toolbar->addWidget(count_);
    toolbar->addWidget(makeLocationBadge());
    toolbar->addStretch();
    toolbar->addWidget(print_);

    auto* page = new ControlPage(14, ControlPage::Scrolling::none);
    page->addWidget(toolbar);
    page->addWidget(table_, 1);
    setContent(page);

    connect(filter_, &QComboBox::activated, this, [this] { refresh(); });
    connect(search_, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(print_, &QPushButton::clicked, this, &InventoryRowsView::printCodes);
    retranslate();
}

InventoryRowFilter InventoryRowsView::selectedFilter() const {
    return inventoryRowFilterFromRawValue(filter_->currentData().toString()).value_or(InventoryRowFilter::all);
}

void InventoryRowsView::retranslate() {
    const AppSettings& settings = context_.settings;
    retranslateEmptyState();
    filterLabel_->setText(settings.localized(u"rows.filter"));
    filter_->setAccessibleName(filterLabel_->text());
    for (int i = 0; i < filter_->count(); ++i) {
        filter_->setItemText(i, label(allInventoryRowFilters.at(size_t(i)), settings.resolvedLanguage()));
    }
    search_->setPromptText(settings.localized(u"common.search"), settings.localized(u"common.clearSearch"));
    table_->setAccessibleName(settings.localized(u"sidebar.rows"));
    print_->setText(settings.localized(u"rows.printCodes"));
    print_->setToolTip(settings.localized(u"rows.printHelp"));
    model_.setLanguage(settings.resolvedLanguage());
}

void InventoryRowsView::refresh() {
    if (!updateEmptyState()) {
        model_.setRows(nullptr, {});
        return;
    }
    const TallybrookControlStore& store = context_.store;
    model_.setRows(store.document(),
                   InventoryAnalysisService::filteredRows(store.document(), search_->text(), selectedFilter(),
                                                          store.selectedInventoryLocation()));
    const qint64 shown = model_.rowCount();
    count_->setText(context_.settings.formatted(u"common.rowsCount", {shown}));
    print_->setEnabled(shown > 0);
}

void InventoryRowsView::printCodes() {
    refreshIfStale();
    if (model_.rows().isEmpty()) {
        return;
    }
    auto* sheet = new LabelPrintOptionsView(
        context_, model_.document(), model_.shownRows(),
        labelSheetDefaultFileName(context_.store.selectedInventoryLocation()), this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->open();
}

} // namespace tallybrook
