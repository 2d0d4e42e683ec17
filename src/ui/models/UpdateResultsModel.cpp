#include "ui/models/UpdateResultsModel.h"

#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

namespace tallybrook {

namespace {

enum ResultColumn { success, item, productId, variationId, quantity, wooAfter, message, date };


} // namespace

UpdateResultsModel::UpdateResultsModel(QObject* parent)
    : LocalizedTableModel({u"result.success", u"common.item", u"result.productId", u"result.variationId",
                           u"common.quantity", u"result.wooAfter", u"common.message", u"common.date"},
                          parent) {}

void UpdateResultsModel::setLines(QList<WooUpdateResultLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int UpdateResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant UpdateResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= lines_.size()) {
        return {};
    }
    const WooUpdateResultLine& line = lines_.at(index.row());
    switch (index.column()) {
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
        if (role == Qt::ToolTipRole) {
            return line.message.value_or(QString());
        }
        return optionalText(line.message, role);
    case date:
        return role == Qt::DisplayRole ? QVariant(DisplayFormat::shortDateTime(line.updatedAt, tallybrook::locale(language())))
                                       : QVariant();
    }
    return {};
}

namespace {

enum IssueColumn { issueItem, issueProduct, issueVariation, issueMessage };

} // namespace

ReloadIssuesModel::ReloadIssuesModel(QList<RemoteStockReloadIssue> issues, AppLanguage language, QObject* parent)
    : LocalizedTableModel({u"common.item", u"result.productId", u"result.variationId", u"common.message"}, parent)
    , issues_(std::move(issues)) {
    setLanguage(language);
}

int ReloadIssuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(issues_.size());
}

QVariant ReloadIssuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= issues_.size()) {
        return {};
    }
    const RemoteStockReloadIssue& issue = issues_.at(index.row());
    switch (index.column()) {
    case issueItem:
        return role == Qt::DisplayRole ? QVariant(issue.itemName) : QVariant();
    case issueProduct:
        return optionalText(issue.externalProductId, role);
    case issueVariation:
        return optionalText(issue.externalVariantId, role);
    case issueMessage:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            return issue.message;
        }
        return {};
    }
    return {};
}

} // namespace tallybrook
