#include "ui/models/InventoryRowsModel.h"

#include "localization/AppText.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/StatusPresentation.h"
#include "ui/style/TableRole.h"

namespace tallybrook {

namespace {

TableColumn describe(InventoryRowsModel::Column column) {
    using Column = InventoryRowsModel::Column;
    const int id = int(column);
    switch (column) {
    case Column::status:
        return {id, u"common.status", ColumnWidth::fit, 0, true};
    case Column::item:
        return {id, u"common.item", ColumnWidth::stretch, 220, true};
    case Column::barcode:
        return {id, u"common.barcode", ColumnWidth::fit, 110};
    case Column::categoryLocation:
        return {id, u"rows.categoryLocation", ColumnWidth::fit, 140};
    case Column::reference:
        return {id, u"rows.reference", ColumnWidth::fit, 0, true};
    case Column::counted:
        return {id, u"rows.counted", ColumnWidth::fit, 0, true};
    case Column::delta:
        return {id, u"rows.delta", ColumnWidth::fit, 0, true};
    case Column::lastScan:
        break;
    }
    return {id, u"rows.lastScan", ColumnWidth::fit, 0, true};
}

QList<TableColumn> describe(const QList<InventoryRowsModel::Column>& columns) {
    QList<TableColumn> described;
    for (const InventoryRowsModel::Column column : columns) {
        described.append(describe(column));
    }
    return described;
}

} // namespace

InventoryRowsModel::InventoryRowsModel(const QList<Column>& columns, QObject* parent)
    : LocalizedTableModel(describe(columns), parent) {}

void InventoryRowsModel::setRows(std::shared_ptr<const InventoryExportDocument> document,
                                 InventoryRowList rows) {
    beginResetModel();
    if (document != document_) {
        codes_.reset();
        if (document) {
            codes_.emplace(*document);
        }
    }
    document_ = std::move(document);
    rows_ = std::move(rows);
    reorder();
    endResetModel();
}

InventoryRowList InventoryRowsModel::shownRows() const {
    InventoryRowList shown;
    shown.reserve(rows_.size());
    for (int row = 0; row < rows_.size(); ++row) {
        shown.append(rows_.at(sourceRow(row)));
    }
    return shown;
}

int InventoryRowsModel::sourceRowCount() const {
    return int(rows_.size());
}

bool InventoryRowsModel::lessThan(int a, int b, int column) const {
    const InventoryExportRow& first = *rows_.at(a);
    const InventoryExportRow& second = *rows_.at(b);
    switch (Column(columns().at(column).column)) {
    case Column::status:
        return first.status < second.status;
    case Column::item: {
        const QString firstName = first.itemName.value_or(QString());
        const QString secondName = second.itemName.value_or(QString());
        if (firstName.compare(secondName, Qt::CaseInsensitive) != 0) {
            return lessText(firstName, secondName);
        }
        return lessText(first.variantName.value_or(QString()), second.variantName.value_or(QString()));
    }
    case Column::reference:
        return lessOptional(first.referenceQuantity, second.referenceQuantity);
    case Column::counted:
        return lessOptional(first.countedQuantity, second.countedQuantity);
    case Column::delta:
        return lessOptional(first.difference, second.difference);
    case Column::lastScan:
        return lessOptional(first.lastScannedAt, second.lastScannedAt);
    case Column::barcode:
    case Column::categoryLocation:
        break;
    }
    return false;
}

QVariant InventoryRowsModel::cellData(int sourceRow, int columnIndex, int role) const {
    const InventoryExportRow& row = *rows_.at(sourceRow);
    const Column column = Column(columns().at(columnIndex).column);
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
        const DifferencePresentation look = differencePresentation(row.difference);
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
