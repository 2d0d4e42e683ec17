#include "ui/models/TemporaryItemsModel.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/Palette.h"
#include "ui/shell/Symbols.h"

namespace tallybrook {

TemporaryItemsModel::TemporaryItemsModel(TallybrookControlStore& store, bool legacy, QObject* parent)
    : LocalizedTableModel({u"temporary.provisionalName", u"temporary.scannedCode", u"common.quantity",
                           u"common.location", u"common.note", u"common.status", u"common.session",
                           u"temporary.warning"},
                          parent)
    , store_(&store)
    , legacy_(legacy) {}

void TemporaryItemsModel::setItems(QList<InventoryExportTemporaryItem> items, QStringList locations) {
    beginResetModel();
    items_ = std::move(items);
    locations_ = std::move(locations);
    endResetModel();
}

void TemporaryItemsModel::assignmentsChanged() {
    redrawColumn(location);
}

int TemporaryItemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(items_.size());
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
    if (index.isValid() && index.column() == location && !items_.at(index.row()).location) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant TemporaryItemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= items_.size()) {
        return {};
    }
    const InventoryExportTemporaryItem& item = items_.at(index.row());
    const auto text = [role](const std::optional<QString>& value) { return optionalText(value, role); };
    switch (index.column()) {
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
                           items_.at(index.row()));
    emit dataChanged(index, index);
    return true;
}

} // namespace tallybrook
