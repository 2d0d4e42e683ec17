#include "corrections/WooCorrectionStatus.h"

#include "localization/AppText.h"

using namespace Qt::StringLiterals;

namespace tallybrook {

QString rawValue(WooCorrectionStatus status) {
    switch (status) {
    case WooCorrectionStatus::ready:
        return u"ready"_s;
    case WooCorrectionStatus::remoteStockChanged:
        return u"remoteStockChanged"_s;
    case WooCorrectionStatus::missingRemoteIdentifier:
        return u"missingRemoteIdentifier"_s;
    case WooCorrectionStatus::stockNotManaged:
        return u"stockNotManaged"_s;
    case WooCorrectionStatus::unknownCode:
        return u"unknownCode"_s;
    case WooCorrectionStatus::temporaryItem:
        return u"temporaryItem"_s;
    case WooCorrectionStatus::noDifference:
        return u"noDifference"_s;
    case WooCorrectionStatus::ignored:
        return u"ignored"_s;
    case WooCorrectionStatus::sent:
        return u"sent"_s;
    case WooCorrectionStatus::failed:
        return u"failed"_s;
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<WooCorrectionStatus> wooCorrectionStatusFromRawValue(QStringView raw) {
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        if (raw == rawValue(status)) {
            return status;
        }
    }
    return std::nullopt;
}

bool isBlocking(WooCorrectionStatus status) {
    switch (status) {
    case WooCorrectionStatus::missingRemoteIdentifier:
    case WooCorrectionStatus::stockNotManaged:
    case WooCorrectionStatus::unknownCode:
    case WooCorrectionStatus::temporaryItem:
    case WooCorrectionStatus::failed:
        return true;
    case WooCorrectionStatus::ready:
    case WooCorrectionStatus::remoteStockChanged:
    case WooCorrectionStatus::noDifference:
    case WooCorrectionStatus::ignored:
    case WooCorrectionStatus::sent:
        return false;
    }
    return false;
}

bool isSelectedByDefault(WooCorrectionStatus status) {
    return status == WooCorrectionStatus::ready;
}

bool isManuallyCorrectable(WooCorrectionStatus status) {
    switch (status) {
    case WooCorrectionStatus::ready:
    case WooCorrectionStatus::noDifference:
    case WooCorrectionStatus::ignored:
    case WooCorrectionStatus::sent:
        return true;
    case WooCorrectionStatus::remoteStockChanged:
    case WooCorrectionStatus::missingRemoteIdentifier:
    case WooCorrectionStatus::stockNotManaged:
    case WooCorrectionStatus::unknownCode:
    case WooCorrectionStatus::temporaryItem:
    case WooCorrectionStatus::failed:
        return false;
    }
    return false;
}

QString displayName(WooCorrectionStatus status, std::optional<AppLanguage> language) {
    const QString key = u"wooStatus."_s + rawValue(status);
    return AppText::localized(key, language);
}

} // namespace tallybrook
