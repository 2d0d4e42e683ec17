#include "ui/style/DisplayFormat.h"

namespace tallybrook::DisplayFormat {

QString dateTime(const QDateTime& instant, const QLocale& locale) {
    const QDateTime local = instant.toLocalTime();
    // Qt has no "abbreviated" date style: the month's short name in the locale's own order.
    const bool dayFirst = locale.language() != QLocale::English || locale.territory() != QLocale::UnitedStates;
    const QString date = locale.toString(local.date(), dayFirst ? QStringLiteral("d MMM yyyy")
                                                                : QStringLiteral("MMM d, yyyy"));
    return date + QStringLiteral(", ") + time(instant, locale);
}

QString shortDateTime(const QDateTime& instant, const QLocale& locale) {
    return locale.toString(instant.toLocalTime(), QLocale::ShortFormat);
}

QString time(const QDateTime& instant, const QLocale& locale) {
    return locale.toString(instant.toLocalTime().time(), QLocale::ShortFormat);
}

QString quantity(std::optional<qint64> value) {
    return value ? QString::number(*value) : QStringLiteral("-");
}

} // namespace tallybrook::DisplayFormat
