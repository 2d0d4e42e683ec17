#include "corrections/WooCorrectionRoad.h"

#include "corrections/WooCorrectionBuilder.h"
#include "localization/AppText.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

QString firstIssueText(const RemoteStockReloadIssue& issue) {
    return u" "_s + issue.itemName + u": "_s + issue.message;
}

} // namespace

std::optional<QString> reloadSummary(qint64 requestedItemCount, qint64 quantityCount,
                                     const QList<RemoteStockReloadIssue>& issues) {
    if (requestedItemCount == 0) {
        return AppText::localized(u"corrections.noWooId");
    }
    if (quantityCount == 0) {
        QString text = AppText::localized(u"corrections.noNumericStock");
        if (!issues.isEmpty()) {
            text += firstIssueText(issues.first());
        }
        return text;
    }
    if (issues.isEmpty()) {
        return std::nullopt;
    }
    return AppText::formatted(u"corrections.reloadPartial", {quantityCount, requestedItemCount}) +
           firstIssueText(issues.first());
}

std::optional<QString> reloadSummary(const RemoteStockReloadReport& report) {
    return reloadSummary(report.requestedItemCount, report.quantityCount, report.issues);
}

QList<WooCorrectionPreview> foldResults(const QList<WooUpdateResultLine>& lines,
                                        QList<WooCorrectionPreview> previews) {
    if (lines.isEmpty()) {
        return previews;
    }
    QHash<QUuid, const WooUpdateResultLine*> byCorrection;
    byCorrection.reserve(lines.size());
    for (const WooUpdateResultLine& line : lines) {
        byCorrection.insert(line.correctionId, &line);
    }

    for (WooCorrectionPreview& preview : previews) {
        const WooUpdateResultLine* line = byCorrection.value(preview.id, nullptr);
        if (!line) {
            continue;
        }
        if (line->success) {
            preview.status = WooCorrectionStatus::sent;
            const std::optional<qint64> known =
                line->remoteQuantityAfterUpdate ? line->remoteQuantityAfterUpdate : line->requestedQuantity;
            preview.currentRemoteQuantity = known;
            // Measured against the stock now known; none when either side is unknown, so a
            // figure computed against an older stock never lingers.
            preview.differenceFromCurrentRemote = checkedDifference(preview.proposedQuantity, known);
        } else {
            preview.status = WooCorrectionStatus::failed;
        }
        preview.isSelected = false;
        preview.message = line->message;
    }
    return previews;
}

} // namespace tallybrook
