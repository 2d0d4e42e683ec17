#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace tallybrook {

/// How pages write dates and quantities, in the window's locale (fr_FR or en_US).
namespace DisplayFormat {

/// Abbreviated date and short time in the local time zone: "6 déc. 2026, 14:05",
/// "Dec 6, 2026, 2:05 PM".
QString dateTime(const QDateTime& instant, const QLocale& locale);
/// Short date and time, for table cells: "18/03/2024 14:05", "3/18/24 2:05 PM".
QString shortDateTime(const QDateTime& instant, const QLocale& locale);
/// The short time alone: "14:05", "2:05 PM".
QString time(const QDateTime& instant, const QLocale& locale);
/// A quantity as a plain integer; "-" when there is none.
QString quantity(std::optional<qint64> value);

} // namespace DisplayFormat

} // namespace tallybrook
