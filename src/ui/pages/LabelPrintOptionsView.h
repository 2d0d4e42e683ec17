#pragma once

#include "analysis/InventoryAnalysisService.h"
#include "export/LabelPrintConfiguration.h"
#include "ui/pages/AppContext.h"
#include "ui/services/PrintService.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;

namespace tallybrook {

class DecimalField;
class SegmentedPicker;
class SymbolLabel;

/// The label sheet options, opened from the rows page for the rows it shows: code kind, label
/// size (presets or a custom size), page margin and gaps, outline; the count of labels the rows
/// give, the rows skipped and warnings on codes too small to read; then the PDF, saved where the
/// user chooses, or the same sheets sent to a printer. The sheet stays open after a generation
/// so that another format can be tried.
class LabelPrintOptionsView : public QDialog {
    Q_OBJECT

public:
    LabelPrintOptionsView(AppContext& context, std::shared_ptr<const InventoryExportDocument> document,
                          InventoryRowList rows, QString defaultFileName, QWidget* parent = nullptr,
                          PrintService printService = PrintService());

    const LabelPrintConfiguration& configuration() const { return configuration_; }
    /// Makes the PDF and offers it for saving (the Generate button).
    void generate();
    /// Prints the same sheets through the print dialog (the Print button).
    void print();

    QLabel* countLabel() const { return count_; }
    SegmentedPicker* codeKindPicker() const { return codeKind_; }
    QComboBox* sizePicker() const { return size_; }
    DecimalField* widthField() const { return width_; }
    DecimalField* heightField() const { return height_; }
    DecimalField* marginField() const { return margin_; }
    SymbolLabel* smallQRMessage() const { return smallQR_; }
    SymbolLabel* denseBarcodeMessage() const { return denseBarcode_; }
    SymbolLabel* skippedMessage() const { return skipped_; }
    SymbolLabel* errorMessage() const { return error_; }
    SymbolLabel* successMessage() const { return success_; }

private:
    QLayout* buildHeader();
    QLayout* buildCodeSection();
    QLayout* buildFormatSection();
    QLayout* buildMessages();
    QLayout* buildButtons();
    void connectControls();
    void retranslate();
    void refreshCounts();
    /// Shows one outcome line (or none) in place of the previous one.
    void showOutcome(const QString& success, const QString& error);

    AppContext& context_;
    std::shared_ptr<const InventoryExportDocument> document_;
    InventoryRowList rows_;
    QString defaultFileName_;
    PrintService printService_;
    LabelPrintConfiguration configuration_;
    /// The widest Code 128 the rows give; the labels' size decides whether it is too dense.
    int widestCode128_ = 0;

    QLabel* title_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* codeHeading_ = nullptr;
    SegmentedPicker* codeKind_ = nullptr;
    QLabel* codeHint_ = nullptr;
    SymbolLabel* formatHeading_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QComboBox* size_ = nullptr;
    QWidget* customSize_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    DecimalField* width_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    DecimalField* height_ = nullptr;
    QLabel* marginLabel_ = nullptr;
    DecimalField* margin_ = nullptr;
    QLabel* horizontalGapLabel_ = nullptr;
    DecimalField* horizontalGap_ = nullptr;
    QLabel* verticalGapLabel_ = nullptr;
    DecimalField* verticalGap_ = nullptr;
    QCheckBox* border_ = nullptr;
    SymbolLabel* smallQR_ = nullptr;
    SymbolLabel* denseBarcode_ = nullptr;
    SymbolLabel* skipped_ = nullptr;
    SymbolLabel* error_ = nullptr;
    SymbolLabel* success_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* generate_ = nullptr;
};

} // namespace tallybrook
