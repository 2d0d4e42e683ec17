#include "ui/models/UnknownCodesModel.h"

#include "localization/AppText.h"
#include "ui/style/DisplayFormat.h"
#include "ui/style/Palette.h"
#include "ui/style/TableRole.h"

namespace tallybrook {

namespace {

enum Column { code, location, quantity, note, lastScan, futureAction };

} // namespace

UnknownCodesModel::UnknownCodesModel(QObject* parent)
    : LocalizedTableModel({{code, u"labels.code", ColumnWidth::fit, 140},
                           {location, u"common.location", ColumnWidth::fit, 120},
                           {quantity, u"common.quantity", ColumnWidth::fit, 0, true},
                           {note, u"common.note", ColumnWidth::stretch, 160},
                           {lastScan, u"rows.lastScan", ColumnWidth::fit, 0, true},
                           {futureAction, u"unknown.futureAction", ColumnWidth::fit}},
                          parent) {}

void UnknownCodesModel::setCodes(QList<InventoryExportUnknownCode> codes) {
    beginResetModel();
    codes_ = std::move(codes);
    reorder();
    endResetModel();
}

int UnknownCodesModel::sourceRowCount() const {
    return int(codes_.size());
}

bool UnknownCodesModel::lessThan(int a, int b, int column) const {
    if (column == quantity) {
        return codes_.at(a).quantity < codes_.at(b).quantity;
    }
    return column == lastScan && lessOptional(codes_.at(a).lastScannedAt, codes_.at(b).lastScannedAt);
}

QVariant UnknownCodesModel::cellData(int sourceRow, int column, int role) const {
    const InventoryExportUnknownCode& unknown = codes_.at(sourceRow);
    const auto text = [role](const std::optional<QString>& value) { return optionalText(value, role); };
    switch (column) {
    case code:
        return text(unknown.code);
    case location:
        return text(unknown.location);
    case quantity:
        return LocalizedTableModel::quantityCell(unknown.quantity, role);
    case note:
        return text(unknown.note);
    case lastScan:
        return text(unknown.lastScannedAt ? std::optional<QString>(DisplayFormat::shortDateTime(
                                                *unknown.lastScannedAt, tallybrook::locale(language())))
                                          : std::nullopt);
    case futureAction:
        switch (role) {
        case Qt::DisplayRole:
            return AppText::localized(u"unknown.toProcess", language());
        case TableRole::badgeTint:
            return Palette::orange();
        case TableRole::symbol:
            return QStringLiteral("wrench.and.screwdriver");
        }
        return {};
    }
    return {};
}

} // namespace tallybrook
