#include "ui/style/StatusPresentation.h"

namespace tallybrook {

StatusPresentation presentation(InventoryExportRowStatus status) {
    switch (status) {
    case InventoryExportRowStatus::counted:
        return {QStringLiteral("checkmark.circle.fill"), Tint::green};
    case InventoryExportRowStatus::notCounted:
        return {QStringLiteral("circle.dashed"), Tint::secondary};
    case InventoryExportRowStatus::difference:
        return {QStringLiteral("plus.forwardslash.minus"), Tint::orange};
    case InventoryExportRowStatus::unknownCode:
        return {QStringLiteral("barcode.viewfinder"), Tint::red};
    case InventoryExportRowStatus::temporaryItem:
        return {QStringLiteral("shippingbox.fill"), Tint::purple};
    case InventoryExportRowStatus::error:
        break;
    }
    return {QStringLiteral("exclamationmark.circle"), Tint::secondary};
}

StatusPresentation presentation(WooCorrectionStatus status) {
    switch (status) {
    case WooCorrectionStatus::ready:
        return {QStringLiteral("checkmark.circle.fill"), Tint::green};
    case WooCorrectionStatus::remoteStockChanged:
        return {QStringLiteral("exclamationmark.triangle.fill"), Tint::orange};
    case WooCorrectionStatus::missingRemoteIdentifier:
        return {QStringLiteral("link.badge.plus"), Tint::red};
    case WooCorrectionStatus::stockNotManaged:
        return {QStringLiteral("xmark.octagon.fill"), Tint::red};
    case WooCorrectionStatus::unknownCode:
        return {QStringLiteral("barcode.viewfinder"), Tint::red};
    case WooCorrectionStatus::temporaryItem:
        return {QStringLiteral("shippingbox.fill"), Tint::purple};
    case WooCorrectionStatus::noDifference:
        return {QStringLiteral("equal.circle.fill"), Tint::blue};
    case WooCorrectionStatus::ignored:
        return {QStringLiteral("minus.circle"), Tint::secondary};
    case WooCorrectionStatus::sent:
        return {QStringLiteral("paperplane.circle.fill"), Tint::green};
    case WooCorrectionStatus::failed:
        break;
    }
    return {QStringLiteral("xmark.circle.fill"), Tint::red};
}

DifferencePresentation differencePresentation(std::optional<qint64> difference) {
    if (!difference) {
        return {QStringLiteral("-"), false, Tint::secondary};
    }
    if (*difference > 0) {
        return {u'+' + QString::number(*difference), true, Tint::blue};
    }
    if (*difference < 0) {
        return {QString::number(*difference), true, Tint::red};
    }
    return {QStringLiteral("0"), false, Tint::secondary};
}

} // namespace tallybrook
