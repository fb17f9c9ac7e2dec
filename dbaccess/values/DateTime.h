#pragma once

#include <cstdint>
#include <string>

// A date-time held exactly: microseconds since 1899-12-30 00:00:00. A time
// of day lies on day 0; a duration below zero or of a day and more (a
// MariaDB TIME) lies beyond it.
struct DateTime {
    std::int64_t microseconds = 0;

    // Days since 1899-12-30 with the time as their fraction, to the nearest
    // microsecond; EVariantError when the number is out of range.
    static DateTime fromDays(double days);
    double days() const noexcept;
    bool operator==(const DateTime&) const = default;
};

constexpr std::int64_t microsecondsPerDay = 86'400'000'000;

// Calendar conversions (proleptic Gregorian, microseconds).
struct CalendarTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int microsecond = 0;
};
DateTime toDateTime(const CalendarTime& time);
CalendarTime toCalendarTime(DateTime value);

// The microseconds of the value's own day.
std::int64_t timeOfDay(DateTime value);
// Whether a value is a duration rather than a date-time: a time beyond day 0
// within the range of a MariaDB TIME (838:59:59.999999 either way).
bool isDuration(DateTime value);

// "YYYY-MM-DD HH:MM:SS[.ffffff]", the fraction only when not zero.
std::string formatDateTime(DateTime value);
// "YYYY-MM-DD".
std::string formatDate(DateTime value);
// "HH:MM:SS[.ffffff]": the time of day, or the duration ("-01:30:00",
// "100:00:00") for a value that is one.
std::string formatTime(DateTime value);

// Accepts "YYYY-MM-DD", "[-]H+:MM[:SS[.f]]" and "YYYY-MM-DD[ T]HH:MM[:SS[.f]]"
// with an optional zone ("+00", "-05:30", "Z"), which makes the value that
// instant in UTC. Fractions beyond microseconds are rounded.
bool parseDateTime(const std::string& text, DateTime& value);

// The value with its fraction of a second rounded to `digits` places (0-6).
DateTime roundFraction(DateTime value, int digits);
