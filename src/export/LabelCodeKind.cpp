#include "export/LabelCodeKind.h"

#include "localization/AppText.h"

namespace tallybrook {

QString rawValue(LabelCodeKind kind) {
    switch (kind) {
    case LabelCodeKind::barcode:
        return QStringLiteral("barcode");
    case LabelCodeKind::qrCode:
        return QStringLiteral("qrCode");
    }
    return {};
}

std::optional<LabelCodeKind> labelCodeKindFromRawValue(QStringView raw) {
    for (const LabelCodeKind kind : allLabelCodeKinds) {
        if (raw == rawValue(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

QString title(LabelCodeKind kind, std::optional<AppLanguage> language) {
    return AppText::localized(kind == LabelCodeKind::barcode ? u"labels.barcode" : u"labels.qrCode",
                              language);
}

} // namespace tallybrook
