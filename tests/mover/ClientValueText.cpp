#include "ClientValueText.h"

#include <cctype>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

std::string lower(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

int nibble(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

std::string printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The double of "bits:" and sixteen hex digits, the way SQLite's client gives a REAL.
std::optional<double> fromBits(const std::string& text) {
    if (text.rfind("bits:", 0) != 0 || text.size() != 21) {
        return std::nullopt;
    }
    const std::uint64_t bits = std::strtoull(text.c_str() + 5, nullptr, 16);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::optional<double> parseDouble(const std::string& text) {
    if (const auto bits = fromBits(text)) {
        return bits;
    }
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' ? std::optional<double>(value) : std::nullopt;
}

// The float nearest to a double, as the hardware rounds, also past the
// largest float, where a plain conversion is undefined.
float toSingle(double value) {
    const double magnitude = std::fabs(value);
    if (std::isnan(value) || magnitude <= FLT_MAX) {
        return static_cast<float>(value);
    }
    // Up to half a step past the largest float rounds back to it.
    const double halfStep = std::ldexp(1.0, FLT_MAX_EXP - FLT_MANT_DIG - 1);
    const float nearest = magnitude < FLT_MAX + halfStep ? FLT_MAX : INFINITY;
    return value < 0 ? -nearest : nearest;
}

// Decimal text without exponent, sign of plus, leading or trailing zeros.
std::optional<std::string> exactDecimal(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    std::string digits;
    long exponent = 0;
    bool point = false;
    for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.');
         ++i) {
        if (text[i] == '.') {
            if (point) {
                return std::nullopt;
            }
            point = true;
        } else {
            digits += text[i];
            exponent -= point ? 1 : 0;
        }
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        char* end = nullptr;
        const long power = std::strtol(text.c_str() + i + 1, &end, 10);
        if (*end != '\0' || end == text.c_str() + i + 1 || std::labs(power) > 400) {
            return std::nullopt;
        }
        exponent += power;
    } else if (i != text.size()) {
        return std::nullopt;
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (digits.empty()) {
        return "0";
    }
    if (exponent >= 0) {
        digits += std::string(static_cast<std::size_t>(exponent), '0');
    } else {
        const long whole = static_cast<long>(digits.size()) + exponent;
        digits = whole > 0 ? digits.insert(static_cast<std::size_t>(whole), ".")
                           : "0." + std::string(static_cast<std::size_t>(-whole), '0') + digits;
    }
    return negative ? "-" + digits : digits;
}

struct Clock {
    int hour = 0, minute = 0, second = 0, micro = 0;
};

// Reads `count` digits at `at` into `value`.
bool number(const std::string& text, std::size_t& at, std::size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

bool skip(const std::string& text, std::size_t& at, char c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

// HH:MM:SS with up to six digits of fraction (more only when they are zeros).
bool readClock(const std::string& text, std::size_t& at, Clock& time) {
    if (!number(text, at, 2, time.hour) || !skip(text, at, ':') ||
        !number(text, at, 2, time.minute) || !skip(text, at, ':') ||
        !number(text, at, 2, time.second)) {
        return false;
    }
    time.micro = 0;
    if (skip(text, at, '.')) {
        int place = 100000;
        const std::size_t first = at;
        for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
            const int digit = text[at] - '0';
            if (place == 0 && digit != 0) {
                return false;
            }
            time.micro += digit * place;
            place /= 10;
        }
        return at > first;
    }
    return true;
}

// Minutes east of UTC: Z, +HH, +HHMM or +HH:MM.
bool offset(const std::string& text, std::size_t& at, int& minutes) {
    minutes = 0;
    if (at == text.size()) {
        return true;
    }
    if (skip(text, at, 'Z')) {
        return at == text.size();
    }
    const char sign = text[at];
    if (sign != '+' && sign != '-') {
        return false;
    }
    ++at;
    int hours = 0;
    int rest = 0;
    if (!number(text, at, 2, hours)) {
        return false;
    }
    skip(text, at, ':');
    if (at < text.size() && !number(text, at, 2, rest)) {
        return false;
    }
    minutes = (sign == '-' ? -1 : 1) * (hours * 60 + rest);
    return at == text.size();
}

std::optional<std::string> dateTime(const std::string& text, Family family) {
    std::size_t at = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!number(text, at, 4, year) || !skip(text, at, '-') || !number(text, at, 2, month) ||
        !skip(text, at, '-') || !number(text, at, 2, day)) {
        return std::nullopt;
    }
    Clock time;
    if (at < text.size() && (text[at] == ' ' || text[at] == 'T')) {
        ++at;
        if (!readClock(text, at, time)) {
            return std::nullopt;
        }
    }
    int minutes = 0;
    if (family == Family::ZonedTimestamp) {
        if (!offset(text, at, minutes)) {
            return std::nullopt;
        }
    } else if (at != text.size()) {
        return std::nullopt;
    }
    // MariaDB's zero dates and other impossible ones stay as they are.
    const std::chrono::year_month_day calendar{std::chrono::year{year},
                                               std::chrono::month{static_cast<unsigned>(month)},
                                               std::chrono::day{static_cast<unsigned>(day)}};
    if (!calendar.ok() || time.hour > 23 || time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    char out[64];
    if (family == Family::Date) {
        if (time.hour != 0 || time.minute != 0 || time.second != 0 || time.micro != 0) {
            return std::nullopt;
        }
        std::snprintf(out, sizeof out, "%04d-%02d-%02d", year, month, day);
        return out;
    }
    using namespace std::chrono;
    const auto local =
        sys_days{calendar} + hours{time.hour} + std::chrono::minutes{time.minute - minutes};
    const year_month_day utc{floor<days>(local)};
    const hh_mm_ss clockTime{local - floor<days>(local)};
    std::snprintf(out, sizeof out, "%04d-%02u-%02u %02d:%02d:%02d.%06d",
                  static_cast<int>(utc.year()), static_cast<unsigned>(utc.month()),
                  static_cast<unsigned>(utc.day()), static_cast<int>(clockTime.hours().count()),
                  static_cast<int>(clockTime.minutes().count()), time.second, time.micro);
    return out;
}

// A uuid as text, from its text or from its sixteen bytes; SQLite may keep
// either in a blob.
std::optional<std::string> canonicalUuid(const std::string& text) {
    if (text.rfind("blob:", 0) == 0) {
        const std::string bytes = bytesFromHex(text, 5);
        return canonicalUuid(bytes.size() == 16 ? text.substr(5) : bytes);
    }
    std::string hex;
    for (const char c : lower(text)) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            hex += c;
        } else if (c != '-' && c != '{' && c != '}') {
            return std::nullopt;
        }
    }
    if (hex.size() != 32) {
        return std::nullopt;
    }
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20);
}

std::optional<std::string> canonical(Family family, const std::string& text) {
    switch (family) {
    case Family::Boolean: {
        const std::string flag = lower(text);
        if (flag == "1" || flag == "t" || flag == "true") {
            return "1";
        }
        if (flag == "0" || flag == "f" || flag == "false") {
            return "0";
        }
        const auto value = fromBits(text);
        if (value && (*value == 0 || *value == 1)) {
            return *value == 0 ? "0" : "1";
        }
        return std::nullopt;
    }
    case Family::Integer:
    case Family::Decimal:
        // A REAL in SQLite holds a decimal to the 15 digits SQLite keeps.
        if (const auto value = fromBits(text)) {
            return exactDecimal(printed("%.15g", *value));
        }
        return exactDecimal(text);
    case Family::Double:
        if (const auto value = parseDouble(text)) {
            return printed("%.17g", *value);
        }
        return std::nullopt;
    case Family::Single:
        if (const auto value = parseDouble(text)) {
            return printed("%.9g", static_cast<double>(toSingle(*value)));
        }
        return std::nullopt;
    case Family::Date:
    case Family::Timestamp:
    case Family::ZonedTimestamp:
        return dateTime(text, family);
    case Family::Time: {
        // A duration may have a sign and hundreds of hours ("-100:00:00").
        const std::size_t sign = text.starts_with('-') ? 1 : 0;
        std::size_t at = sign;
        int hundreds = 0;
        Clock time;
        if ((text.find(':') == sign + 3 && !number(text, at, 1, hundreds)) ||
            !readClock(text, at, time) || at != text.size()) {
            return std::nullopt;
        }
        char out[40];
        std::snprintf(out, sizeof out, "%s%02d:%02d:%02d.%06d", sign ? "-" : "",
                      hundreds * 100 + time.hour, time.minute, time.second, time.micro);
        return out;
    }
    case Family::FixedText: {
        const auto end = text.find_last_not_of(' ');
        return end == std::string::npos ? std::string() : text.substr(0, end + 1);
    }
    case Family::Uuid:
        return canonicalUuid(text);
    case Family::Text:
    case Family::Blob:
        return text;
    }
    return std::nullopt;
}

} // namespace

std::string bytesFromHex(const std::string& hex, std::size_t from) {
    std::string bytes((hex.size() - from) / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] =
            static_cast<char>(nibble(hex[from + 2 * i]) * 16 + nibble(hex[from + 2 * i + 1]));
    }
    return bytes;
}

std::string canonicalValue(Family family, const std::string& text) {
    const auto value = canonical(family, text);
    return value ? *value : "?" + text;
}
