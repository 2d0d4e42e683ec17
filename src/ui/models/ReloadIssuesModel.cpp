#include "ui/models/ReloadIssuesModel.h"

namespace tallybrook {

namespace {

enum IssueColumn { issueItem, issueProduct, issueVariation, issueMessage };

} // namespace

ReloadIssuesModel::ReloadIssuesModel(QList<RemoteStockReloadIssue> issues, AppLanguage language,
                                     QObject* parent)
    : LocalizedTableModel({{issueItem, u"common.item", ColumnWidth::fit, 200, true},
                           {issueProduct, u"result.productId", ColumnWidth::fit},
                           {issueVariation, u"result.variationId", ColumnWidth::fit},
                           {issueMessage, u"common.message", ColumnWidth::stretch, 240}},
                          parent)
    , issues_(std::move(issues)) {
    setLanguage(language);
}

int ReloadIssuesModel::sourceRowCount() const {
    return int(issues_.size());
}

bool ReloadIssuesModel::lessThan(int a, int b, int column) const {
    return column == issueItem && lessText(issues_.at(a).itemName, issues_.at(b).itemName);
}

QVariant ReloadIssuesModel::cellData(int sourceRow, int column, int role) const {
    const RemoteStockReloadIssue& issue = issues_.at(sourceRow);
    switch (column) {
    case issueItem:
        return role == Qt::DisplayRole ? QVariant(issue.itemName) : QVariant();
    case issueProduct:
        return optionalText(issue.externalProductId, role);
    case issueVariation:
        return optionalText(issue.externalVariantId, role);
    case issueMessage:
        return role == Qt::DisplayRole ? QVariant(issue.message) : QVariant();
    }
    return {};
}

} // namespace tallybrook
