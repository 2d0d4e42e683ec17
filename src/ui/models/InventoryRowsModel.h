#pragma once

#include "analysis/InventoryAnalysisService.h"
#include "ui/models/LocalizedTableModel.h"

#include <memory>
#include <optional>

namespace tallybrook {

/// The rows of a document as a table: the rows page (status, item, barcode, category and
/// location, reference, counted, difference, last scan) and the differences page (a subset of
/// those columns). Holds the document and the addresses of the rows shown, never copies;
/// cells are worded in the page's language.
class InventoryRowsModel : public LocalizedTableModel {
    Q_OBJECT

public:
    enum class Column { status, item, barcode, categoryLocation, reference, counted, delta, lastScan };

    explicit InventoryRowsModel(const QList<Column>& columns, QObject* parent = nullptr);

    /// Shows `rows` of `document` (one reset).
    void setRows(std::shared_ptr<const InventoryExportDocument> document, InventoryRowList rows);

    /// The rows in the design's order.
    const InventoryRowList& rows() const { return rows_; }
    /// The rows in the order the table shows them.
    InventoryRowList shownRows() const;
    const std::shared_ptr<const InventoryExportDocument>& document() const { return document_; }

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    std::shared_ptr<const InventoryExportDocument> document_;
    std::optional<BarcodeColumnIndex> codes_;
    InventoryRowList rows_;
};

} // namespace tallybrook
