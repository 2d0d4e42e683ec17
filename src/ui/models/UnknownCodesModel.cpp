#include "ui/models/UnknownCodesModel.h"

#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

namespace tallybrook {

namespace {

enum Column { code, location, quantity, note, lastScan, futureAction, columnCount_ };

const char16_t* const headerKeys[] = {u"labels.code", u"common.location",  u"common.quantity",
                                      u"common.note", u"rows.lastScan",    u"unknown.futureAction"};

} // namespace

void UnknownCodesModel::setCodes(QList<InventoryExportUnknownCode> codes) {
    beginResetModel();
    codes_ = std::move(codes);
    endResetModel();
}

void UnknownCodesModel::setLanguage(AppLanguage language) {
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
    if (!codes_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount_ - 1));
    }
}

int UnknownCodesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(codes_.size());
}

int UnknownCodesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

QVariant UnknownCodesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount_) {
        return {};
    }
    return AppText::localized(headerKeys[section], language_);
}

QVariant UnknownCodesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= codes_.size()) {
        return {};
    }
    const InventoryExportUnknownCode& unknown = codes_.at(index.row());
    const auto text = [role](const std::optional<QString>& value) -> QVariant {
        if (role == Qt::DisplayRole) {
            return value.value_or(QStringLiteral("-"));
        }
        if (role == Qt::ForegroundRole && !value) {
            return Palette::secondary();
        }
        return {};
    };
    switch (index.column()) {
    case code:
        return text(unknown.code);
    case location:
        return text(unknown.location);
    case quantity:
        if (role == Qt::TextAlignmentRole) {
            return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return role == Qt::DisplayRole ? QVariant(QString::number(unknown.quantity)) : QVariant();
    case note:
        return text(unknown.note);
    case lastScan:
        return text(unknown.lastScannedAt ? std::optional<QString>(DisplayFormat::shortDateTime(
                                                *unknown.lastScannedAt, tallybrook::locale(language_)))
                                          : std::nullopt);
    case futureAction:
        switch (role) {
        case Qt::DisplayRole:
            return AppText::localized(u"unknown.toProcess", language_);
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
