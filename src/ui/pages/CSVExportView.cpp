#include "ui/pages/CSVExportView.h"

#include "app/TallybrookControlStore.h"
#include "export/InventoryCSVExportService.h"
#include "localization/AppSettings.h"
#include "localization/LocalizedError.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/style/Symbols.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallybrook {

CSVExportView::CSVExportView(AppContext& context, QWidget* parent)
    : PageView(context, parent)
    , header_(new ControlPageHeader(QStringLiteral("doc.badge.arrow.up"), Palette::blue()))
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red()))
    , fileName_(new SymbolLabel(QStringLiteral("tablecells"), Palette::blue(), Palette::TextStyle::headline))
    , export_(new QPushButton) {
    setObjectName(QStringLiteral("page.csv"));
    error_->setObjectName(QStringLiteral("csv.error"));
    error_->setTextColor(Palette::red());
    error_->hide();
    fileName_->setObjectName(QStringLiteral("csv.fileName"));
    export_->setObjectName(QStringLiteral("csv.export"));
    export_->setDefault(true);
    export_->setIcon(Symbols::icon(u"square.and.arrow.up", Qt::white));
    Palette::setProminent(*export_);

    auto* panel = new ControlPanel(20);
    auto* row = new QHBoxLayout;
    row->addWidget(fileName_, 1);
    row->addWidget(export_);
    panel->contentLayout()->addLayout(row);

    auto* page = new ControlPage(18);
    page->addWidget(header_);
    page->addWidget(error_);
    page->addWidget(panel);
    page->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(export_, &QPushButton::clicked, this, &CSVExportView::exportCSV);
    connect(&context_.store, &TallybrookControlStore::documentChanged, this, &CSVExportView::markStale);
    connect(&context_.store, &TallybrookControlStore::correctionsChanged, this, &CSVExportView::markStale);
    retranslate();
}

QString CSVExportView::defaultFileName(CSVExportKind kind) {
    return kind == CSVExportKind::differences ? QStringLiteral("tallybrook-ecarts.csv")
                                              : QStringLiteral("tallybrook-corrections.csv");
}

void CSVExportView::setKind(CSVExportKind kind) {
    if (kind_ != kind) {
        kind_ = kind;
        // The error belongs to the other export.
        error_->hide();
    }
    retranslate();
    markStale();
}

void CSVExportView::retranslate() {
    const AppSettings& settings = context_.settings;
    const bool differences = kind_ == CSVExportKind::differences;
    header_->setTitle(settings.localized(differences ? u"csv.differencesTitle" : u"csv.correctionsTitle"));
    header_->setSubtitle(settings.localized(differences ? u"csv.differencesSubtitle" : u"csv.correctionsSubtitle"));
    fileName_->setText(defaultFileName(kind_));
    export_->setText(settings.localized(u"common.export"));
}

void CSVExportView::refresh() {
    const TallybrookControlStore& store = context_.store;
    export_->setEnabled(kind_ == CSVExportKind::differences ? store.hasDocument() : !store.corrections().isEmpty());
}

void CSVExportView::exportCSV() {
    const TallybrookControlStore& store = context_.store;
    try {
        QByteArray csv;
        if (kind_ == CSVExportKind::differences) {
            if (!store.document()) {
                return;
            }
            csv = InventoryCSVExportService::exportDifferencesCSV(*store.document(), store.selectedInventoryLocation(),
                                                                  InventoryCSVDialect::frenchExcel);
        } else {
            csv = InventoryCSVExportService::exportCorrectionsCSV(store.corrections(), InventoryCSVDialect::frenchExcel);
        }
        context_.fileSaver.save(this, csv, defaultFileName(kind_));
        error_->hide();
    } catch (const LocalizedError& failure) {
        error_->setText(failure.localizedDescription());
        error_->show();
    }
}

QString CSVExportView::navigationTitle() const {
    return context_.settings.localized(kind_ == CSVExportKind::differences ? u"csv.differencesTitle"
                                                                           : u"csv.correctionsTitle");
}

} // namespace tallybrook
