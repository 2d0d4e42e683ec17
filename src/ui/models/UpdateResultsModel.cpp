#include "ui/models/UpdateResultsModel.h"

#include "localization/AppText.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Palette.h"
#include "ui/style/TableRole.h"

namespace tallybrook {

UpdateResultsModel::UpdateResultsModel(QObject* parent)
    : LocalizedTableModel({{success, u"result.success", ColumnWidth::fit, 0, true},
                           {item, u"common.item", ColumnWidth::fit, 160, true},
                           {productId, u"result.productId", ColumnWidth::fit},
                           {variationId, u"result.variationId", ColumnWidth::fit},
                           {quantity, u"common.quantity", ColumnWidth::fit, 0, true},
                           {wooAfter, u"result.wooAfter", ColumnWidth::fit, 0, true},
                           {message, u"common.message", ColumnWidth::stretch, 160},
                           {date, u"common.date", ColumnWidth::fit, 0, true}},
                          parent) {}

void UpdateResultsModel::setLines(QList<WooUpdateResultLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    reorder();
    endResetModel();
}

int UpdateResultsModel::sourceRowCount() const {
    return int(lines_.size());
}

bool UpdateResultsModel::lessThan(int a, int b, int column) const {
    const WooUpdateResultLine& first = lines_.at(a);
    const WooUpdateResultLine& second = lines_.at(b);
    switch (column) {
    case success:
        return first.success < second.success;
    case item:
        return lessText(first.itemName, second.itemName);
    case quantity:
        return lessOptional(first.requestedQuantity, second.requestedQuantity);
    case wooAfter:
        return lessOptional(first.remoteQuantityAfterUpdate, second.remoteQuantityAfterUpdate);
    case date:
        return first.updatedAt < second.updatedAt;
    }
    return false;
}

QVariant UpdateResultsModel::cellData(int sourceRow, int column, int role) const {
    const WooUpdateResultLine& line = lines_.at(sourceRow);
    switch (column) {
    case success:
        switch (role) {
        case TableRole::symbol:
            return line.success ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("xmark.circle.fill");
        case Qt::ForegroundRole:
            return line.success ? Palette::green() : Palette::red();
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return AppText::localized(line.success ? u"result.success" : u"result.failures", language());
        }
        return {};
    case item:
        return role == Qt::DisplayRole ? QVariant(line.itemName) : QVariant();
    case productId:
        return optionalText(line.externalProductId, role);
    case variationId:
        return optionalText(line.externalVariantId, role);
    case quantity:
        return quantityCell(line.requestedQuantity, role);
    case wooAfter:
        return quantityCell(line.remoteQuantityAfterUpdate, role);
    case message:
        return optionalText(line.message, role);
    case date:
        return role == Qt::DisplayRole
                   ? QVariant(DisplayFormat::shortDateTime(line.updatedAt, tallybrook::locale(language())))
                   : QVariant();
    }
    return {};
}

} // namespace tallybrook
