#include "document/InternetDateTime.h"

#include <cstdio>

namespace tallybrook {

namespace {

constexpr qint64 msecsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil). Done by
// hand because building a QDate per field of a large file costs more than the whole parse.
qint64 daysFromCivil(qint64 year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    qint64 year;
    int month;
    int day;
};

CivilDate civilFromDays(qint64 days) {
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool isLeapYear(qint64 year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(qint64 year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Reads exactly `count` decimal digits at `pos`.
bool readDigits(std::string_view text, size_t& pos, size_t count, int& value) {
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool expect(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

std::optional<QDateTime> parseInternetDateTime(std::string_view text) {
    size_t pos = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!readDigits(text, pos, 4, year) || !expect(text, pos, '-') || !readDigits(text, pos, 2, month) ||
        !expect(text, pos, '-') || !readDigits(text, pos, 2, day) || !expect(text, pos, 'T') ||
        !readDigits(text, pos, 2, hour) || !expect(text, pos, ':') || !readDigits(text, pos, 2, minute) ||
        !expect(text, pos, ':') || !readDigits(text, pos, 2, second)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return std::nullopt;
    }
    int millisecond = 0;
    if (expect(text, pos, '.')) {
        // Digits beyond the millisecond are read and dropped: an instant here has millisecond
        // precision.
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            if (digits < 3) {
                millisecond = millisecond * 10 + (text[pos] - '0');
            }
            ++digits;
            ++pos;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        for (size_t i = digits; i < 3; ++i) {
            millisecond *= 10;
        }
    }
    qint64 offsetMinutes = 0;
    if (!expect(text, pos, 'Z')) {
        if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-')) {
            return std::nullopt;
        }
        const int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int offsetHours = 0;
        int offsetMinutesPart = 0;
        if (!readDigits(text, pos, 2, offsetHours) || !expect(text, pos, ':') ||
            !readDigits(text, pos, 2, offsetMinutesPart) || offsetHours > 23 || offsetMinutesPart > 59) {
            return std::nullopt;
        }
        offsetMinutes = qint64(sign) * (offsetHours * 60 + offsetMinutesPart);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    const qint64 msecs = daysFromCivil(year, month, day) * msecsPerDay +
                         ((hour * 60 + minute - offsetMinutes) * 60 + second) * 1000 + millisecond;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

QString internetDateTimeText(const QDateTime& instant) {
    const qint64 msecs = instant.toMSecsSinceEpoch();
    qint64 days = msecs / msecsPerDay;
    qint64 rest = msecs % msecsPerDay;
    if (rest < 0) {
        rest += msecsPerDay;
        --days;
    }
    const CivilDate date = civilFromDays(days);
    const int millisecond = int(rest % 1000);
    const int second = int(rest / 1000 % 60);
    const int minute = int(rest / 60'000 % 60);
    const int hour = int(rest / 3'600'000);
    char buffer[48];
    int length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02d", (long long)date.year,
                               date.month, date.day, hour, minute, second);
    if (millisecond != 0) {
        length += std::snprintf(buffer + length, sizeof buffer - size_t(length), ".%03d", millisecond);
    }
    buffer[length++] = 'Z';
    return QString::fromLatin1(buffer, length);
}

} // namespace tallybrook
