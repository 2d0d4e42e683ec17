#include "ui/models/InventoryRowsModel.h"

#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/components/QuantityDeltaText.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/StatusPresentation.h"

namespace tallybrook {

namespace {

const char16_t* headerKey(InventoryRowsModel::Column column) {
    using Column = InventoryRowsModel::Column;
    switch (column) {
    case Column::status:
        return u"common.status";
    case Column::item:
        return u"common.item";
    case Column::barcode:
        return u"common.barcode";
    case Column::categoryLocation:
        return u"rows.categoryLocation";
    case Column::reference:
        return u"rows.reference";
    case Column::counted:
        return u"rows.counted";
    case Column::delta:
        return u"rows.delta";
    case Column::lastScan:
        break;
    }
    return u"rows.lastScan";
}

/// "-" in the secondary colour stands for a missing value.
QVariant missingColour(const QString& text) {
    return text == u"-" ? QVariant(Palette::secondary()) : QVariant();
}

} // namespace

InventoryRowsModel::InventoryRowsModel(QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , columns_(std::move(columns)) {}

void InventoryRowsModel::setRows(std::shared_ptr<const InventoryExportDocument> document, InventoryRowList rows) {
    beginResetModel();
    if (document != document_) {
        codes_.reset();
        if (document) {
            codes_.emplace(*document);
        }
    }
    document_ = std::move(document);
    rows_ = std::move(rows);
    endResetModel();
}

void InventoryRowsModel::setLanguage(AppLanguage language) {
    language_ = language;
    locale_ = tallybrook::locale(language);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (!rows_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

int InventoryRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int InventoryRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant InventoryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columns_.size()) {
        return {};
    }
    return AppText::localized(headerKey(columns_.at(section)), language_);
}

QVariant InventoryRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) {
        return {};
    }
    const InventoryExportRow& row = *rows_.at(index.row());
    const Column column = columns_.at(index.column());
    const bool quantityColumn = column == Column::reference || column == Column::counted || column == Column::delta;
    if (role == Qt::TextAlignmentRole) {
        return quantityColumn ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    switch (column) {
    case Column::status: {
        const StatusPresentation look = presentation(row.status);
        switch (role) {
        case Qt::DisplayRole:
            return label(row.status, language_);
        case TableRole::badgeTint:
            return Palette::color(look.tint);
        case TableRole::symbol:
            return look.symbol;
        }
        return {};
    }
    case Column::item:
        if (role == Qt::DisplayRole) {
            return row.itemName.value_or(QStringLiteral("-"));
        }
        if (role == TableRole::secondaryText) {
            return row.variantName.value_or(QString());
        }
        if (role == Qt::ToolTipRole) {
            return row.variantName ? row.itemName.value_or(QString()) + u'\n' + *row.variantName
                                   : row.itemName.value_or(QString());
        }
        if (role == Qt::ForegroundRole) {
            return row.itemName ? QVariant() : QVariant(Palette::secondary());
        }
        return {};
    case Column::barcode: {
        const QString codes = codes_ ? codes_->barcodeColumnCodes(row).join(u'\n') : QString();
        const QString shown = codes.isEmpty() ? QStringLiteral("-") : codes;
        if (role == Qt::DisplayRole) {
            return shown;
        }
        if (role == Qt::ForegroundRole) {
            return missingColour(shown);
        }
        return {};
    }
    case Column::categoryLocation:
        if (role == Qt::DisplayRole) {
            return row.category.value_or(QStringLiteral("-"));
        }
        if (role == TableRole::secondaryText) {
            return row.location.value_or(QString());
        }
        if (role == Qt::ForegroundRole) {
            return row.category ? QVariant() : QVariant(Palette::secondary());
        }
        return {};
    case Column::reference:
    case Column::counted: {
        const QString shown =
            DisplayFormat::quantity(column == Column::reference ? row.referenceQuantity : row.countedQuantity);
        if (role == Qt::DisplayRole) {
            return shown;
        }
        if (role == Qt::ForegroundRole) {
            return missingColour(shown);
        }
        return {};
    }
    case Column::delta: {
        const QuantityDeltaText::Presentation look = QuantityDeltaText::presentation(row.difference);
        switch (role) {
        case Qt::DisplayRole:
            return look.text;
        case Qt::ForegroundRole:
            return Palette::color(look.tint);
        case TableRole::semibold:
            return look.semibold;
        }
        return {};
    }
    case Column::lastScan: {
        const QString shown =
            row.lastScannedAt ? DisplayFormat::shortDateTime(*row.lastScannedAt, locale_) : QStringLiteral("-");
        if (role == Qt::DisplayRole) {
            return shown;
        }
        if (role == Qt::ForegroundRole) {
            return missingColour(shown);
        }
        return {};
    }
    }
    return {};
}

} // namespace tallybrook
