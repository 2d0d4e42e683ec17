#pragma once

#include "localization/AppLanguage.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace tallybrook {

/// The kind of code printed on every label of a sheet.
enum class LabelCodeKind { barcode, qrCode };

inline constexpr std::array<LabelCodeKind, 2> allLabelCodeKinds{LabelCodeKind::barcode,
                                                                LabelCodeKind::qrCode};

/// "barcode" or "qrCode".
QString rawValue(LabelCodeKind kind);
/// Exact, case-sensitive match of the two raw values.
std::optional<LabelCodeKind> labelCodeKindFromRawValue(QStringView raw);
/// The title shown on the options page, in `language` (current language when none).
QString title(LabelCodeKind kind, std::optional<AppLanguage> language = std::nullopt);

} // namespace tallybrook
