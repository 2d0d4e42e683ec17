#include "ui/models/CorrectionsModel.h"

#include "app/TallybrookControlStore.h"
#include "app/WooCorrectionsViewModel.h"
#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/StatusPresentation.h"

#include <algorithm>

namespace tallybrook {

CorrectionsModel::CorrectionsModel(TallybrookControlStore& store, WooCorrectionsViewModel& viewModel, QObject* parent)
    : LocalizedTableModel({u"corrections.selection", u"common.status", u"common.item", u"rows.reference",
                           u"corrections.currentWoo", u"rows.counted", u"corrections.proposed", u"common.message"},
                          parent)
    , store_(&store)
    , viewModel_(&viewModel) {
    connect(&store, &TallybrookControlStore::correctionsEdited, this, &CorrectionsModel::rowsEdited);
}

void CorrectionsModel::refilter() {
    beginResetModel();
    indices_ = viewModel_ ? viewModel_->filteredIndices() : QList<qsizetype>();
    endResetModel();
}

void CorrectionsModel::rowsEdited(const QList<qsizetype>& storeRows) {
    // The table rows are in store order: find each edited row by binary search and redraw the
    // span they cover.
    int first = -1;
    int last = -1;
    for (const qsizetype storeRow : storeRows) {
        const auto found = std::lower_bound(indices_.cbegin(), indices_.cend(), storeRow);
        if (found != indices_.cend() && *found == storeRow) {
            const int row = int(found - indices_.cbegin());
            first = first < 0 ? row : qMin(first, row);
            last = qMax(last, row);
        }
    }
    if (first >= 0) {
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
}

int CorrectionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(indices_.size());
}

Qt::ItemFlags CorrectionsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || !store_ || index.row() >= indices_.size()) {
        return flags;
    }
    const bool correctable = isManuallyCorrectable(store_->corrections().at(indices_.at(index.row())).status);
    if (correctable && index.column() == selection) {
        flags |= Qt::ItemIsUserCheckable;
    }
    if (correctable && index.column() == proposed) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant CorrectionsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !store_ || index.row() >= indices_.size()) {
        return {};
    }
    const WooCorrectionPreview& preview = store_->corrections().at(indices_.at(index.row()));
    const auto quantity = [role](std::optional<qint64> value) { return LocalizedTableModel::quantityCell(value, role); };
    switch (index.column()) {
    case selection:
        if (role == Qt::CheckStateRole) {
            return preview.isSelected ? Qt::Checked : Qt::Unchecked;
        }
        if (role == Qt::AccessibleTextRole) {
            return headerData(selection, Qt::Horizontal);
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
        if (role == Qt::DisplayRole) {
            return preview.message.value_or(QString());
        }
        if (role == Qt::ToolTipRole) {
            return preview.message.value_or(QString());
        }
        return {};
    }
    return {};
}

bool CorrectionsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !store_ || !viewModel_ || index.row() >= indices_.size()) {
        return false;
    }
    const QUuid id = store_->corrections().at(indices_.at(index.row())).id;
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
