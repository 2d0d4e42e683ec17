#include "ui/models/TemporaryItemsModel.h"

#include "app/TallybrookControlStore.h"
#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/Palette.h"
#include "ui/shell/Symbols.h"

namespace tallybrook {

namespace {

const char16_t* const headerKeys[] = {u"temporary.provisionalName", u"temporary.scannedCode", u"common.quantity",
                                      u"common.location",           u"common.note",           u"common.status",
                                      u"common.session",            u"temporary.warning"};

} // namespace

TemporaryItemsModel::TemporaryItemsModel(TallybrookControlStore& store, bool legacy, QObject* parent)
    : QAbstractTableModel(parent)
    , store_(&store)
    , legacy_(legacy) {}

void TemporaryItemsModel::setItems(QList<InventoryExportTemporaryItem> items, QStringList locations) {
    beginResetModel();
    items_ = std::move(items);
    locations_ = std::move(locations);
    endResetModel();
}

void TemporaryItemsModel::setLanguage(AppLanguage language) {
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
    if (!items_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount_ - 1));
    }
}

void TemporaryItemsModel::assignmentsChanged() {
    if (!items_.isEmpty()) {
        emit dataChanged(index(0, location), index(rowCount() - 1, location));
    }
}

int TemporaryItemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(items_.size());
}

int TemporaryItemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

QVariant TemporaryItemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount_) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return AppText::localized(headerKeys[section], language_);
    }
    if (role == Qt::DecorationRole && section == scannedCode) {
        return Symbols::icon(u"tag", Palette::secondary());
    }
    return {};
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
    const auto text = [role](const std::optional<QString>& value) -> QVariant {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            return value.value_or(QStringLiteral("-"));
        }
        if (role == Qt::ForegroundRole && !value) {
            return Palette::secondary();
        }
        return {};
    };
    switch (index.column()) {
    case provisionalName:
        return text(item.provisionalName);
    case scannedCode:
        return text(item.scannedCode);
    case quantity:
        if (role == Qt::TextAlignmentRole) {
            return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return role == Qt::DisplayRole ? QVariant(QString::number(item.quantity)) : QVariant();
    case location: {
        const std::optional<QString> effective = store_ ? store_->effectiveLocation(item) : std::nullopt;
        if (item.location) {
            return text(effective);
        }
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return effective.value_or(AppText::localized(u"common.unassigned", language_));
        case TableRole::menu:
            return true;
        case TableRole::choices:
            return QStringList{AppText::localized(u"common.unassigned", language_)} + locations_;
        }
        return {};
    }
    case note:
        return text(item.note);
    case status:
        return role == Qt::DisplayRole ? QVariant(item.displayStatus(language_)) : QVariant();
    case session:
        return text(item.sessionId && !item.sessionId->isEmpty() ? item.sessionId : std::nullopt);
    case warning:
        if (!legacy_) {
            return {};
        }
        switch (role) {
        case Qt::DisplayRole:
            return AppText::localized(u"temporary.missingSession", language_);
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
