#pragma once

#include "document/InventoryExportDocument.h"
#include "ui/models/LocalizedTableModel.h"

namespace tallybrook {

/// The unknown codes of the unknown codes page: code, location, quantity, note, last scan and
/// the "to process" badge.
class UnknownCodesModel : public LocalizedTableModel {
    Q_OBJECT

public:
    explicit UnknownCodesModel(QObject* parent = nullptr);

    void setCodes(QList<InventoryExportUnknownCode> codes);
    const QList<InventoryExportUnknownCode>& codes() const { return codes_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<InventoryExportUnknownCode> codes_;
};

} // namespace tallybrook
