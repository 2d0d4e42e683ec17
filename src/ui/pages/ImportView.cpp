#include "ui/pages/ImportView.h"

#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlPage.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/ControlPanel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolTile.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QDragEnterEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace tallybrook {

DropZone::DropZone(QWidget* parent)
    : QWidget(parent)
    , tile_(new SymbolTile(48, 24))
    , headline_(new QLabel)
    , hint_(new QLabel)
    , busy_(new QProgressBar)
    , highlight_(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("import.dropZone"));
    setAcceptDrops(true);
    setMinimumHeight(188);
    tile_->setSymbol(QStringLiteral("doc.badge.arrow.up"));
    tile_->setTint(Palette::blue());
    headline_->setObjectName(QStringLiteral("import.dropHeadline"));
    headline_->setFont(Palette::font(Palette::TextStyle::headline, font()));
    headline_->setAlignment(Qt::AlignCenter);
    hint_->setFont(Palette::font(Palette::TextStyle::callout, font()));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);
    Palette::setTextColor(*hint_, Palette::secondary());
    busy_->setRange(0, 0);
    busy_->setTextVisible(false);
    busy_->setFixedSize(160, 6);
    busy_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(8);
    layout->addStretch(1);
    layout->addWidget(tile_, 0, Qt::AlignHCenter);
    layout->addWidget(headline_);
    layout->addWidget(busy_, 0, Qt::AlignHCenter);
    layout->addWidget(hint_);
    layout->addStretch(1);

    // A short spring-like ease into and out of the highlight.
    highlight_->setDuration(220);
    highlight_->setEasingCurve(QEasingCurve::OutBack);
    highlight_->setStartValue(0.0);
    highlight_->setEndValue(1.0);
    connect(highlight_, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void DropZone::setTexts(const QString& drop, const QString& release, const QString& importing, const QString& hint) {
    drop_ = drop;
    release_ = release;
    importing_ = importing;
    hint_->setText(hint);
    updateHeadline();
}

void DropZone::setImporting(bool importing) {
    isImporting_ = importing;
    busy_->setVisible(importing);
    updateHeadline();
}

QString DropZone::headline() const {
    return headline_->text();
}

void DropZone::updateHeadline() {
    headline_->setText(isImporting_ ? importing_ : targeted_ ? release_ : drop_);
    setAccessibleName(headline_->text());
    setAccessibleDescription(hint_->text());
}

void DropZone::setTargeted(bool targeted) {
    if (targeted_ == targeted) {
        return;
    }
    targeted_ = targeted;
    highlight_->setDirection(targeted ? QAbstractAnimation::Forward : QAbstractAnimation::Backward);
    if (highlight_->state() != QAbstractAnimation::Running) {
        highlight_->start();
    }
    updateHeadline();
}

void DropZone::dragEnterEvent(QDragEnterEvent* event) {
    if (InventoryImportViewModel::droppedFilePath(event->mimeData()->urls())) {
        event->acceptProposedAction();
        setTargeted(true);
    } else {
        event->ignore();
    }
}

void DropZone::dragLeaveEvent(QDragLeaveEvent* event) {
    setTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void DropZone::dropEvent(QDropEvent* event) {
    setTargeted(false);
    const std::optional<QString> path = InventoryImportViewModel::droppedFilePath(event->mimeData()->urls());
    if (!path) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit fileDropped(*path);
}

void DropZone::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal lit = highlight_->currentValue().toReal();
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setBrush(Palette::withOpacity(Palette::blue(), 0.04 + 0.10 * lit));
    QPen border(Palette::withOpacity(Palette::blue(), 0.35 + 0.5 * lit), 1.5 + lit);
    border.setStyle(lit > 0.5 ? Qt::SolidLine : Qt::DashLine);
    painter.setPen(border);
    painter.drawRoundedRect(area, 14, 14);
}

ImportView::ImportView(AppContext& context, std::function<void()> openFile, QWidget* parent)
    : PageView(context, parent)
    , header_(new ControlPageHeader(QStringLiteral("square.and.arrow.down"), Palette::blue()))
    , open_(new QPushButton)
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red()))
    , dropZone_(new DropZone)
    , warningsPanel_(new ControlPanel)
    , warningsHeading_(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::orange(),
                                       Palette::TextStyle::headline))
    , warningLines_(new QWidget)
    , loadedPanel_(new ControlPanel)
    , loadedHeading_(
          new SymbolLabel(QStringLiteral("checkmark.seal.fill"), Palette::green(), Palette::TextStyle::headline)) {
    setObjectName(QStringLiteral("page.importInventory"));
    open_->setObjectName(QStringLiteral("import.open"));
    open_->setDefault(true);
    open_->setIcon(Symbols::icon(u"folder", Qt::white));
    Palette::setProminent(*open_);
    header_->addTrailing(open_);
    error_->setObjectName(QStringLiteral("import.error"));
    error_->setTextColor(Palette::red());
    error_->hide();

    auto* main = new ControlPanel(20);
    main->addWidget(header_);
    main->addWidget(error_);
    main->addWidget(dropZone_);

    warningsPanel_->setObjectName(QStringLiteral("import.warnings"));
    warningsPanel_->addWidget(warningsHeading_);
    auto* warningLayout = new QVBoxLayout(warningLines_);
    warningLayout->setContentsMargins(0, 0, 0, 0);
    warningLayout->setSpacing(6);
    warningsPanel_->addWidget(warningLines_);

    loadedPanel_->setObjectName(QStringLiteral("import.loaded"));
    loadedPanel_->addWidget(loadedHeading_);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(6);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel;
        auto* value = new QLabel;
        value->setObjectName(QStringLiteral("import.loadedValue%1").arg(i));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        Palette::setTextColor(*value, Palette::secondary());
        grid->addWidget(label, i, 0);
        grid->addWidget(value, i, 1);
        loadedLines_.append(std::pair{label, value});
    }
    grid->setColumnStretch(1, 1);
    loadedPanel_->contentLayout()->addLayout(grid);

    auto* page = new ControlPage(18);
    page->addWidget(main);
    page->addWidget(warningsPanel_);
    page->addWidget(loadedPanel_);
    page->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(open_, &QPushButton::clicked, this, [openFile = std::move(openFile)] { openFile(); });
    connect(dropZone_, &DropZone::fileDropped, this,
            [this](const QString& path) { context_.importer.startImport(path); });
    InventoryImportViewModel& importer = context_.importer;
    connect(&importer, &InventoryImportViewModel::isImportingChanged, this,
            [this] { dropZone_->setImporting(context_.importer.isImporting()); });
    connect(&importer, &InventoryImportViewModel::errorMessageChanged, this, &ImportView::markStale);
    TallybrookControlStore& store = context_.store;
    connect(&store, &TallybrookControlStore::documentChanged, this, &ImportView::markStale);
    connect(&store, &TallybrookControlStore::importedFileNameChanged, this, &ImportView::markStale);
    connect(&store, &TallybrookControlStore::validationWarningsChanged, this, &ImportView::markStale);
    retranslate();
}

void ImportView::retranslate() {
    const AppSettings& settings = context_.settings;
    header_->setTitle(settings.localized(u"import.title"));
    open_->setText(settings.localized(u"import.open"));
    dropZone_->setTexts(settings.localized(u"import.drop"), settings.localized(u"import.release"),
                        settings.localized(u"import.importing"), settings.localized(u"import.dropHint"));
    warningsHeading_->setText(settings.localized(u"import.warnings"));
    loadedHeading_->setText(settings.localized(u"import.loaded"));
    const char16_t* keys[] = {u"common.session", u"common.format", u"import.exportDate", u"common.lines"};
    for (int i = 0; i < 4; ++i) {
        loadedLines_[i].first->setText(settings.localized(keys[i]));
    }
}

void ImportView::refresh() {
    const AppSettings& settings = context_.settings;
    const TallybrookControlStore& store = context_.store;
    header_->setSubtitle(store.importedFileName().value_or(settings.localized(u"import.noFile")));

    const std::optional<QString>& error = context_.importer.errorMessage();
    error_->setText(error.value_or(QString()));
    error_->setVisible(error.has_value());

    QLayout* lines = warningLines_->layout();
    while (QLayoutItem* item = lines->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const TallybrookValidationWarning& warning : store.validationWarnings()) {
        auto* line = new SymbolLabel(QStringLiteral("exclamationmark.triangle"), Palette::secondary());
        line->setText(warning.message(settings.resolvedLanguage()));
        lines->addWidget(line);
    }
    warningsPanel_->setVisible(!store.validationWarnings().isEmpty());

    const std::shared_ptr<const InventoryExportDocument>& document = store.document();
    loadedPanel_->setVisible(document != nullptr);
    if (document) {
        loadedLines_[0].second->setText(document->session.name);
        loadedLines_[1].second->setText(document->format + QStringLiteral(", v") +
                                        QString::number(document->formatVersion));
        loadedLines_[2].second->setText(DisplayFormat::dateTime(document->exportedAt, settings.locale()));
        loadedLines_[3].second->setText(QString::number(document->rows.size()));
    }
}

void ImportView::paintEvent(QPaintEvent*) {
    // Decoration only: a depth gradient, two frosted glass panes and thin rails.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient depth(rect().topLeft(), rect().bottomRight());
    depth.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    depth.setColorAt(0.55, QColor(0xea, 0xef, 0xf6));
    depth.setColorAt(1, QColor(0xe2, 0xe8, 0xf1));
    painter.fillRect(rect(), depth);

    painter.setPen(Qt::NoPen);
    const qreal w = width();
    const qreal h = height();
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawRoundedRect(QRectF(w * 0.58, h * 0.06, w * 0.5, h * 0.42), 36, 36);
    painter.setBrush(Palette::withOpacity(Palette::blue(), 0.05));
    painter.drawRoundedRect(QRectF(-w * 0.08, h * 0.55, w * 0.46, h * 0.5), 40, 40);

    painter.setPen(QPen(Palette::withOpacity(Palette::blue(), 0.07), 1));
    for (int i = 0; i < 5; ++i) {
        const qreal y = h * (0.7 + i * 0.055);
        painter.drawLine(QPointF(w * 0.45, y), QPointF(w, y - h * 0.04));
    }
}

} // namespace tallybrook
