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

    explicit InventoryRowsModel(QList<Column> columns, QObject* parent = nullptr);

    /// Shows `rows` of `document` (one reset).
    void setRows(std::shared_ptr<const InventoryExportDocument> document, InventoryRowList rows);

    const InventoryRowList& rows() const { return rows_; }
    const std::shared_ptr<const InventoryExportDocument>& document() const { return document_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<Column> columns_;
    std::shared_ptr<const InventoryExportDocument> document_;
    std::optional<BarcodeColumnIndex> codes_;
    InventoryRowList rows_;
};

} // namespace tallybrook
