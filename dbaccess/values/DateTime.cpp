#include "DateTime.h"

#include "dbaccess/values/Exceptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t microsecondsPerSecond = 1'000'000;
constexpr std::int64_t oleEpochFromUnix = 25569; // 1899-12-30 to 1970-01-01
constexpr std::int64_t longestDuration =
    (838LL * 3600 + 59 * 60 + 59) * microsecondsPerSecond + 999'999;

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

std::string fractionText(std::int64_t micros) {
    if (micros == 0) {
        return {};
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, ".%06lld", static_cast<long long>(micros));
    return digits;
}

// A cursor over text being parsed.
class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool take(char c) {
        if (peek() != c || atEnd()) {
            return false;
        }
        ++pos_;
        return true;
    }
    // Exactly `digits` digits, or between min and max digits when max > min.
    bool number(std::size_t minDigits, std::size_t maxDigits, std::int64_t& out) {
        std::size_t count = 0;
        std::int64_t result = 0;
        while (count < maxDigits && !atEnd() && peek() >= '0' && peek() <= '9') {
            result = result * 10 + (text_[pos_++] - '0');
            ++count;
        }
        out = result;
        return count >= minDigits;
    }
    // Fraction digits after a point, rounded to microseconds.
    std::int64_t fraction() {
        std::int64_t micros = 0;
        int count = 0;
        bool roundUp = false;
        while (!atEnd() && peek() >= '0' && peek() <= '9') {
            const int digit = text_[pos_++] - '0';
            if (count < 6) {
                micros = micros * 10 + digit;
            } else if (count == 6) {
                roundUp = digit >= 5;
            }
            ++count;
        }
        for (; count < 6; ++count) {
            micros *= 10;
        }
        return micros + (roundUp ? 1 : 0);
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

// "HH:MM[:SS[.f]]" as microseconds; hours up to maxHours.
bool parseClock(Scanner& scan, std::size_t maxHourDigits, std::int64_t maxHours,
                std::int64_t& micros) {
    std::int64_t hour = 0, minute = 0, second = 0, fraction = 0;
    if (!scan.number(1, maxHourDigits, hour) || !scan.take(':') || !scan.number(2, 2, minute)) {
        return false;
    }
    if (scan.take(':')) {
        if (!scan.number(2, 2, second)) {
            return false;
        }
        if (scan.take('.')) {
            fraction = scan.fraction();
        }
    }
    if (hour > maxHours || minute > 59 || second > 60) {
        return false;
    }
    micros = ((hour * 60 + minute) * 60 + second) * microsecondsPerSecond + fraction;
    return true;
}

// "Z", "+HH", "+HH:MM", "+HHMM" and the same with "-": the offset east of UTC.
bool parseZone(Scanner& scan, std::int64_t& offset) {
    offset = 0;
    if (scan.take('Z')) {
        return true;
    }
    const bool west = scan.peek() == '-';
    if (!scan.take('+') && !scan.take('-')) {
        return false;
    }
    std::int64_t hours = 0, minutes = 0, seconds = 0;
    if (!scan.number(2, 2, hours)) {
        return false;
    }
    scan.take(':');
    if (scan.number(2, 2, minutes)) {
        scan.take(':');
        scan.number(2, 2, seconds);
    }
    offset = ((hours * 60 + minutes) * 60 + seconds) * microsecondsPerSecond;
    if (west) {
        offset = -offset;
    }
    return hours <= 15 && minutes < 60 && seconds < 60;
}

} // namespace

DateTime DateTime::fromDays(double days) {
    const double micros = std::round(days * static_cast<double>(microsecondsPerDay));
    // Beyond about 290 000 years the microseconds no longer fit.
    if (!std::isfinite(micros) || std::fabs(micros) >= 9.2e18) {
        throw EVariantError("Could not convert variant to type (Date)");
    }
    return DateTime{static_cast<std::int64_t>(micros)};
}

double DateTime::days() const noexcept {
    const std::int64_t whole = floorDiv(microseconds, microsecondsPerDay);
    const std::int64_t rest = microseconds - whole * microsecondsPerDay;
    return static_cast<double>(whole) +
           static_cast<double>(rest) / static_cast<double>(microsecondsPerDay);
}

DateTime toDateTime(const CalendarTime& time) {
    const std::int64_t days = daysFromCivil(time.year, static_cast<unsigned>(time.month),
                                            static_cast<unsigned>(time.day)) +
                              oleEpochFromUnix;
    const std::int64_t seconds = (time.hour * 60LL + time.minute) * 60 + time.second;
    return DateTime{days * microsecondsPerDay + seconds * microsecondsPerSecond + time.microsecond};
}

CalendarTime toCalendarTime(DateTime value) {
    const std::int64_t days = floorDiv(value.microseconds, microsecondsPerDay);
    const std::int64_t micros = value.microseconds - days * microsecondsPerDay;
    CalendarTime time;
    civilFromDays(days - oleEpochFromUnix, time.year, time.month, time.day);
    time.microsecond = static_cast<int>(micros % microsecondsPerSecond);
    const std::int64_t seconds = micros / microsecondsPerSecond;
    time.second = static_cast<int>(seconds % 60);
    time.minute = static_cast<int>(seconds / 60 % 60);
    time.hour = static_cast<int>(seconds / 3600);
    return time;
}

std::int64_t timeOfDay(DateTime value) {
    return value.microseconds -
           floorDiv(value.microseconds, microsecondsPerDay) * microsecondsPerDay;
}

bool isDuration(DateTime value) {
    return (value.microseconds < 0 || value.microseconds >= microsecondsPerDay) &&
           std::llabs(value.microseconds) <= longestDuration;
}

std::string formatDateTime(DateTime value) {
    const CalendarTime t = toCalendarTime(value);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer + fractionText(t.microsecond);
}

std::string formatDate(DateTime value) {
    const std::string text = formatDateTime(value);
    return text.substr(0, text.find(' '));
}

std::string formatTime(DateTime value) {
    const bool negative = isDuration(value) && value.microseconds < 0;
    const std::int64_t micros =
        isDuration(value) ? std::llabs(value.microseconds) : timeOfDay(value);
    const std::int64_t seconds = micros / microsecondsPerSecond;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02lld:%02lld", negative ? "-" : "",
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    return buffer + fractionText(micros % microsecondsPerSecond);
}

bool parseDateTime(const std::string& raw, DateTime& value) {
    const auto first = raw.find_first_not_of(" \t\r\n");
    const auto last = raw.find_last_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return false;
    }
    const std::string text = raw.substr(first, last - first + 1);
    Scanner scan(text);
    const auto colon = text.find(':');
    const auto dash = text.find('-', text[0] == '-' ? 1 : 0);
    if (colon != std::string::npos && (dash == std::string::npos || colon < dash)) {
        // A time of day or a duration.
        const bool negative = scan.take('-');
        std::int64_t micros = 0, offset = 0;
        if (!parseClock(scan, 3, 838, micros)) {
            return false;
        }
        if (!scan.atEnd()) {
            // A zoned time of day becomes the time of day in UTC.
            if (negative || !parseZone(scan, offset) || !scan.atEnd()) {
                return false;
            }
            micros = timeOfDay(DateTime{micros - offset});
        }
        value = DateTime{negative ? -micros : micros};
        return true;
    }
    std::int64_t year = 0, month = 0, day = 0;
    if (!scan.number(4, 6, year) || !scan.take('-') || !scan.number(2, 2, month) ||
        // Later years would overflow the count of microseconds.
        !scan.take('-') || !scan.number(2, 2, day) || year < 1 || year > 294000 || month < 1 ||
        month > 12 || day < 1 ||
        day > daysInMonth(static_cast<int>(year), static_cast<int>(month))) {
        return false;
    }
    std::int64_t micros = 0, offset = 0;
    if (!scan.atEnd()) {
        if (!(scan.take(' ') || scan.take('T')) || !parseClock(scan, 2, 24, micros)) {
            return false;
        }
        if (!scan.atEnd() && !parseZone(scan, offset)) {
            return false;
        }
    }
    if (!scan.atEnd()) {
        return false;
    }
    CalendarTime date;
    date.year = static_cast<int>(year);
    date.month = static_cast<int>(month);
    date.day = static_cast<int>(day);
    value = DateTime{toDateTime(date).microseconds + micros - offset};
    return true;
}

DateTime roundFraction(DateTime value, int digits) {
    if (digits >= 6) {
        return value;
    }
    std::int64_t unit = 1;
    for (int i = digits; i < 6; ++i) {
        unit *= 10;
    }
    const std::int64_t below = floorDiv(value.microseconds, unit) * unit;
    const std::int64_t rest = value.microseconds - below;
    return DateTime{rest * 2 >= unit ? below + unit : below};
}
