#pragma once

#include "corrections/CorrectionRecords.h"
#include "localization/AppLanguage.h"

#include <QAbstractTableModel>

namespace tallybrook {

/// The lines of the last send, in order: success, item, product and variation ids, quantity,
/// store stock after the update, message, date.
class UpdateResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setLines(QList<WooUpdateResultLine> lines);
    void setLanguage(AppLanguage language);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<WooUpdateResultLine> lines_;
    AppLanguage language_ = AppLanguage::french;
};

/// The problems of the last stock reload, one per product or variation: item, product and
/// variation ids, message.
class ReloadIssuesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    ReloadIssuesModel(QList<RemoteStockReloadIssue> issues, AppLanguage language, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<RemoteStockReloadIssue> issues_;
    AppLanguage language_;
};

} // namespace tallybrook
