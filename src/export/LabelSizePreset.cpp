#include "export/LabelSizePreset.h"

#include "localization/AppText.h"

namespace tallybrook {

QString rawValue(LabelSizePreset preset) {
    switch (preset) {
    case LabelSizePreset::standard381x212:
        return QStringLiteral("standard381x212");
    case LabelSizePreset::avery5167:
        return QStringLiteral("avery5167");
    case LabelSizePreset::qr35:
        return QStringLiteral("qr35");
    case LabelSizePreset::custom:
        return QStringLiteral("custom");
    }
    return {};
}

std::optional<LabelSizePreset> labelSizePresetFromRawValue(QStringView raw) {
    for (const LabelSizePreset preset : allLabelSizePresets) {
        if (raw == rawValue(preset)) {
            return preset;
        }
    }
    return std::nullopt;
}

std::optional<QSizeF> presetSizeMM(LabelSizePreset preset) {
    switch (preset) {
    case LabelSizePreset::standard381x212:
        return QSizeF(38.1, 21.2);
    case LabelSizePreset::avery5167:
        return QSizeF(44.45, 12.7);
    case LabelSizePreset::qr35:
        return QSizeF(35.0, 35.0);
    case LabelSizePreset::custom:
        return std::nullopt;
    }
    return std::nullopt;
}

QString title(LabelSizePreset preset, std::optional<AppLanguage> language) {
    switch (preset) {
    case LabelSizePreset::standard381x212:
        return QStringLiteral("38,1 x 21,2 mm");
    case LabelSizePreset::avery5167:
        return QStringLiteral("Avery 5167 - 44,45 x 12,7 mm");
    case LabelSizePreset::qr35:
        return QStringLiteral("QR - 35 x 35 mm");
    case LabelSizePreset::custom:
        return AppText::localized(u"labels.custom", language);
    }
    return {};
}

} // namespace tallybrook
