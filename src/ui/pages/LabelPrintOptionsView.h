#pragma once

#include "analysis/InventoryAnalysisService.h"
#include "export/LabelPrintConfiguration.h"
#include "ui/shell/AppContext.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tallybrook {

class DecimalField;
class SegmentedPicker;
class SymbolLabel;

/// The label sheet options, opened from the rows page for the rows it shows: code kind, label
/// size (presets or a custom size), page margin and gaps, outline; the count of labels the rows
/// give and the rows skipped; then the PDF, saved where the user chooses. The sheet stays open
/// after a generation so that another format can be tried.
class LabelPrintOptionsView : public QDialog {
    Q_OBJECT

public:
    LabelPrintOptionsView(AppContext& context, std::shared_ptr<const InventoryExportDocument> document,
                          InventoryRowList rows, QString defaultFileName, QWidget* parent = nullptr);

    const LabelPrintConfiguration& configuration() const { return configuration_; }
    /// Makes the PDF and offers it for saving (the Generate button).
    void generate();

    QLabel* countLabel() const { return count_; }
    SegmentedPicker* codeKindPicker() const { return codeKind_; }
    QComboBox* sizePicker() const { return size_; }
    DecimalField* widthField() const { return width_; }
    DecimalField* heightField() const { return height_; }
    DecimalField* marginField() const { return margin_; }
    SymbolLabel* smallQRMessage() const { return smallQR_; }
    SymbolLabel* skippedMessage() const { return skipped_; }
    SymbolLabel* errorMessage() const { return error_; }
    SymbolLabel* successMessage() const { return success_; }

private:
    void retranslate();
    void refreshCounts();

    AppContext& context_;
    std::shared_ptr<const InventoryExportDocument> document_;
    InventoryRowList rows_;
    QString defaultFileName_;
    LabelPrintConfiguration configuration_;

    QLabel* title_;
    QLabel* count_;
    QLabel* codeHeading_;
    SegmentedPicker* codeKind_;
    QLabel* codeHint_;
    SymbolLabel* formatHeading_;
    QLabel* sizeLabel_;
    QComboBox* size_;
    QWidget* customSize_;
    QLabel* widthLabel_;
    DecimalField* width_;
    QLabel* heightLabel_;
    DecimalField* height_;
    QLabel* marginLabel_;
    DecimalField* margin_;
    QLabel* horizontalGapLabel_;
    DecimalField* horizontalGap_;
    QLabel* verticalGapLabel_;
    DecimalField* verticalGap_;
    QCheckBox* border_;
    SymbolLabel* smallQR_;
    SymbolLabel* skipped_;
    SymbolLabel* error_;
    SymbolLabel* success_;
    QPushButton* cancel_;
    QPushButton* generate_;
};

} // namespace tallybrook
