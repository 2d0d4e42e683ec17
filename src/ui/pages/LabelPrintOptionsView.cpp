#include "ui/pages/LabelPrintOptionsView.h"

#include "export/LabelPDFService.h"
#include "export/LabelPrintableItem.h"
#include "localization/AppSettings.h"
#include "localization/LocalizedError.h"
#include "ui/components/DecimalField.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/shell/Symbols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

LabelPrintOptionsView::LabelPrintOptionsView(AppContext& context, std::shared_ptr<const InventoryExportDocument> document,
                                             InventoryRowList rows, QString defaultFileName, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , document_(std::move(document))
    , rows_(std::move(rows))
    , defaultFileName_(std::move(defaultFileName))
    , title_(new QLabel)
    , count_(new QLabel)
    , codeHeading_(new QLabel)
    , codeKind_(new SegmentedPicker(int(allLabelCodeKinds.size())))
    , codeHint_(new QLabel)
    , formatHeading_(new SymbolLabel(QStringLiteral("ruler"), Palette::primaryText(), Palette::TextStyle::headline))
    , sizeLabel_(new QLabel)
    , size_(new QComboBox)
    , customSize_(new QWidget)
    , widthLabel_(new QLabel)
    , width_(new DecimalField(QStringLiteral("mm"), context.profile.numberLocale))
    , heightLabel_(new QLabel)
    , height_(new DecimalField(QStringLiteral("mm"), context.profile.numberLocale))
    , marginLabel_(new QLabel)
    , margin_(new DecimalField(QStringLiteral("mm"), context.profile.numberLocale))
    , horizontalGapLabel_(new QLabel)
    , horizontalGap_(new DecimalField(QStringLiteral("mm"), context.profile.numberLocale))
    , verticalGapLabel_(new QLabel)
    , verticalGap_(new DecimalField(QStringLiteral("mm"), context.profile.numberLocale))
    , border_(new QCheckBox)
    , smallQR_(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::orange()))
    , skipped_(new SymbolLabel(QStringLiteral("info.circle"), Palette::secondary()))
    , error_(new SymbolLabel(QStringLiteral("xmark.octagon.fill"), Palette::red()))
    , success_(new SymbolLabel(QStringLiteral("checkmark.circle.fill"), Palette::green()))
    , cancel_(new QPushButton)
    , generate_(new QPushButton) {
    setObjectName(QStringLiteral("labels"));
    setModal(true);
    setFixedWidth(560);
    title_->setFont(Palette::font(Palette::TextStyle::title, font()));
    count_->setObjectName(QStringLiteral("labels.count"));
    Palette::setTextColor(*count_, Palette::secondary());
    codeHeading_->setFont(Palette::font(Palette::TextStyle::headline, font()));
    codeKind_->setObjectName(QStringLiteral("labels.type"));
    codeHint_->setWordWrap(true);
    codeHint_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    Palette::setTextColor(*codeHint_, Palette::secondary());
    size_->setObjectName(QStringLiteral("labels.size"));
    size_->setMaximumWidth(300);
    sizeLabel_->setBuddy(size_);
    for (const LabelSizePreset preset : allLabelSizePresets) {
        size_->addItem(QString(), rawValue(preset));
    }
    width_->setObjectName(QStringLiteral("labels.width"));
    height_->setObjectName(QStringLiteral("labels.height"));
    margin_->setObjectName(QStringLiteral("labels.pageMargin"));
    horizontalGap_->setObjectName(QStringLiteral("labels.horizontalGap"));
    verticalGap_->setObjectName(QStringLiteral("labels.verticalGap"));
    border_->setObjectName(QStringLiteral("labels.drawBorder"));
    smallQR_->setObjectName(QStringLiteral("labels.smallQR"));
    skipped_->setObjectName(QStringLiteral("labels.skipped"));
    error_->setObjectName(QStringLiteral("labels.error"));
    error_->setTextColor(Palette::red());
    success_->setObjectName(QStringLiteral("labels.success"));
    cancel_->setObjectName(QStringLiteral("labels.cancel"));
    generate_->setObjectName(QStringLiteral("labels.generate"));
    generate_->setDefault(true);
    generate_->setIcon(Symbols::icon(u"doc.richtext", Qt::white));
    QPalette prominent = generate_->palette();
    prominent.setColor(QPalette::Button, Palette::blue());
    prominent.setColor(QPalette::ButtonText, Qt::white);
    generate_->setPalette(prominent);

    width_->setValue(configuration_.customWidthMM);
    height_->setValue(configuration_.customHeightMM);
    margin_->setValue(configuration_.marginMM);
    horizontalGap_->setValue(configuration_.horizontalGapMM);
    verticalGap_->setValue(configuration_.verticalGapMM);
    border_->setChecked(configuration_.drawsLabelBorder);
    codeKind_->setCurrentIndex(int(configuration_.codeKind));

    auto* customLayout = new QVBoxLayout(customSize_);
    customLayout->setContentsMargins(0, 0, 0, 0);
    customLayout->setSpacing(8);
    customLayout->addLayout(labelled(widthLabel_, width_));
    customLayout->addLayout(labelled(heightLabel_, height_));

    auto* sizeRow = new QHBoxLayout;
    sizeLabel_->setMinimumWidth(120);
    sizeRow->addWidget(sizeLabel_);
    sizeRow->addWidget(size_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addWidget(generate_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 22, 22, 22);
    layout->setSpacing(18);
    auto* head = new QVBoxLayout;
    head->setSpacing(4);
    head->addWidget(title_);
    head->addWidget(count_);
    layout->addLayout(head);
    auto* code = new QVBoxLayout;
    code->setSpacing(8);
    code->addWidget(codeHeading_);
    code->addWidget(codeKind_);
    code->addWidget(codeHint_);
    layout->addLayout(code);
    auto* format = new QVBoxLayout;
    format->setSpacing(8);
    format->addWidget(formatHeading_);
    format->addLayout(sizeRow);
    format->addWidget(customSize_);
    format->addLayout(labelled(marginLabel_, margin_));
    format->addLayout(labelled(horizontalGapLabel_, horizontalGap_));
    format->addLayout(labelled(verticalGapLabel_, verticalGap_));
    format->addWidget(border_);
    layout->addLayout(format);
    auto* messages = new QVBoxLayout;
    messages->setSpacing(6);
    for (SymbolLabel* message : {smallQR_, skipped_, error_, success_}) {
        messages->addWidget(message);
    }
    layout->addLayout(messages);
    layout->addLayout(buttons);

    connect(codeKind_, &SegmentedPicker::activated, this, [this](int index) {
        configuration_.codeKind = allLabelCodeKinds.at(size_t(index));
        refreshCounts();
    });
    connect(size_, &QComboBox::activated, this, [this] {
        configuration_.sizePreset =
            labelSizePresetFromRawValue(size_->currentData().toString()).value_or(LabelSizePreset::standard381x212);
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
    connect(generate_, &QPushButton::clicked, this, &LabelPrintOptionsView::generate);

    error_->hide();
    success_->hide();
    retranslate();
    refreshCounts();
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
    const std::pair<QLabel*, const char16_t*> labels[] = {
        {widthLabel_, u"labels.width"},          {heightLabel_, u"labels.height"},
        {marginLabel_, u"labels.pageMargin"},    {horizontalGapLabel_, u"labels.horizontalGap"},
        {verticalGapLabel_, u"labels.verticalGap"}};
    for (const auto& [label, key] : labels) {
        label->setText(settings.localized(key));
        label->buddy()->setAccessibleName(label->text());
    }
    border_->setText(settings.localized(u"labels.drawBorder"));
    smallQR_->setText(settings.localized(u"labels.smallQR"));
    cancel_->setText(settings.localized(u"common.cancel"));
    generate_->setText(settings.localized(u"labels.generate"));
}

void LabelPrintOptionsView::refreshCounts() {
    const AppSettings& settings = context_.settings;
    const AppLanguage language = settings.resolvedLanguage();
    const LabelPrintableItems printable =
        makePrintableItems(rows_, document_.get(), configuration_.codeKind, language);
    count_->setText(labelsCountMessage(printable.items.size(), rows_.size(), language));
    codeHint_->setText(settings.localized(configuration_.codeKind == LabelCodeKind::barcode ? u"labels.codeHintBarcode"
                                                                                             : u"labels.codeHintQR"));
    customSize_->setVisible(configuration_.sizePreset == LabelSizePreset::custom);
    smallQR_->setVisible(configuration_.codeKind == LabelCodeKind::qrCode &&
                         configuration_.labelSizeMM().height() < 25);
    skipped_->setText(labelsSkippedRowsMessage(configuration_.codeKind, printable.skippedRows, language));
    skipped_->setVisible(printable.skippedRows > 0);
    adjustSize();
}

void LabelPrintOptionsView::generate() {
    const AppLanguage language = context_.settings.resolvedLanguage();
    try {
        const LabelPDFResult result = LabelPDFService().makeLabelPDF(rows_, document_.get(), configuration_, language);
        context_.fileSaver.save(this, result.pdf, defaultFileName_);
        success_->setText(labelsGeneratedMessage(result.labelsDrawn, result.rowsSkipped, language));
        success_->show();
        error_->hide();
    } catch (const LocalizedError& failure) {
        error_->setText(failure.localizedDescription());
        error_->show();
        success_->hide();
    }
}

} // namespace tallybrook
