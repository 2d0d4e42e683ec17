#pragma once

#include "export/CodeModuleMatrix.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace tallybrook {

/// EAN-13 product codes: validation and the bar pattern, drawn by the label renderer module
/// by module (no external encoder involved).
namespace Ean13Encoder {

/// Modules of a symbol: 11 light quiet modules, start guard, six left digits, centre guard,
/// six right digits, end guard, 7 light quiet modules.
inline constexpr int moduleCount = 113;

/// The check digit (0-9) of twelve ASCII digits; none for anything else.
std::optional<int> checkDigit(QStringView twelveDigits);
/// Exactly 13 ASCII digits whose last one is the check digit of the first twelve.
bool isValid(QStringView value);
/// The 113 modules of a valid code (one row); none when `value` is not a valid EAN-13.
std::optional<CodeModuleMatrix> modules(QStringView value);

} // namespace Ean13Encoder

} // namespace tallybrook
