#include "ui/pages/WooUpdateResultView.h"

#include "app/TallybrookControlStore.h"
#include "export/InventoryCSVExportService.h"
#include "localization/AppSettings.h"
#include "localization/LocalizedError.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlTable.h"
#include "ui/components/SymbolLabel.h"
#include "ui/style/Symbols.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallybrook {

namespace {

const QList<MetricTileSpec> resultTiles{
    {u"result.success", "checkmark.circle.fill", Tint::green},
    {u"result.failures", "xmark.circle.fill", Tint::red},
    {u"result.ignored", "minus.circle", Tint::secondary},
};

} // namespace

WooUpdateResultView::WooUpdateResultView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , header_(new ControlPageHeader(QStringLiteral("doc.text.magnifyingglass"), Palette::blue()))
    , export_(new QPushButton)
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red()))
    , table_(new ControlTable) {
    setObjectName(QStringLiteral("page.wooResult"));
    export_->setObjectName(QStringLiteral("result.export"));
    export_->setIcon(Symbols::icon(u"square.and.arrow.up", Palette::primaryText()));
    header_->addTrailing(export_);
    error_->setObjectName(QStringLiteral("result.error"));
    error_->setTextColor(Palette::red());
    error_->hide();
    table_->setObjectName(QStringLiteral("result.table"));
    table_->setModel(&model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->rememberWidths(context.profile.preferences);

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(12);
    tiles_ = ControlMetricTile::make(resultTiles);
    for (ControlMetricTile* tile : std::as_const(tiles_)) {
        tiles->addWidget(tile);
    }

    auto* page = new ControlPage(14, ControlPage::Scrolling::none);
    page->addWidget(header_);
    page->contentLayout()->addLayout(tiles);
    page->addWidget(error_);
    page->addWidget(table_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(export_, &QPushButton::clicked, this, &WooUpdateResultView::exportReport);
    connect(&context_.store, &TallybrookControlStore::updateResultsChanged, this, &WooUpdateResultView::markStale);
    connect(&context_.store, &TallybrookControlStore::correctionsChanged, this, &WooUpdateResultView::markStale);
    retranslate();
}

void WooUpdateResultView::retranslate() {
    const AppSettings& settings = context_.settings;
    header_->setTitle(settings.localized(u"result.title"));
    table_->setAccessibleName(header_->title());
    ControlMetricTile::retranslate(tiles_, resultTiles, settings);
    export_->setText(settings.localized(u"common.exportCSV"));
    model_.setLanguage(settings.resolvedLanguage());
}

void WooUpdateResultView::refresh() {
    const TallybrookControlStore& store = context_.store;
    const QList<WooUpdateResultLine>& lines = store.updateResults();
    model_.setLines(lines);
    const qint64 successes = std::count_if(lines.cbegin(), lines.cend(),
                                           [](const WooUpdateResultLine& line) { return line.success; });
    const qint64 failures = lines.size() - successes;
    const qint64 ignored = qMax<qint64>(0, store.corrections().size() - lines.size());
    const qint64 values[] = {successes, failures, ignored};
    for (qsizetype i = 0; i < tiles_.size(); ++i) {
        tiles_.at(i)->setValue(QString::number(values[i]));
    }
    export_->setEnabled(!lines.isEmpty());
}

void WooUpdateResultView::exportReport() {
    try {
        const QByteArray csv = InventoryCSVExportService::exportUpdateReportCSV(context_.store.updateResults(),
                                                                                InventoryCSVDialect::frenchExcel);
        context_.fileSaver.save(this, csv, QStringLiteral("tallybrook-rapport-envoi.csv"));
        error_->hide();
    } catch (const LocalizedError& failure) {
        error_->setText(failure.localizedDescription());
        error_->show();
    }
}

} // namespace tallybrook
