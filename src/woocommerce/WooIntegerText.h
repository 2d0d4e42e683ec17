#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <optional>

namespace tallybrook {

/// Strict decimal integer of the WooCommerce side (identifiers, page headers): the whole text is
/// an optional "+" or "-" followed by one or more ASCII digits, and the value fits a signed
/// 64-bit integer. Leading zeros are allowed; spaces or any other character give no value.
std::optional<qint64> parseWooInteger(QStringView text);
std::optional<qint64> parseWooInteger(QByteArrayView text);

} // namespace tallybrook
