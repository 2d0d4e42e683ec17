#pragma once

#include "localization/AppLanguage.h"

#include <QSizeF>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace tallybrook {

/// The label sizes offered on the options page, in display order.
enum class LabelSizePreset { standard381x212, avery5167, qr35, custom };

inline constexpr std::array<LabelSizePreset, 4> allLabelSizePresets{
    LabelSizePreset::standard381x212, LabelSizePreset::avery5167, LabelSizePreset::qr35,
    LabelSizePreset::custom};

/// "standard381x212", "avery5167", "qr35" or "custom".
QString rawValue(LabelSizePreset preset);
/// Exact, case-sensitive match of the four raw values.
std::optional<LabelSizePreset> labelSizePresetFromRawValue(QStringView raw);
/// The fixed width and height in millimetres; none for `custom`, whose size comes from the
/// configuration.
std::optional<QSizeF> presetSizeMM(LabelSizePreset preset);
/// The title shown in the size picker; only `custom` depends on the language.
QString title(LabelSizePreset preset, std::optional<AppLanguage> language = std::nullopt);

} // namespace tallybrook
