#pragma once

#include "document/InventoryExportDocument.h"
#include "localization/AppLanguage.h"

#include <QAbstractTableModel>
#include <QLocale>

namespace tallybrook {

/// The unknown codes of the unknown codes page: code, location, quantity, note, last scan and
/// the "to process" badge.
class UnknownCodesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setCodes(QList<InventoryExportUnknownCode> codes);
    void setLanguage(AppLanguage language);
    const QList<InventoryExportUnknownCode>& codes() const { return codes_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<InventoryExportUnknownCode> codes_;
    AppLanguage language_ = AppLanguage::french;
};

} // namespace tallybrook
