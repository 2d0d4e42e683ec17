#pragma once

#include "ui/pages/PageView.h"

class QLabel;
class QPushButton;

namespace tallybrook {

class ControlPageHeader;
class SymbolLabel;

/// What the CSV page exports.
enum class CSVExportKind { differences, corrections };

/// The CSV page, for the differences of the sidebar's location or for all prepared corrections:
/// names the file and exports it in the French spreadsheet dialect. Export is possible only
/// when there is something to export.
class CSVExportView : public PageView {
    Q_OBJECT

public:
    explicit CSVExportView(AppContext& context, QWidget* parent = nullptr);

    void setKind(CSVExportKind kind);
    CSVExportKind kind() const { return kind_; }
    void retranslate() override;
    QString navigationTitle() const override;

    QPushButton* exportButton() const { return export_; }
    SymbolLabel* errorLine() const { return error_; }
    ControlPageHeader* header() const { return header_; }
    /// Writes the file (the export button).
    void exportCSV();

    /// The file name offered for a kind.
    static QString defaultFileName(CSVExportKind kind);

protected:
    void refresh() override;

private:
    CSVExportKind kind_ = CSVExportKind::differences;
    ControlPageHeader* header_;
    SymbolLabel* error_;
    SymbolLabel* fileName_;
    QPushButton* export_;
};

} // namespace tallybrook
