#include "ui/pages/InventoryDashboardView.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlSummaryPill.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Palette.h"

#include <QGridLayout>

namespace tallybrook {

namespace {

const QList<MetricTileSpec> dashboardTiles{
    {u"common.lines", "tablecells", Tint::blue},
    {u"dashboard.counted", "checkmark.circle.fill", Tint::green},
    {u"dashboard.notCounted", "circle.dashed", Tint::secondary},
    {u"dashboard.withDifference", "plus.forwardslash.minus", Tint::orange},
    {u"dashboard.unknownCodes", "barcode.viewfinder", Tint::red},
    {u"dashboard.temporaryItems", "shippingbox.fill", Tint::purple},
    {u"dashboard.storeCorrections", "checklist.checked", Tint::green},
    {u"dashboard.legacyTemporary", "clock.badge.exclamationmark", Tint::orange},
    {u"dashboard.ignoredTemporary", "eye.slash", Tint::secondary},
};

/// The tiles' values, in the order of the specs.
QList<qint64> tileValues(const InventorySessionAnalysis& analysis) {
    return {analysis.totalRows,          analysis.countedRows,
            analysis.notCountedRows,     analysis.differenceRows,
            analysis.unknownCodesCount,  analysis.temporaryItemsCount,
            analysis.possibleWooCorrectionsCount, analysis.legacyTemporaryItemsCount,
            analysis.ignoredTemporaryItemsCount};
}

} // namespace

InventoryDashboardView::InventoryDashboardView(AppContext& context, QWidget* parent)
    : InventoryPageView(context, parent)
    , header_(new ControlPageHeader(QStringLiteral("chart.bar.doc.horizontal"), Palette::blue()))
    , rowsPill_(new ControlSummaryPill(QStringLiteral("tablecells"), Palette::blue())) {
    setObjectName(QStringLiteral("page.dashboard"));
    header_->addTrailing(rowsPill_);
    auto* page = new ControlPage(18);
    page->addWidget(header_);
    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    tiles_ = ControlMetricTile::make(dashboardTiles);
    for (int position = 0; position < tiles_.size(); ++position) {
        grid->addWidget(tiles_.at(position), position / 3, position % 3);
    }
    page->contentLayout()->addLayout(grid);
    page->addStretch();
    setContent(page);

    connect(&context_.store, &TallybrookControlStore::correctionsChanged, this, &InventoryDashboardView::markStale);
    retranslate();
}

void InventoryDashboardView::retranslate() {
    retranslateEmptyState();
    ControlMetricTile::retranslate(tiles_, dashboardTiles, context_.settings);
}

void InventoryDashboardView::refresh() {
    if (!updateEmptyState()) {
        return;
    }
    const TallybrookControlStore& store = context_.store;
    viewModel_.refresh(store.document(), store.corrections());
    const InventorySessionAnalysis& analysis = *viewModel_.analysis();
    const AppSettings& settings = context_.settings;
    header_->setTitle(analysis.sessionName);
    header_->setSubtitle(DisplayFormat::dateTime(analysis.exportedAt, settings.locale()) + QStringLiteral(" · ") +
                         analysis.sourceDisplayName);
    rowsPill_->setTitle(settings.formatted(u"common.rowsCount", {analysis.totalRows}));
    rowsPill_->setValue(analysis.totalRows);
    const QList<qint64> values = tileValues(analysis);
    for (qsizetype i = 0; i < tiles_.size(); ++i) {
        tiles_.at(i)->setValue(QString::number(values.at(i)));
    }
}

QString InventoryDashboardView::navigationTitle() const {
    return context_.settings.localized(u"dashboard.title");
}

} // namespace tallybrook
