#pragma once

#include "export/CodeModuleMatrix.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tallybrook {

/// Code 128 and QR Code module matrices from the Zint library (its C API only; Zint draws
/// nothing here, the label renderer paints the modules itself).
namespace ZintEncoder {

/// Light modules added on each side of a Code 128 symbol.
inline constexpr int code128QuietModules = 10;
/// Light modules added around a QR Code (the quiet zone its standard asks for).
inline constexpr int qrQuietModules = 4;

/// Code 128 of `ascii` (every byte below 128) with its quiet zones; none when Zint cannot
/// encode it (a byte outside ASCII, or too long a value).
std::optional<CodeModuleMatrix> code128(const QByteArray& ascii);

/// QR Code at error-correction level M of `text` with its quiet zone; none when Zint cannot
/// encode it (too long). Pure ASCII is encoded as is; other text as UTF-8 announced by
/// ECI 26, so that readers do not have to guess the character set.
std::optional<CodeModuleMatrix> qrCode(const QString& text);

} // namespace ZintEncoder

} // namespace tallybrook
