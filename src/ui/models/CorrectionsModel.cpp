#include "ui/models/CorrectionsModel.h"

#include "app/TallybrookControlStore.h"
#include "app/WooCorrectionsViewModel.h"
#include "localization/AppText.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/StatusPresentation.h"
#include "ui/style/TableRole.h"

#include <algorithm>

namespace tallybrook {

CorrectionsModel::CorrectionsModel(TallybrookControlStore& store, WooCorrectionsViewModel& viewModel,
                                   QObject* parent)
    : LocalizedTableModel({{selection, u"corrections.selection", ColumnWidth::fit, 60},
                           {status, u"common.status", ColumnWidth::fit, 0, true},
                           {item, u"common.item", ColumnWidth::fit, 160, true},
                           {reference, u"rows.reference", ColumnWidth::fit, 0, true},
                           {currentWoo, u"corrections.currentWoo", ColumnWidth::fit, 0, true},
                           {counted, u"rows.counted", ColumnWidth::fit, 0, true},
                           {proposed, u"corrections.proposed", ColumnWidth::fit, 80, true},
                           {message, u"common.message", ColumnWidth::stretch, 160}},
                          parent)
    , store_(&store)
    , viewModel_(&viewModel) {
    connect(&store, &TallybrookControlStore::correctionsEdited, this, &CorrectionsModel::rowsEdited);
}

void CorrectionsModel::refilter() {
    beginResetModel();
    indices_ = viewModel_ ? viewModel_->filteredIndices() : QList<qsizetype>();
    reorder();
    rowOfStoreIndex_.clear();
    if (store_) {
        rowOfStoreIndex_.fill(-1, store_->corrections().size());
        for (int row = 0; row < indices_.size(); ++row) {
            rowOfStoreIndex_[indices_.at(sourceRow(row))] = row;
        }
    }
    endResetModel();
}

void CorrectionsModel::sort(int column, Qt::SortOrder order) {
    LocalizedTableModel::sort(column, order);
    for (int row = 0; row < indices_.size(); ++row) {
        if (const qsizetype at = indices_.at(sourceRow(row)); at < rowOfStoreIndex_.size()) {
            rowOfStoreIndex_[at] = row;
        }
    }
}

qsizetype CorrectionsModel::storeIndex(int row) const {
    return indices_.at(sourceRow(row));
}

int CorrectionsModel::sourceRowCount() const {
    return int(indices_.size());
}

bool CorrectionsModel::lessThan(int a, int b, int column) const {
    const WooCorrectionPreview& first = store_->corrections().at(indices_.at(a));
    const WooCorrectionPreview& second = store_->corrections().at(indices_.at(b));
    switch (column) {
    case status:
        return first.status < second.status;
    case item:
        if (first.itemName.compare(second.itemName, Qt::CaseInsensitive) != 0) {
            return lessText(first.itemName, second.itemName);
        }
        return lessText(first.variantName.value_or(QString()), second.variantName.value_or(QString()));
    case reference:
        return lessOptional(first.referenceQuantityAtInventory, second.referenceQuantityAtInventory);
    case currentWoo:
        return lessOptional(first.currentRemoteQuantity, second.currentRemoteQuantity);
    case counted:
        return lessOptional(first.countedQuantity, second.countedQuantity);
    case proposed:
        return lessOptional(first.proposedQuantity, second.proposedQuantity);
    }
    return false;
}

void CorrectionsModel::rowsEdited(const QList<qsizetype>& storeRows) {
    // Redraw the span of table rows the edited store rows cover, wherever the sort put them.
    int first = -1;
    int last = -1;
    for (const qsizetype storeRow : storeRows) {
        const int row =
            storeRow >= 0 && storeRow < rowOfStoreIndex_.size() ? rowOfStoreIndex_.at(storeRow) : -1;
        if (row >= 0) {
            first = first < 0 ? row : qMin(first, row);
            last = qMax(last, row);
        }
    }
    if (first >= 0) {
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
}

Qt::ItemFlags CorrectionsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || !store_ || index.row() >= indices_.size()) {
        return flags;
    }
    const bool correctable = isManuallyCorrectable(store_->corrections().at(storeIndex(index.row())).status);
    if (correctable && index.column() == selection) {
        flags |= Qt::ItemIsUserCheckable;
    }
    if (correctable && index.column() == proposed) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant CorrectionsModel::cellData(int sourceRow, int column, int role) const {
    if (!store_) {
        return {};
    }
    const WooCorrectionPreview& preview = store_->corrections().at(indices_.at(sourceRow));
    const auto quantity = [role](std::optional<qint64> value) {
        return LocalizedTableModel::quantityCell(value, role);
    };
    switch (column) {
    case selection:
        if (role == Qt::CheckStateRole) {
            return preview.isSelected ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case status: {
        const StatusPresentation look = presentation(preview.status);
        switch (role) {
        case Qt::DisplayRole:
            return displayName(preview.status, language());
        case TableRole::badgeTint:
            return Palette::color(look.tint);
        case TableRole::symbol:
            return look.symbol;
        }
        return {};
    }
    case item:
        if (role == Qt::DisplayRole) {
            return preview.itemName;
        }
        if (role == TableRole::secondaryText) {
            return preview.variantName.value_or(QString());
        }
        return {};
    case reference:
        return quantity(preview.referenceQuantityAtInventory);
    case currentWoo:
        return quantity(preview.currentRemoteQuantity);
    case counted:
        return quantity(preview.countedQuantity);
    case proposed:
        if (isManuallyCorrectable(preview.status)) {
            switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return preview.proposedQuantity ? QString::number(*preview.proposedQuantity) : QString();
            case TableRole::editableField:
                return true;
            case Qt::TextAlignmentRole:
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        }
        return quantity(preview.proposedQuantity);
    case message:
        return role == Qt::DisplayRole ? QVariant(preview.message.value_or(QString())) : QVariant();
    }
    return {};
}

bool CorrectionsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !store_ || !viewModel_ || index.row() >= indices_.size()) {
        return false;
    }
    const QUuid id = store_->corrections().at(storeIndex(index.row())).id;
    if (index.column() == selection && role == Qt::CheckStateRole) {
        viewModel_->setSelection(id, value.toInt() == Qt::Checked);
        return true;
    }
    if (index.column() == proposed && role == Qt::EditRole) {
        // Text that is not a whole number changes nothing; the cell shows the value it keeps.
        viewModel_->setProposedQuantityText(id, value.toString());
        return true;
    }
    return false;
}

} // namespace tallybrook
