#include "ui/pages/InventoryDashboardView.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlSummaryPill.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

#include <QGridLayout>

namespace tallybrook {

namespace {

struct TileSpec {
    const char16_t* titleKey;
    const char* symbol;
    Tint tint;
    qint64 InventorySessionAnalysis::*value;
};

const TileSpec tileSpecs[] = {
    {u"common.lines", "tablecells", Tint::blue, &InventorySessionAnalysis::totalRows},
    {u"dashboard.counted", "checkmark.circle.fill", Tint::green, &InventorySessionAnalysis::countedRows},
    {u"dashboard.notCounted", "circle.dashed", Tint::secondary, &InventorySessionAnalysis::notCountedRows},
    {u"dashboard.withDifference", "plus.forwardslash.minus", Tint::orange, &InventorySessionAnalysis::differenceRows},
    {u"dashboard.unknownCodes", "barcode.viewfinder", Tint::red, &InventorySessionAnalysis::unknownCodesCount},
    {u"dashboard.temporaryItems", "shippingbox.fill", Tint::purple, &InventorySessionAnalysis::temporaryItemsCount},
    {u"dashboard.storeCorrections", "checklist.checked", Tint::green,
     &InventorySessionAnalysis::possibleWooCorrectionsCount},
    {u"dashboard.legacyTemporary", "clock.badge.exclamationmark", Tint::orange,
     &InventorySessionAnalysis::legacyTemporaryItemsCount},
    {u"dashboard.ignoredTemporary", "eye.slash", Tint::secondary,
     &InventorySessionAnalysis::ignoredTemporaryItemsCount},
};

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
    int position = 0;
    for (const TileSpec& spec : tileSpecs) {
        auto* tile = new ControlMetricTile(QString::fromLatin1(spec.symbol), Palette::color(spec.tint));
        tile->setObjectName(QString::fromUtf16(spec.titleKey));
        tiles_.append(tile);
        grid->addWidget(tile, position / 3, position % 3);
        ++position;
    }
    page->contentLayout()->addLayout(grid);
    page->addStretch();
    setContent(page);

    connect(&context_.store, &TallybrookControlStore::correctionsChanged, this, &InventoryDashboardView::markStale);
    retranslate();
}

void InventoryDashboardView::retranslate() {
    retranslateEmptyState();
    for (qsizetype i = 0; i < tiles_.size(); ++i) {
        tiles_.at(i)->setTitle(context_.settings.localized(tileSpecs[i].titleKey));
    }
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
    for (qsizetype i = 0; i < tiles_.size(); ++i) {
        tiles_.at(i)->setValue(QString::number(analysis.*(tileSpecs[i].value)));
    }
}

} // namespace tallybrook
