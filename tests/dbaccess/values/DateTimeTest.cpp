#include "dbaccess/values/DateTime.h"

#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/Variant.h"

#include <gtest/gtest.h>
#include <string>

namespace {

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Date-time text in both directions.

struct DateTextCase {
    std::string name;
    std::string input;
    std::string canonical;
};

class DateTimeText : public testing::TestWithParam<DateTextCase> {};

TEST_P(DateTimeText, ParsesAndFormatsBack) {
    const DateTime value = Variant(GetParam().input).toDateTime();
    EXPECT_EQ(formatDateTime(value), GetParam().canonical);
    EXPECT_EQ(Variant(value).toString(), GetParam().canonical);
    EXPECT_EQ(Variant(GetParam().canonical).toDateTime(), value);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateTimeText,
    testing::Values(
        DateTextCase{"DateOnly", "2024-02-29", "2024-02-29 00:00:00"},
        DateTextCase{"Seconds", "2024-02-29 13:45:30", "2024-02-29 13:45:30"},
        DateTextCase{"Microseconds", "2024-02-29 13:45:30.123456", "2024-02-29 13:45:30.123456"},
        DateTextCase{"FourMicroseconds", "2024-02-29 13:45:30.000004",
                     "2024-02-29 13:45:30.000004"},
        DateTextCase{"ShortFraction", "2024-02-29 13:45:30.5", "2024-02-29 13:45:30.500000"},
        DateTextCase{"NanosecondsRounded", "2024-02-29 13:45:30.1234565",
                     "2024-02-29 13:45:30.123457"},
        DateTextCase{"LetterT", "2024-02-29T13:45", "2024-02-29 13:45:00"},
        DateTextCase{"ZoneMakesUtc", "2024-02-29 13:45:30+02", "2024-02-29 11:45:30"},
        DateTextCase{"ZoneWithMinutesWest", "2024-02-29 23:00:00-05:30", "2024-03-01 04:30:00"},
        DateTextCase{"ZoneZ", "2024-02-29T13:45:30.25Z", "2024-02-29 13:45:30.250000"},
        DateTextCase{"TimeOnly", "13:45:30", "1899-12-30 13:45:30"},
        DateTextCase{"DayZero", "1899-12-30", "1899-12-30 00:00:00"},
        DateTextCase{"Before1900", "1850-06-15 08:00:00.25", "1850-06-15 08:00:00.250000"},
        DateTextCase{"LeapDay2000", "2000-02-29 00:00:01", "2000-02-29 00:00:01"},
        DateTextCase{"YearOneFirstMicrosecond", "0001-01-01 00:00:00.000001",
                     "0001-01-01 00:00:00.000001"},
        DateTextCase{"Year1000", "1000-06-15 12:00:00.123457", "1000-06-15 12:00:00.123457"},
        DateTextCase{"Year2500", "2500-01-01 00:00:00.000001", "2500-01-01 00:00:00.000001"},
        DateTextCase{"LastMicrosecond", "9999-12-31 23:59:59.999999",
                     "9999-12-31 23:59:59.999999"}),
    caseName<DateTextCase>);

class DateTimeBadText : public testing::TestWithParam<std::string> {};

TEST_P(DateTimeBadText, RaisesVariantError) {
    EXPECT_THROW((void)Variant(GetParam()).toDateTime(), EVariantError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Forms, DateTimeBadText,
                         testing::Values("2024-13-01", "2024-00-10", "2024-01-32", "2024-02-30",
                                         "2023-02-29", "2100-02-29", "2024-04-31", "839:00:00",
                                         "12:60", "2024/01/01", "2024-01-01 12", "2024-1-1", "noon",
                                         "2024-01-01 25:00", "12:00:00+", "-12:00:00+01", "",
                                         "492048-02-29", "999999-12-31 23:59:59"));

// Times of day and durations as a TIME column holds them.
struct TimeCase {
    std::string name;
    std::string input;
    std::string time;
    bool duration;
};

class TimeText : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeText, FormatsAsTheColumnHoldsIt) {
    DateTime value;
    ASSERT_TRUE(parseDateTime(GetParam().input, value));
    EXPECT_EQ(formatTime(value), GetParam().time);
    EXPECT_EQ(isDuration(value), GetParam().duration);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TimeText,
    testing::Values(TimeCase{"Midnight", "00:00:00", "00:00:00", false},
                    TimeCase{"LastMicrosecond", "23:59:59.999999", "23:59:59.999999", false},
                    TimeCase{"OfATimestamp", "2024-02-29 13:45:10.123456", "13:45:10.123456",
                             false},
                    TimeCase{"ZonedInUtc", "01:00:00+02", "23:00:00", false},
                    TimeCase{"FullDay", "24:00:00", "24:00:00", true},
                    TimeCase{"Negative", "-01:30:00.5", "-01:30:00.500000", true},
                    TimeCase{"Longest", "838:59:59.999999", "838:59:59.999999", true}),
    caseName<TimeCase>);

// Calendar conversions: day 0 is 1899-12-30, proleptic Gregorian.

struct CalendarCase {
    std::string name;
    CalendarTime time;
    double days;
};

class Calendar : public testing::TestWithParam<CalendarCase> {};

TEST_P(Calendar, ConvertsBothWays) {
    const auto& [name, time, days] = GetParam();
    EXPECT_DOUBLE_EQ(toDateTime(time).days(), days);
    const CalendarTime back = toCalendarTime(DateTime::fromDays(days));
    EXPECT_EQ(back.year, time.year);
    EXPECT_EQ(back.month, time.month);
    EXPECT_EQ(back.day, time.day);
    EXPECT_EQ(back.hour, time.hour);
    EXPECT_EQ(back.minute, time.minute);
    EXPECT_EQ(back.second, time.second);
    EXPECT_EQ(back.microsecond, time.microsecond);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, Calendar,
    testing::Values(CalendarCase{"DayZero", {1899, 12, 30, 0, 0, 0, 0}, 0},
                    CalendarCase{"DayBefore", {1899, 12, 29, 0, 0, 0, 0}, -1},
                    CalendarCase{"FirstOf1900", {1900, 1, 1, 0, 0, 0, 0}, 2},
                    CalendarCase{"No1900LeapDay", {1900, 3, 1, 0, 0, 0, 0}, 61},
                    CalendarCase{"LeapDay2000", {2000, 2, 29, 0, 0, 0, 0}, 36585},
                    CalendarCase{"LeapDay2024Evening", {2024, 2, 29, 18, 0, 0, 0}, 45351.75},
                    CalendarCase{"No2100LeapDay", {2100, 3, 1, 0, 0, 0, 0}, 73110},
                    CalendarCase{"YearOne", {1, 1, 1, 0, 0, 0, 0}, -693593},
                    CalendarCase{"Year1600", {1600, 2, 29, 0, 0, 0, 0}, -109512},
                    CalendarCase{"LastDay", {9999, 12, 31, 0, 0, 0, 0}, 2958465},
                    CalendarCase{"HalfSecond", {1899, 12, 30, 0, 0, 0, 500000}, 0.5 / 86400}),
    caseName<CalendarCase>);

TEST(CalendarSweep, EveryDayMapsBackToItselfAndDaysFollowEachOther) {
    CalendarTime previous = toCalendarTime(DateTime::fromDays(-700000));
    for (int day = -699999; day <= 2958465; ++day) {
        const CalendarTime time = toCalendarTime(DateTime::fromDays(day));
        ASSERT_EQ(toDateTime(time).days(), day);
        const bool nextDay = time.day == previous.day + 1 && time.month == previous.month;
        const bool nextMonth =
            time.day == 1 &&
            (time.month == previous.month + 1 ||
             (time.month == 1 && previous.month == 12 && time.year == previous.year + 1));
        ASSERT_TRUE(nextDay || nextMonth) << day;
        previous = time;
    }
}

// Every microsecond of every day of the calendar survives.
TEST(CalendarSweep, MicrosecondsSurviveAcrossTheCalendar) {
    for (const int day : {-693593, -36522, -1, 0, 25569, 45351, 65536, 219146, 2958465}) {
        for (const int micro : {0, 1, 499999, 500001, 999999}) {
            CalendarTime time = toCalendarTime(DateTime::fromDays(day));
            time.hour = 23;
            time.minute = 59;
            time.second = 59;
            time.microsecond = micro;
            const CalendarTime back = toCalendarTime(toDateTime(time));
            EXPECT_EQ(back.day, time.day) << day;
            EXPECT_EQ(back.second, 59) << day;
            EXPECT_EQ(back.microsecond, micro) << day;
        }
    }
}

TEST(DateTimeRounding, RoundsTheFractionToTheColumnsDigits) {
    DateTime value;
    ASSERT_TRUE(parseDateTime("9999-12-31 23:59:59.999999", value));
    EXPECT_EQ(formatDateTime(roundFraction(value, 6)), "9999-12-31 23:59:59.999999");
    ASSERT_TRUE(parseDateTime("2024-02-29 13:45:10.123456", value));
    EXPECT_EQ(formatDateTime(roundFraction(value, 0)), "2024-02-29 13:45:10");
    EXPECT_EQ(formatDateTime(roundFraction(value, 3)), "2024-02-29 13:45:10.123000");
    ASSERT_TRUE(parseDateTime("1899-12-29 23:59:59.5", value));
    EXPECT_EQ(formatDateTime(roundFraction(value, 0)), "1899-12-30 00:00:00");
}

} // namespace
