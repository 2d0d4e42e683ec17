#include "ui/pages/DifferencesView.h"

#include "analysis/InventoryDifferenceAnalyzer.h"
#include "app/TallybrookControlStore.h"
#include "export/InventoryCSVExportService.h"
#include "localization/AppSettings.h"
#include "localization/LocalizedError.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/ControlTable.h"
#include "ui/components/ControlToolbar.h"
#include "ui/components/SearchField.h"
#include "ui/components/SymbolLabel.h"
#include "ui/style/Symbols.h"

#include <QLabel>
#include <QPushButton>

namespace tallybrook {

DifferencesView::DifferencesView(AppContext& context, QWidget* parent)
    : InventoryPageView(context, parent)
    , model_({InventoryRowsModel::Column::item, InventoryRowsModel::Column::barcode,
              InventoryRowsModel::Column::reference, InventoryRowsModel::Column::counted,
              InventoryRowsModel::Column::delta})
    , search_(new SearchField)
    , count_(new QLabel)
    , export_(new QPushButton)
    , table_(new ControlTable)
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red())) {
    setObjectName(QStringLiteral("page.differences"));
    search_->setObjectName(QStringLiteral("differences.search"));
    count_->setObjectName(QStringLiteral("differences.count"));
    export_->setObjectName(QStringLiteral("differences.export"));
    export_->setIcon(Symbols::icon(u"square.and.arrow.up", Palette::primaryText()));
    table_->setObjectName(QStringLiteral("differences.table"));
    table_->setModel(&model_);
    table_->rememberWidths(context.profile.preferences);
    error_->setObjectName(QStringLiteral("differences.error"));
    error_->setTextColor(Palette::red());
    error_->hide();

    auto* toolbar = new ControlToolbar;
    toolbar->addWidget(search_);
    toolbar->addWidget(count_);
    toolbar->addWidget(makeLocationBadge());
    toolbar->addStretch();
    toolbar->addWidget(export_);

    auto* page = new ControlPage(14, ControlPage::Scrolling::none);
    page->addWidget(toolbar);
    page->addWidget(table_, 1);
    page->addWidget(error_);
    setContent(page);

    connect(search_, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(export_, &QPushButton::clicked, this, &DifferencesView::exportCSV);
    retranslate();
}

void DifferencesView::retranslate() {
    const AppSettings& settings = context_.settings;
    retranslateEmptyState();
    search_->setPromptText(settings.localized(u"common.search"), settings.localized(u"common.clearSearch"));
    table_->setAccessibleName(settings.localized(u"sidebar.differences"));
    export_->setText(settings.localized(u"common.exportCSV"));
    model_.setLanguage(settings.resolvedLanguage());
}

void DifferencesView::refresh() {
    const bool loaded = updateEmptyState();
    export_->setEnabled(loaded);
    if (!loaded) {
        model_.setRows(nullptr, {});
        return;
    }
    const TallybrookControlStore& store = context_.store;
    model_.setRows(store.document(), InventoryDifferenceAnalyzer::differences(store.document(), search_->text(),
                                                                              store.selectedInventoryLocation()));
    count_->setText(context_.settings.formatted(u"differences.count", {qint64(model_.rowCount())}));
}

void DifferencesView::exportCSV() {
    const TallybrookControlStore& store = context_.store;
    if (!store.document()) {
        return;
    }
    try {
        const QByteArray csv = InventoryCSVExportService::exportDifferencesCSV(
            *store.document(), store.selectedInventoryLocation(), InventoryCSVDialect::frenchExcel);
        context_.fileSaver.save(this, csv, QStringLiteral("tallybrook-ecarts.csv"));
        error_->hide();
    } catch (const LocalizedError& failure) {
        error_->setText(failure.localizedDescription());
        error_->show();
    }
}

} // namespace tallybrook
