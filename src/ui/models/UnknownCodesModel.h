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

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    QList<InventoryExportUnknownCode> codes_;
};

} // namespace tallybrook
