#include "ui/models/TemporaryItemsModel.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppText.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"
#include "ui/style/TableRole.h"

namespace tallybrook {

TemporaryItemsModel::TemporaryItemsModel(TallybrookControlStore& store, bool legacy, QObject* parent)
    : LocalizedTableModel({{provisionalName, u"temporary.provisionalName", ColumnWidth::fit, 150, true},
                           {scannedCode, u"temporary.scannedCode", ColumnWidth::fit, 120},
                           {quantity, u"common.quantity", ColumnWidth::fit, 0, true},
                           {location, u"common.location", ColumnWidth::fit, 110},
                           {note, u"common.note", ColumnWidth::stretch, 120},
                           {status, u"common.status", ColumnWidth::fit, 0, true},
                           {session, u"common.session", ColumnWidth::fixed, 110},
                           {warning, u"temporary.warning", ColumnWidth::fit, 0}},
                          parent)
    , store_(&store)
    , legacy_(legacy) {}

void TemporaryItemsModel::setItems(QList<InventoryExportTemporaryItem> items, QStringList locations) {
    beginResetModel();
    items_ = std::move(items);
    locations_ = std::move(locations);
    reorder();
    endResetModel();
}

void TemporaryItemsModel::assignmentsChanged() {
    redrawColumn(location);
}

int TemporaryItemsModel::sourceRowCount() const {
    return int(items_.size());
}

bool TemporaryItemsModel::lessThan(int a, int b, int column) const {
    const InventoryExportTemporaryItem& first = items_.at(a);
    const InventoryExportTemporaryItem& second = items_.at(b);
    switch (column) {
    case provisionalName:
        return lessText(first.provisionalName, second.provisionalName);
    case quantity:
        return first.quantity < second.quantity;
    case status:
        return lessText(first.displayStatus(language()), second.displayStatus(language()));
    }
    return false;
}

QVariant TemporaryItemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DecorationRole && section == scannedCode) {
        return Symbols::icon(u"tag", Palette::secondary());
    }
    return LocalizedTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TemporaryItemsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // A location given by the file always wins over one chosen here: only the others take a choice.
    if (index.isValid() && index.column() == location && !items_.at(sourceRow(index.row())).location) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant TemporaryItemsModel::cellData(int sourceRow, int column, int role) const {
    const InventoryExportTemporaryItem& item = items_.at(sourceRow);
    const auto text = [role](const std::optional<QString>& value) { return optionalText(value, role); };
    switch (column) {
    case provisionalName:
        return text(item.provisionalName);
    case scannedCode:
        return text(item.scannedCode);
    case quantity:
        return LocalizedTableModel::quantityCell(item.quantity, role);
    case location: {
        const std::optional<QString> effective = store_ ? store_->effectiveLocation(item) : std::nullopt;
        if (item.location) {
            return text(effective);
        }
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return effective.value_or(AppText::localized(u"common.unassigned", language()));
        case TableRole::menu:
            return true;
        case TableRole::choices:
            return QStringList{AppText::localized(u"common.unassigned", language())} + locations_;
        }
        return {};
    }
    case note:
        return text(item.note);
    case status:
        return role == Qt::DisplayRole ? QVariant(item.displayStatus(language())) : QVariant();
    case session:
        return text(item.sessionId && !item.sessionId->isEmpty() ? item.sessionId : std::nullopt);
    case warning:
        if (!legacy_) {
            return {};
        }
        switch (role) {
        case Qt::DisplayRole:
            return AppText::localized(u"temporary.missingSession", language());
        case TableRole::badgeTint:
            return Palette::orange();
        case TableRole::symbol:
            return QStringLiteral("exclamationmark.triangle.fill");
        }
        return {};
    }
    return {};
}

bool TemporaryItemsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != location || role != Qt::EditRole || !store_ ||
        !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    store_->assignLocation(value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt,
                           items_.at(sourceRow(index.row())));
    emit dataChanged(index, index);
    return true;
}

} // namespace tallybrook
