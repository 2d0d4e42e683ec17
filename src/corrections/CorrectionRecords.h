#pragma once

#include "corrections/WooCorrectionStatus.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace tallybrook {

/// The stock of one document row as read from the online store.
struct RemoteStockLevel {
    std::optional<QUuid> localItemId;
    std::optional<QString> externalProductId;
    std::optional<QString> externalVariantId;
    std::optional<qint64> quantity;
    std::optional<bool> stockManaged;
    QDateTime fetchedAt;
    /// The stock is not managed by this item itself but by its parent product (a variation whose
    /// "manage_stock" is "parent"): writing it would split it from the parent's stock.
    bool stockManagedByParent = false;

    /// Upper-case local item UUID, product id and variation id (each empty when none) joined with ":".
    QString id() const;
    bool operator==(const RemoteStockLevel&) const = default;
};

/// One prepared stock correction, one per document row.
struct WooCorrectionPreview {
    QUuid id;
    QUuid sessionId;
    std::optional<QUuid> localItemId;
    std::optional<QString> externalProductId;
    std::optional<QString> externalVariantId;
    QString itemName;
    std::optional<QString> variantName;
    std::optional<QString> sku;
    std::optional<QString> barcode;
    std::optional<qint64> referenceQuantityAtInventory;
    std::optional<qint64> currentRemoteQuantity;
    std::optional<qint64> countedQuantity;
    std::optional<qint64> proposedQuantity;
    std::optional<qint64> differenceFromReference;
    std::optional<qint64> differenceFromCurrentRemote;
    WooCorrectionStatus status = WooCorrectionStatus::ready;
    bool isSelected = false;
    std::optional<QString> message;

    bool operator==(const WooCorrectionPreview&) const = default;
};

/// The result of sending one correction.
struct WooUpdateResultLine {
    QUuid id;
    QUuid correctionId;
    std::optional<QString> externalProductId;
    std::optional<QString> externalVariantId;
    QString itemName;
    std::optional<qint64> requestedQuantity;
    std::optional<qint64> remoteQuantityAfterUpdate;
    bool success = false;
    std::optional<QString> message;
    QDateTime updatedAt;

    bool operator==(const WooUpdateResultLine&) const = default;
};

/// Whether a send run sends `preview`: it is selected and its status is manually correctable.
inline bool isSendable(const WooCorrectionPreview& preview) {
    return preview.isSelected && isManuallyCorrectable(preview.status);
}

/// The result line of sending `preview`: a new id, the preview's id as `correctionId`, its
/// product id, variation id and item name, its proposed quantity as `requestedQuantity`, and
/// the outcome given. Every producer of send results builds its lines here.
WooUpdateResultLine makeResultLine(const WooCorrectionPreview& preview, bool success,
                                   std::optional<qint64> remoteQuantityAfterUpdate,
                                   std::optional<QString> message, QDateTime updatedAt);

/// One problem met while reading stock for one row.
struct RemoteStockReloadIssue {
    QUuid id;
    std::optional<QString> externalProductId;
    std::optional<QString> externalVariantId;
    QString itemName;
    QString message;

    bool operator==(const RemoteStockReloadIssue&) const = default;
};

/// The outcome of one stock reload.
struct RemoteStockReloadReport {
    QList<RemoteStockLevel> levels;
    qint64 requestedItemCount = 0;
    qint64 quantityCount = 0;
    QList<RemoteStockReloadIssue> issues;

    qint64 loadedItemCount() const { return levels.size(); }
    bool operator==(const RemoteStockReloadReport&) const = default;
};

} // namespace tallybrook
