#include "ui/models/UpdateResultsModel.h"

#include "localization/AppText.h"
#include "ui/components/ControlTable.h"
#include "ui/shell/DisplayFormat.h"
#include "ui/shell/Palette.h"

namespace tallybrook {

namespace {

enum ResultColumn { success, item, productId, variationId, quantity, wooAfter, message, date, resultColumns };

const char16_t* const resultHeaderKeys[] = {u"result.success",   u"common.item",     u"result.productId",
                                            u"result.variationId", u"common.quantity", u"result.wooAfter",
                                            u"common.message",   u"common.date"};

/// An optional text or quantity cell: "-" in the secondary colour when absent.
QVariant optionalCell(const std::optional<QString>& value, int role) {
    if (role == Qt::DisplayRole) {
        return value.value_or(QStringLiteral("-"));
    }
    if (role == Qt::ForegroundRole && !value) {
        return Palette::secondary();
    }
    return {};
}

QVariant quantityCell(std::optional<qint64> value, int role) {
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return optionalCell(value ? std::optional<QString>(QString::number(*value)) : std::nullopt, role);
}

} // namespace

void UpdateResultsModel::setLines(QList<WooUpdateResultLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

void UpdateResultsModel::setLanguage(AppLanguage language) {
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, resultColumns - 1);
    if (!lines_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, resultColumns - 1));
    }
}

int UpdateResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

int UpdateResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : resultColumns;
}

QVariant UpdateResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= resultColumns) {
        return {};
    }
    return AppText::localized(resultHeaderKeys[section], language_);
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
            return AppText::localized(line.success ? u"result.success" : u"result.failures", language_);
        }
        return {};
    case item:
        return role == Qt::DisplayRole ? QVariant(line.itemName) : QVariant();
    case productId:
        return optionalCell(line.externalProductId, role);
    case variationId:
        return optionalCell(line.externalVariantId, role);
    case quantity:
        return quantityCell(line.requestedQuantity, role);
    case wooAfter:
        return quantityCell(line.remoteQuantityAfterUpdate, role);
    case message:
        if (role == Qt::ToolTipRole) {
            return line.message.value_or(QString());
        }
        return optionalCell(line.message, role);
    case date:
        return role == Qt::DisplayRole ? QVariant(DisplayFormat::shortDateTime(line.updatedAt, tallybrook::locale(language_)))
                                       : QVariant();
    }
    return {};
}

namespace {

enum IssueColumn { issueItem, issueProduct, issueVariation, issueMessage, issueColumns };

const char16_t* const issueHeaderKeys[] = {u"common.item", u"result.productId", u"result.variationId",
                                           u"common.message"};

} // namespace

ReloadIssuesModel::ReloadIssuesModel(QList<RemoteStockReloadIssue> issues, AppLanguage language, QObject* parent)
    : QAbstractTableModel(parent)
    , issues_(std::move(issues))
    , language_(language) {}

int ReloadIssuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(issues_.size());
}

int ReloadIssuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : issueColumns;
}

QVariant ReloadIssuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= issueColumns) {
        return {};
    }
    return AppText::localized(issueHeaderKeys[section], language_);
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
        return optionalCell(issue.externalProductId, role);
    case issueVariation:
        return optionalCell(issue.externalVariantId, role);
    case issueMessage:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            return issue.message;
        }
        return {};
    }
    return {};
}

} // namespace tallybrook
