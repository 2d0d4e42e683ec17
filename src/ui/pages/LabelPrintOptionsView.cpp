#include "ui/pages/LabelPrintOptionsView.h"

#include "export/LabelPDFError.h"
#include "export/LabelPDFService.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelSheetPainter.h"
#include "localization/AppSettings.h"
#include "localization/LocalizedError.h"
#include "ui/components/DecimalField.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/style/Symbols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallybrook {

namespace {

/// A field's label and the field, side by side.
QHBoxLayout* labelled(QLabel* label, DecimalField* field) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    label->setMinimumWidth(120);
    label->setBuddy(field->lineEdit());
    row->addWidget(label);
    row->addWidget(field);
    return row;
}

} // namespace

LabelPrintOptionsView::LabelPrintOptionsView(AppContext& context,
                                             std::shared_ptr<const InventoryExportDocument> document,
                                             InventoryRowList rows, QString defaultFileName, QWidget* parent,
                                             PrintService printService)
    : QDialog(parent)
    , context_(context)
    , document_(std::move(document))
    , rows_(std::move(rows))
    , defaultFileName_(std::move(defaultFileName))
    , printService_(std::move(printService)) {
    setObjectName(QStringLiteral("labels"));
    setModal(true);
    setFixedWidth(560);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 22, 22, 22);
    layout->setSpacing(18);
    layout->addLayout(buildHeader());
    layout->addLayout(buildCodeSection());
    layout->addLayout(buildFormatSection());
    layout->addLayout(buildMessages());
    layout->addLayout(buildButtons());
    connectControls();

    // Rows give the same codes whatever the kind; only the size changes how dense they print.
    widestCode128_ = widestCode128Modules(makePrintableItems(rows_, document_.get(), LabelCodeKind::barcode,
                                                             context_.settings.resolvedLanguage())
                                              .items);
    retranslate();
    refreshCounts();
}

QLayout* LabelPrintOptionsView::buildHeader() {
    title_ = new QLabel;
    title_->setFont(Palette::font(Palette::TextStyle::title, font()));
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("labels.count"));
    Palette::setTextColor(*count_, Palette::secondary());
    auto* head = new QVBoxLayout;
    head->setSpacing(4);
    head->addWidget(title_);
    head->addWidget(count_);
    return head;
}

QLayout* LabelPrintOptionsView::buildCodeSection() {
    codeHeading_ = new QLabel;
    codeHeading_->setFont(Palette::font(Palette::TextStyle::headline, font()));
    codeKind_ = new SegmentedPicker(int(allLabelCodeKinds.size()));
    codeKind_->setObjectName(QStringLiteral("labels.type"));
    codeKind_->setCurrentIndex(int(configuration_.codeKind));
    codeHint_ = new QLabel;
    codeHint_->setWordWrap(true);
    codeHint_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    Palette::setTextColor(*codeHint_, Palette::secondary());
    auto* code = new QVBoxLayout;
    code->setSpacing(8);
    code->addWidget(codeHeading_);
    code->addWidget(codeKind_);
    code->addWidget(codeHint_);
    return code;
}

QLayout* LabelPrintOptionsView::buildFormatSection() {
    formatHeading_ =
        new SymbolLabel(QStringLiteral("ruler"), Palette::primaryText(), Palette::TextStyle::headline);
    sizeLabel_ = new QLabel;
    sizeLabel_->setMinimumWidth(120);
    size_ = new QComboBox;
    size_->setObjectName(QStringLiteral("labels.size"));
    size_->setMaximumWidth(300);
    sizeLabel_->setBuddy(size_);
    for (const LabelSizePreset preset : allLabelSizePresets) {
        size_->addItem(QString(), rawValue(preset));
    }
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel_);
    sizeRow->addWidget(size_, 1);

    const QLocale& numbers = context_.profile.numberLocale;
    const auto field = [&numbers](const char16_t* name, double value) {
        auto* result = new DecimalField(QStringLiteral("mm"), numbers);
        result->setObjectName(QString::fromUtf16(name));
        result->setValue(value);
        return result;
    };
    widthLabel_ = new QLabel;
    width_ = field(u"labels.width", configuration_.customWidthMM);
    heightLabel_ = new QLabel;
    height_ = field(u"labels.height", configuration_.customHeightMM);
    marginLabel_ = new QLabel;
    margin_ = field(u"labels.pageMargin", configuration_.marginMM);
    horizontalGapLabel_ = new QLabel;
    horizontalGap_ = field(u"labels.horizontalGap", configuration_.horizontalGapMM);
    verticalGapLabel_ = new QLabel;
    verticalGap_ = field(u"labels.verticalGap", configuration_.verticalGapMM);
    border_ = new QCheckBox;
    border_->setObjectName(QStringLiteral("labels.drawBorder"));
    border_->setChecked(configuration_.drawsLabelBorder);

    customSize_ = new QWidget;
    auto* customLayout = new QVBoxLayout(customSize_);
    customLayout->setContentsMargins(0, 0, 0, 0);
    customLayout->setSpacing(8);
    customLayout->addLayout(labelled(widthLabel_, width_));
    customLayout->addLayout(labelled(heightLabel_, height_));

    auto* format = new QVBoxLayout;
    format->setSpacing(8);
    format->addWidget(formatHeading_);
    format->addLayout(sizeRow);
    format->addWidget(customSize_);
    format->addLayout(labelled(marginLabel_, margin_));
    format->addLayout(labelled(horizontalGapLabel_, horizontalGap_));
    format->addLayout(labelled(verticalGapLabel_, verticalGap_));
    format->addWidget(border_);
    return format;
}

QLayout* LabelPrintOptionsView::buildMessages() {
    smallQR_ = new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::orange());
    smallQR_->setObjectName(QStringLiteral("labels.smallQR"));
    denseBarcode_ = new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::orange());
    denseBarcode_->setObjectName(QStringLiteral("labels.denseBarcode"));
    skipped_ = new SymbolLabel(QStringLiteral("info.circle"), Palette::secondary());
    skipped_->setObjectName(QStringLiteral("labels.skipped"));
    error_ = new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red());
    error_->setObjectName(QStringLiteral("labels.error"));
    error_->setTextColor(Palette::red());
    error_->hide();
    success_ = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), Palette::green());
    success_->setObjectName(QStringLiteral("labels.success"));
    success_->hide();
    auto* messages = new QVBoxLayout;
    messages->setSpacing(6);
    for (SymbolLabel* message : {smallQR_, denseBarcode_, skipped_, error_, success_}) {
        messages->addWidget(message);
    }
    return messages;
}

QLayout* LabelPrintOptionsView::buildButtons() {
    cancel_ = new QPushButton;
    cancel_->setObjectName(QStringLiteral("labels.cancel"));
    print_ = new QPushButton;
    print_->setObjectName(QStringLiteral("labels.print"));
    generate_ = new QPushButton;
    generate_->setObjectName(QStringLiteral("labels.generate"));
    generate_->setDefault(true);
    generate_->setIcon(Symbols::icon(u"doc.richtext", Qt::white));
    Palette::setProminent(*generate_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addWidget(print_);
    buttons->addWidget(generate_);
    return buttons;
}

void LabelPrintOptionsView::connectControls() {
    connect(codeKind_, &SegmentedPicker::activated, this, [this](int index) {
        configuration_.codeKind = allLabelCodeKinds.at(size_t(index));
        refreshCounts();
    });
    connect(size_, &QComboBox::activated, this, [this] {
        configuration_.sizePreset = labelSizePresetFromRawValue(size_->currentData().toString())
                                        .value_or(LabelSizePreset::standard381x212);
        refreshCounts();
    });
    const auto bind = [this](DecimalField* field, double LabelPrintConfiguration::*value) {
        connect(field, &DecimalField::valueEdited, this, [this, value](double edited) {
            configuration_.*value = edited;
            refreshCounts();
        });
    };
    bind(width_, &LabelPrintConfiguration::customWidthMM);
    bind(height_, &LabelPrintConfiguration::customHeightMM);
    bind(margin_, &LabelPrintConfiguration::marginMM);
    bind(horizontalGap_, &LabelPrintConfiguration::horizontalGapMM);
    bind(verticalGap_, &LabelPrintConfiguration::verticalGapMM);
    connect(border_, &QCheckBox::toggled, this, [this](bool on) { configuration_.drawsLabelBorder = on; });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(print_, &QPushButton::clicked, this, &LabelPrintOptionsView::print);
    connect(generate_, &QPushButton::clicked, this, &LabelPrintOptionsView::generate);
}

void LabelPrintOptionsView::retranslate() {
    const AppSettings& settings = context_.settings;
    const AppLanguage language = settings.resolvedLanguage();
    setWindowTitle(settings.localized(u"labels.title"));
    title_->setText(settings.localized(u"labels.title"));
    codeHeading_->setText(settings.localized(u"labels.code"));
    codeKind_->setAccessibleName(settings.localized(u"labels.type"));
    codeKind_->setSegment(0, title(LabelCodeKind::barcode, language), QStringLiteral("barcode"));
    codeKind_->setSegment(1, title(LabelCodeKind::qrCode, language), QStringLiteral("qrcode"));
    formatHeading_->setText(settings.localized(u"labels.format"));
    sizeLabel_->setText(settings.localized(u"labels.size"));
    size_->setAccessibleName(sizeLabel_->text());
    for (int i = 0; i < size_->count(); ++i) {
        size_->setItemText(i, title(allLabelSizePresets.at(size_t(i)), language));
    }
    const std::pair<QLabel*, const char16_t*> labels[] = {{widthLabel_, u"labels.width"},
                                                          {heightLabel_, u"labels.height"},
                                                          {marginLabel_, u"labels.pageMargin"},
                                                          {horizontalGapLabel_, u"labels.horizontalGap"},
                                                          {verticalGapLabel_, u"labels.verticalGap"}};
    for (const auto& [label, key] : labels) {
        label->setText(settings.localized(key));
        label->buddy()->setAccessibleName(label->text());
    }
    border_->setText(settings.localized(u"labels.drawBorder"));
    smallQR_->setText(settings.localized(u"labels.smallQR"));
    denseBarcode_->setText(settings.localized(u"labels.denseBarcode"));
    cancel_->setText(settings.localized(u"common.cancel"));
    print_->setText(settings.localized(u"labels.print"));
    generate_->setText(settings.localized(u"labels.generate"));
}

void LabelPrintOptionsView::refreshCounts() {
    const AppSettings& settings = context_.settings;
    const AppLanguage language = settings.resolvedLanguage();
    const LabelPrintableItems printable =
        makePrintableItems(rows_, document_.get(), configuration_.codeKind, language);
    count_->setText(labelsCountMessage(printable.items.size(), rows_.size(), language));
    codeHint_->setText(settings.localized(configuration_.codeKind == LabelCodeKind::barcode
                                              ? u"labels.codeHintBarcode"
                                              : u"labels.codeHintQR"));
    customSize_->setVisible(configuration_.sizePreset == LabelSizePreset::custom);
    smallQR_->setVisible(configuration_.codeKind == LabelCodeKind::qrCode &&
                         configuration_.labelSizeMM().height() < 25);
    denseBarcode_->setVisible(barcodeTooDense(widestCode128_, configuration_));
    skipped_->setText(labelsSkippedRowsMessage(configuration_.codeKind, printable.skippedRows, language));
    skipped_->setVisible(printable.skippedRows > 0);
    adjustSize();
}

void LabelPrintOptionsView::showOutcome(const QString& success, const QString& error) {
    success_->setText(success);
    success_->setVisible(!success.isEmpty());
    error_->setText(error);
    error_->setVisible(!error.isEmpty());
}

void LabelPrintOptionsView::generate() {
    const AppLanguage language = context_.settings.resolvedLanguage();
    try {
        const LabelPDFResult result =
            LabelPDFService().makeLabelPDF(rows_, document_.get(), configuration_, language);
        // Nothing was written when the user cancels the dialog: no line at all, not a success.
        if (context_.fileSaver.save(this, result.pdf, defaultFileName_) ==
            FileSaveService::Outcome::cancelled) {
            showOutcome({}, {});
            return;
        }
        showOutcome(labelsGeneratedMessage(result.labelsDrawn, result.rowsSkipped, language), {});
    } catch (const LocalizedError& failure) {
        showOutcome({}, failure.localizedDescription());
    }
}

void LabelPrintOptionsView::print() {
    const AppLanguage language = context_.settings.resolvedLanguage();
    // What is wrong with the rows or the format shows before any printer is asked for.
    std::optional<LabelSheetPainter> sheet;
    try {
        sheet.emplace(makePrintableItems(rows_, document_.get(), configuration_.codeKind, language),
                      configuration_);
    } catch (const LocalizedError& failure) {
        showOutcome({}, failure.localizedDescription());
        return;
    }
    try {
        const PrintService::Outcome outcome = printService_.print(
            this, [&sheet](QPrinter& printer) { sheet->paint(printer, [&printer] { printer.abort(); }); });
        if (outcome == PrintService::Outcome::cancelled) {
            showOutcome({}, {});
            return;
        }
        showOutcome(labelsPrintedMessage(sheet->labelCount(), sheet->skippedRows(), language), {});
    } catch (const LabelPDFError&) {
        showOutcome({}, context_.settings.localized(u"labels.printFailed"));
    } catch (const PrintError&) {
        showOutcome({}, context_.settings.localized(u"labels.printFailed"));
    }
}

} // namespace tallybrook
