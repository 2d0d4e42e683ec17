#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

namespace tallybrook {

/// The dashboard's figures for one imported document, recomputed from its lists (the
/// document's own summary is never used).
struct InventorySessionAnalysis {
    QUuid sessionId;
    QString sessionName;
    QDateTime exportedAt;
    QString sourceDisplayName;
    qint64 totalRows = 0;
    qint64 countedRows = 0;
    qint64 notCountedRows = 0;
    qint64 differenceRows = 0;
    qint64 unknownCodesCount = 0;
    qint64 temporaryItemsCount = 0;
    qint64 possibleWooCorrectionsCount = 0;
    qint64 legacyTemporaryItemsCount = 0;
    qint64 ignoredTemporaryItemsCount = 0;

    bool operator==(const InventorySessionAnalysis&) const = default;
};

} // namespace tallybrook
