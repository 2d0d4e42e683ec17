#pragma once

#include "ui/models/LocalizedTableModel.h"

#include <QPointer>

namespace tallybrook {

class TallybrookControlStore;
class WooCorrectionsViewModel;

/// The corrections page's table: the store's previews that pass the page's filter and search,
/// held as positions in the store's list. The selection switch and the proposed quantity of
/// manually correctable rows are edited here, through the view model (which saves the
/// progress); an edit redraws its rows only.
class CorrectionsModel : public LocalizedTableModel {
    Q_OBJECT

public:
    enum Column { selection, status, item, reference, currentWoo, counted, proposed, message };

    CorrectionsModel(TallybrookControlStore& store, WooCorrectionsViewModel& viewModel, QObject* parent = nullptr);

    /// Filters the store's previews again (one reset).
    void refilter();
    /// The store's position of a table row.
    qsizetype storeIndex(int row) const { return indices_.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void rowsEdited(const QList<qsizetype>& storeRows);

    QPointer<TallybrookControlStore> store_;
    QPointer<WooCorrectionsViewModel> viewModel_;
    QList<qsizetype> indices_;
};

} // namespace tallybrook
