#include "ui/models/LocalizedTableModel.h"

#include "localization/AppText.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

namespace tallybrook {

LocalizedTableModel::LocalizedTableModel(QList<const char16_t*> headerKeys, QObject* parent)
    : QAbstractTableModel(parent)
    , headerKeys_(std::move(headerKeys)) {}

void LocalizedTableModel::setLanguage(AppLanguage language) {
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    redrawColumn();
}

void LocalizedTableModel::redrawColumn(int column) {
    if (rowCount() > 0) {
        emit dataChanged(index(0, column < 0 ? 0 : column), index(rowCount() - 1, column < 0 ? columnCount() - 1 : column));
    }
}

QVariant LocalizedTableModel::optionalText(const std::optional<QString>& value, int role) {
    if (role == Qt::DisplayRole) {
        return value.value_or(QStringLiteral("-"));
    }
    if (role == Qt::ForegroundRole && !value) {
        return Palette::secondary();
    }
    return {};
}

QVariant LocalizedTableModel::quantityCell(std::optional<qint64> value, int role) {
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return optionalText(value ? std::optional<QString>(DisplayFormat::quantity(value)) : std::nullopt, role);
}

int LocalizedTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headerKeys_.size());
}

QVariant LocalizedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headerKeys_.size()) {
        return {};
    }
    return AppText::localized(headerKeys_.at(section), language_);
}

} // namespace tallybrook
