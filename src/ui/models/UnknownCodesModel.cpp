#include "ui/models/UnknownCodesModel.h"

#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

namespace tallybrook {

namespace {

enum Column { code, location, quantity, note, lastScan, futureAction };

} // namespace

UnknownCodesModel::UnknownCodesModel(QObject* parent)
    : LocalizedTableModel({u"labels.code", u"common.location", u"common.quantity", u"common.note", u"rows.lastScan",
                           u"unknown.futureAction"},
                          parent) {}

void UnknownCodesModel::setCodes(QList<InventoryExportUnknownCode> codes) {
    beginResetModel();
    codes_ = std::move(codes);
    endResetModel();
}

int UnknownCodesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(codes_.size());
}

QVariant UnknownCodesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= codes_.size()) {
        return {};
    }
    const InventoryExportUnknownCode& unknown = codes_.at(index.row());
    const auto text = [role](const std::optional<QString>& value) { return optionalText(value, role); };
    switch (index.column()) {
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
