#pragma once

#include "ui/models/LocalizedTableModel.h"

#include <QPointer>

namespace tallybrook {

class TallybrookControlStore;
class WooCorrectionsViewModel;

/// The corrections page's table: the store's previews that pass the page's filter and search,
/// held as positions in the store's list. The selection switch and the proposed quantity of
/// manually correctable rows are edited here, through the view model (which saves the
/// progress); an edit redraws its rows only, wherever a sort by column put them.
class CorrectionsModel : public LocalizedTableModel {
    Q_OBJECT

public:
    enum Column { selection, status, item, reference, currentWoo, counted, proposed, message };

    CorrectionsModel(TallybrookControlStore& store, WooCorrectionsViewModel& viewModel, QObject* parent = nullptr);

    /// Filters the store's previews again (one reset).
    void refilter();
    /// The store's position of a table row.
    qsizetype storeIndex(int row) const;

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    void rowsEdited(const QList<qsizetype>& storeRows);

    QPointer<TallybrookControlStore> store_;
    QPointer<WooCorrectionsViewModel> viewModel_;
    QList<qsizetype> indices_;
    /// The table row of each store position; -1 where the filter hides it.
    QList<int> rowOfStoreIndex_;
};

} // namespace tallybrook
