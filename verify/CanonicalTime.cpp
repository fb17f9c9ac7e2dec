#include "CanonicalTime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + static_cast<std::int64_t>(yoe * 365 + yoe / 4 - yoe / 100 + doy);
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

// Digits at pos, at least min and at most max of them.
bool digitsAt(const std::string& text, std::size_t& pos, std::size_t min, std::size_t max,
              std::int64_t& out) {
    std::size_t count = 0;
    out = 0;
    while (pos < text.size() && count < max && text[pos] >= '0' && text[pos] <= '9') {
        out = out * 10 + (text[pos++] - '0');
        ++count;
    }
    return count >= min;
}

// "HH:MM[:SS[.f]][zone]" from pos as microseconds, the zone east of UTC apart;
// digits beyond the microsecond, without trailing zeros, go to finer.
bool clockAt(const std::string& text, std::size_t& pos, std::int64_t& micros, std::int64_t& offset,
             std::string& finer) {
    std::int64_t hour = 0, minute = 0, second = 0, fraction = 0;
    if (!digitsAt(text, pos, 1, 3, hour) || pos >= text.size() || text[pos++] != ':' ||
        !digitsAt(text, pos, 2, 2, minute) || minute > 59) {
        return false;
    }
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (!digitsAt(text, pos, 2, 2, second) || second > 59) {
            return false;
        }
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            std::int64_t scale = 100000;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                if (scale > 0) {
                    fraction += (text[pos] - '0') * scale;
                    scale /= 10;
                } else {
                    finer += text[pos];
                }
                ++pos;
            }
            finer.erase(finer.find_last_not_of('0') + 1);
        }
    }
    micros = ((hour * 60 + minute) * 60 + second) * 1000000 + fraction;
    offset = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const bool west = text[pos++] == '-';
        std::int64_t hours = 0, minutes = 0;
        if (!digitsAt(text, pos, 2, 2, hours)) {
            return false;
        }
        if (pos < text.size() && text[pos] == ':') {
            ++pos;
        }
        digitsAt(text, pos, 0, 2, minutes);
        offset = (hours * 60 + minutes) * 60 * 1000000 * (west ? -1 : 1);
    } else if (pos < text.size() && text[pos] == 'Z') {
        ++pos;
    }
    return pos == text.size();
}

bool isLeapYear(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Whether a day exists: no zero month or day, no February 30.
bool isRealDate(std::int64_t year, std::int64_t month, std::int64_t day) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

std::string clockText(std::int64_t micros, const std::string& finer) {
    char buffer[48];
    const bool negative = micros < 0;
    micros = std::llabs(micros);
    std::snprintf(
        buffer, sizeof buffer, "%s%02lld:%02lld:%02lld.%06lld", negative ? "-" : "",
        static_cast<long long>(micros / 3600000000), static_cast<long long>(micros / 60000000 % 60),
        static_cast<long long>(micros / 1000000 % 60), static_cast<long long>(micros % 1000000));
    return buffer + finer;
}

} // namespace

std::string canonicalTime(const std::string& raw, const std::string& text) {
    std::size_t pos = text.empty() || text[0] != '-' ? 0 : 1;
    std::int64_t micros = 0, offset = 0;
    std::string finer;
    if (!clockAt(text, pos, micros, offset, finer)) {
        return raw;
    }
    constexpr std::int64_t day = 86400000000;
    if (offset != 0) {
        micros = ((micros - offset) % day + day) % day;
    }
    return clockText(text[0] == '-' ? -micros : micros, finer);
}

// "YYYY-MM-DD HH:MM:SS.ffffff" in UTC, " BC" after it before the year 1; the
// raw text when it reads otherwise or names no real day.
std::string canonicalTimestamp(const std::string& raw, const std::string& written) {
    constexpr const char* era = " BC";
    const bool beforeChrist =
        written.size() > 3 && written.compare(written.size() - 3, 3, era) == 0;
    const std::string text = beforeChrist ? written.substr(0, written.size() - 3) : written;
    std::size_t pos = 0;
    std::int64_t year = 0, month = 0, dayOfMonth = 0;
    if (!digitsAt(text, pos, 4, 6, year) || pos >= text.size() || text[pos++] != '-' ||
        !digitsAt(text, pos, 2, 2, month) || pos >= text.size() || text[pos++] != '-' ||
        !digitsAt(text, pos, 2, 2, dayOfMonth)) {
        return raw;
    }
    // 1 BC is the year 0 of the calendar the arithmetic uses.
    if (beforeChrist) {
        year = 1 - year;
    }
    std::int64_t micros = 0, offset = 0;
    std::string finer;
    if (!isRealDate(year, month, dayOfMonth)) {
        // A date with a zero month or day (MariaDB's) as written, its time
        // of day in the one spelling.
        const bool zeroParts = !beforeChrist && month <= 12 && dayOfMonth <= 31 &&
                               (year == 0 || month == 0 || dayOfMonth == 0);
        if (!zeroParts || pos == text.size()) {
            return raw;
        }
        const std::string date = text.substr(0, pos);
        if (text[pos] != ' ' || !clockAt(text, ++pos, micros, offset, finer) ||
            micros >= 86400000000 || offset != 0) {
            return raw;
        }
        return date + " " + clockText(micros, finer);
    }
    if (pos < text.size()) {
        if ((text[pos] != ' ' && text[pos] != 'T') ||
            !clockAt(text, ++pos, micros, offset, finer) || micros >= 86400000000) {
            return raw;
        }
    }
    constexpr std::int64_t day = 86400000000;
    const std::int64_t instant =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(dayOfMonth)) * day +
        micros - offset;
    const std::int64_t days = (instant >= 0 ? instant : instant - day + 1) / day;
    unsigned m = 0, d = 0;
    std::int64_t y = 0;
    civilFromDays(days, y, m, d);
    char date[32];
    std::snprintf(date, sizeof date, "%04lld-%02u-%02u ", static_cast<long long>(y > 0 ? y : 1 - y),
                  m, d);
    return date + clockText(instant - days * day, finer) + (y > 0 ? "" : era);
}
