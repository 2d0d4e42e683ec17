#pragma once

#include "localization/AppLanguage.h"

#include <QString>

#include <array>
#include <optional>

namespace tallybrook {

/// Status of one prepared correction, in declaration order. The raw value equals the case name.
enum class WooCorrectionStatus {
    ready,
    remoteStockChanged,
    missingRemoteIdentifier,
    stockNotManaged,
    unknownCode,
    temporaryItem,
    noDifference,
    ignored,
    sent,
    failed
};

inline constexpr std::array<WooCorrectionStatus, 10> allWooCorrectionStatuses{
    WooCorrectionStatus::ready,         WooCorrectionStatus::remoteStockChanged,
    WooCorrectionStatus::missingRemoteIdentifier, WooCorrectionStatus::stockNotManaged,
    WooCorrectionStatus::unknownCode,   WooCorrectionStatus::temporaryItem,
    WooCorrectionStatus::noDifference,  WooCorrectionStatus::ignored,
    WooCorrectionStatus::sent,          WooCorrectionStatus::failed};

QString rawValue(WooCorrectionStatus status);
std::optional<WooCorrectionStatus> wooCorrectionStatusFromRawValue(QStringView raw);

/// missingRemoteIdentifier, stockNotManaged, unknownCode, temporaryItem, failed: cannot be sent.
bool isBlocking(WooCorrectionStatus status);
/// Only ready rows are preselected.
bool isSelectedByDefault(WooCorrectionStatus status);
/// ready, noDifference, ignored, sent: may be selected and sent.
bool isManuallyCorrectable(WooCorrectionStatus status);
/// The display text in `language`, or in the current language when none.
QString displayName(WooCorrectionStatus status, std::optional<AppLanguage> language = std::nullopt);

} // namespace tallybrook
