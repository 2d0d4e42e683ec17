#include "corrections/CorrectionRecords.h"

#include "core/TextRules.h"

#include <utility>

namespace tallybrook {

QString RemoteStockLevel::id() const {
    QString result;
    result.reserve(38 + (externalProductId ? externalProductId->size() : 0) +
                   (externalVariantId ? externalVariantId->size() : 0));
    if (localItemId) {
        result += uuidText(*localItemId);
    }
    result += QLatin1Char(':');
    if (externalProductId) {
        result += *externalProductId;
    }
    result += QLatin1Char(':');
    if (externalVariantId) {
        result += *externalVariantId;
    }
    return result;
}

WooUpdateResultLine makeResultLine(const WooCorrectionPreview& preview, bool success,
                                   std::optional<qint64> remoteQuantityAfterUpdate,
                                   std::optional<QString> message, QDateTime updatedAt) {
    WooUpdateResultLine line;
    line.id = QUuid::createUuid();
    line.correctionId = preview.id;
    line.externalProductId = preview.externalProductId;
    line.externalVariantId = preview.externalVariantId;
    line.itemName = preview.itemName;
    line.requestedQuantity = preview.proposedQuantity;
    line.remoteQuantityAfterUpdate = remoteQuantityAfterUpdate;
    line.success = success;
    line.message = std::move(message);
    line.updatedAt = std::move(updatedAt);
    return line;
}

} // namespace tallybrook
