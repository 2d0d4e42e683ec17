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

QList<const char16_t*> headerKeys(const QList<InventoryRowsModel::Column>& columns) {
    QList<const char16_t*> keys;
    for (const InventoryRowsModel::Column column : columns) {
        keys.append(headerKey(column));
    }
    return keys;
}

} // namespace

InventoryRowsModel::InventoryRowsModel(QList<Column> columns, QObject* parent)
    : LocalizedTableModel(headerKeys(columns), parent)
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

int InventoryRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant InventoryRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) {
        return {};
    }
    const InventoryExportRow& row = *rows_.at(index.row());
    const Column column = columns_.at(index.column());
    if (role == Qt::TextAlignmentRole && column == Column::delta) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    switch (column) {
    case Column::status: {
        const StatusPresentation look = presentation(row.status);
        switch (role) {
        case Qt::DisplayRole:
            return label(row.status, language());
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
        if (role != Qt::DisplayRole && role != Qt::ForegroundRole) {
            return {};
        }
        const QString codes = codes_ ? codes_->barcodeColumnCodes(row).join(u'\n') : QString();
        return optionalText(codes.isEmpty() ? std::nullopt : std::optional<QString>(codes), role);
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
        return quantityCell(row.referenceQuantity, role);
    case Column::counted:
        return quantityCell(row.countedQuantity, role);
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
    case Column::lastScan:
        if (role != Qt::DisplayRole && role != Qt::ForegroundRole) {
            return {};
        }
        return optionalText(row.lastScannedAt ? std::optional<QString>(DisplayFormat::shortDateTime(
                                                    *row.lastScannedAt, tallybrook::locale(language())))
                                              : std::nullopt,
                            role);
    }
    return {};
}

} // namespace tallybrook
