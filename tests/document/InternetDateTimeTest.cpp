#include "document/InternetDateTime.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

} // namespace

TEST(InternetDateTimeTest, ReadsDateTimesWithZone) {
    struct Case {
        const char* text;
        QDateTime expected;
    };
    const Case cases[] = {
        {"2024-03-18T09:30:00Z", utc(2024, 3, 18, 9, 30, 0)},
        {"2024-03-18T10:30:00+01:00", utc(2024, 3, 18, 9, 30, 0)},
        {"2024-03-18T10:30:00.250+01:00", utc(2024, 3, 18, 9, 30, 0, 250)},
        {"2024-03-18T09:30:00.5Z", utc(2024, 3, 18, 9, 30, 0, 500)},
        {"2024-03-18T09:30:00.123456789Z", utc(2024, 3, 18, 9, 30, 0, 123)},
        {"2024-03-18T01:00:00-05:30", utc(2024, 3, 18, 6, 30, 0)},
        {"2024-03-01T00:30:00+01:00", utc(2024, 2, 29, 23, 30, 0)},
        {"2024-02-29T23:59:59Z", utc(2024, 2, 29, 23, 59, 59)},
        {"0001-01-01T00:00:00Z", utc(1, 1, 1, 0, 0, 0)},
        {"1969-12-31T23:59:59.999Z", utc(1969, 12, 31, 23, 59, 59, 999)},
        {"9999-12-31T23:59:59Z", utc(9999, 12, 31, 23, 59, 59)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseInternetDateTime(c.text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(*parsed, c.expected);
        EXPECT_EQ(parsed->timeSpec(), Qt::UTC);
    }
}

TEST(InternetDateTimeTest, RejectsAnythingElse) {
    for (const char* text : {"2024-03-18",
                             "2024-03-18T09:30:00",
                             "2024-03-18T09:30Z",
                             "2024-03-18 09:30:00Z",
                             "2024-03-18T09:30:00.Z",
                             "2024-03-18T09:30:00+0100",
                             "2024-03-18T09:30:00+01",
                             "2023-02-29T00:00:00Z",
                             "2024-13-01T00:00:00Z",
                             "2024-00-10T00:00:00Z",
                             "2024-04-31T00:00:00Z",
                             "2024-03-18T24:00:00Z",
                             "2024-03-18T23:60:00Z",
                             "2024-03-18T23:59:60Z",
                             "2024-03-18T09:30:00+24:00",
                             "2024-03-18T09:30:00Zjunk",
                             " 2024-03-18T09:30:00Z",
                             "24-03-18T09:30:00Z",
                             "2024-3-18T09:30:00Z",
                             "2024-03-18t09:30:00z",
                             ""}) {
        EXPECT_EQ(parseInternetDateTime(text), std::nullopt) << text;
    }
}

TEST(InternetDateTimeTest, WritesUtcWithMillisecondsOnlyWhenPresent) {
    EXPECT_EQ(internetDateTimeText(utc(2024, 3, 18, 9, 30, 0)), u"2024-03-18T09:30:00Z"_s);
    EXPECT_EQ(internetDateTimeText(utc(2024, 3, 18, 9, 30, 0, 7)), u"2024-03-18T09:30:00.007Z"_s);
    EXPECT_EQ(internetDateTimeText(utc(1, 1, 1, 0, 0, 0)), u"0001-01-01T00:00:00Z"_s);
    EXPECT_EQ(internetDateTimeText(utc(1969, 12, 31, 23, 59, 59, 999)), u"1969-12-31T23:59:59.999Z"_s);
    const QDateTime paris(QDate(2024, 7, 1), QTime(12, 0), QTimeZone("Europe/Paris"));
    EXPECT_EQ(internetDateTimeText(paris), u"2024-07-01T10:00:00Z"_s);
}
