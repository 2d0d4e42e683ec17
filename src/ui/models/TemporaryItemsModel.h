#pragma once

#include "document/InventoryExportDocument.h"
#include "ui/models/LocalizedTableModel.h"

#include <QPointer>
#include <QStringList>

namespace tallybrook {

class TallybrookControlStore;

/// The temporary items of one panel of the temporary items page: name, scanned code, quantity,
/// location (a menu writing the store's assignment), note, status, session and, for items
/// without session, the missing-session warning.
class TemporaryItemsModel : public LocalizedTableModel {
    Q_OBJECT

public:
    enum Column { provisionalName, scannedCode, quantity, location, note, status, session, warning };

    TemporaryItemsModel(TallybrookControlStore& store, bool legacy, QObject* parent = nullptr);

    /// The items shown and the locations offered in their menus.
    void setItems(QList<InventoryExportTemporaryItem> items, QStringList locations);
    const QList<InventoryExportTemporaryItem>& items() const { return items_; }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// A location chosen in the menu (none: unassigned) is assigned through the store.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    /// Redraws the location cells (the store's assignments changed).
    void assignmentsChanged();

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    QPointer<TallybrookControlStore> store_;
    bool legacy_;
    QList<InventoryExportTemporaryItem> items_;
    QStringList locations_;
};

} // namespace tallybrook
