#include "ui/models/LocalizedTableModel.h"

#include "localization/AppText.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Palette.h"
#include "ui/style/TableRole.h"

#include <algorithm>
#include <numeric>

namespace tallybrook {

LocalizedTableModel::LocalizedTableModel(QList<TableColumn> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , columns_(std::move(columns)) {}

void LocalizedTableModel::setLanguage(AppLanguage language) {
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    redrawColumn();
}

int LocalizedTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : sourceRowCount();
}

int LocalizedTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant LocalizedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columns_.size()) {
        return {};
    }
    return AppText::localized(columns_.at(section).headerKey, language_);
}

QVariant LocalizedTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const int row = sourceRow(index.row());
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
        if (QVariant own = cellData(row, index.column(), role); own.isValid()) {
            return own;
        }
        if (role == Qt::AccessibleTextRole) {
            return spokenText(row, index.column());
        }
        // The whole text; the view shows it only where the cell had to cut it.
        const QStringList lines = textLines(row, index.column());
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(u'\n'));
    }
    return cellData(row, index.column(), role);
}

QString LocalizedTableModel::spokenText(int row, int column) const {
    const QVariant check = cellData(row, column, Qt::CheckStateRole);
    if (check.isValid()) {
        // A switch says what it switches and where it stands, also where it cannot be changed.
        return AppText::localized(columns_.at(column).headerKey, language_) + QStringLiteral(": ") +
               AppText::localized(check.toInt() == Qt::Checked ? u"table.switchOn" : u"table.switchOff",
                                  language_);
    }
    return textLines(row, column).join(QStringLiteral(", "));
}

QStringList LocalizedTableModel::textLines(int row, int column) const {
    if (cellData(row, column, Qt::CheckStateRole).isValid()) {
        return {};
    }
    QStringList lines = cellData(row, column, Qt::DisplayRole).toString().split(u'\n', Qt::SkipEmptyParts);
    if (const QString secondary = cellData(row, column, TableRole::secondaryText).toString();
        !secondary.isEmpty()) {
        lines.append(secondary);
    }
    return lines;
}

bool LocalizedTableModel::lessThan(int, int, int) const {
    return false;
}

bool LocalizedTableModel::lessText(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

void LocalizedTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columns_.size() || !columns_.at(column).sorts) {
        return;
    }
    // Selection and current cell follow their rows to the new places.
    const QModelIndexList before = persistentIndexList();
    QList<int> sources;
    sources.reserve(before.size());
    for (const QModelIndex& index : before) {
        sources.append(sourceRow(index.row()));
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = column;
    sortOrder_ = order;
    reorder();
    if (!before.isEmpty()) {
        QList<int> rowOf(sourceRowCount());
        for (int row = 0; row < rowOf.size(); ++row) {
            rowOf[sourceRow(row)] = row;
        }
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i) {
            after.append(index(rowOf.at(sources.at(i)), before.at(i).column()));
        }
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LocalizedTableModel::reorder() {
    order_.clear();
    if (!sortColumn_) {
        return;
    }
    order_.resize(sourceRowCount());
    std::iota(order_.begin(), order_.end(), 0);
    const int column = *sortColumn_;
    // Stable: rows that compare equal keep the design's order, in both directions.
    if (sortOrder_ == Qt::AscendingOrder) {
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return lessThan(a, b, column); });
    } else {
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return lessThan(b, a, column); });
    }
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

} // namespace tallybrook
