#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <string_view>

namespace tallybrook {

/// Reads an internet date-time ("2024-03-18T09:30:00Z", "2024-03-18T10:30:00.250+01:00"):
/// calendar date, "T", time with optional fractional seconds (kept to the millisecond), and a
/// zone that is either "Z" or a numeric offset. Anything else (a date alone, a time without
/// zone, out-of-range fields) gives none. The result is in UTC.
std::optional<QDateTime> parseInternetDateTime(std::string_view text);

/// The UTC text of an instant as "yyyy-MM-ddTHH:mm:ssZ", with ".zzz" milliseconds before the
/// "Z" when they are not zero. parseInternetDateTime reads it back to the same instant.
QString internetDateTimeText(const QDateTime& instant);

} // namespace tallybrook
