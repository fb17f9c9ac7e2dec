#include "Variant.h"

#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/UnicodeText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

[[noreturn]] void cannotConvert(const char* to) {
    throw EVariantError(std::string("Could not convert variant to type (") + to + ")");
}

bool parseInt64(const std::string& raw, std::int64_t& value) {
    const std::string text = trimmed(raw);
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    const auto [ptr, error] = std::from_chars(begin, end, value);
    return error == std::errc() && ptr == end && begin != end;
}

bool parseDouble(const std::string& raw, double& value) {
    const std::string text = trimmed(raw);
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    const auto [ptr, error] = std::from_chars(begin, end, value);
    return error == std::errc() && ptr == end && begin != end;
}

// Rounds decimal text to four places and scales it by 10,000.
bool decimalToCurrency(const Decimal& decimal, Currency& currency) {
    const std::string& text = decimal.text;
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t point = text.find('.');
    const std::string whole =
        text.substr(start, point == std::string::npos ? std::string::npos : point - start);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    const bool roundUp = fraction.size() > 4 && fraction[4] >= '5';
    fraction.resize(4, '0');
    constexpr auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t scaled = 0;
    for (const char c : whole + fraction) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (scaled > (limit - digit) / 10) {
            return false;
        }
        scaled = scaled * 10 + digit;
    }
    if (roundUp) {
        if (scaled == limit) {
            return false;
        }
        ++scaled;
    }
    currency.scaled =
        negative ? -static_cast<std::int64_t>(scaled) : static_cast<std::int64_t>(scaled);
    return true;
}

std::string currencyText(Currency currency) {
    const bool negative = currency.scaled < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(currency.scaled)
                 : static_cast<unsigned long long>(currency.scaled);
    std::string text = std::to_string(magnitude / 10000);
    unsigned long long fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04llu", fraction);
        std::string tail(digits);
        while (tail.back() == '0') {
            tail.pop_back();
        }
        text += "." + tail;
    }
    return negative ? "-" + text : text;
}

} // namespace

std::string formatDouble(double value) {
    char buffer[64];
    const auto [ptr, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, ptr) : std::string("NAN");
}

bool parseDecimalText(const std::string& raw, Decimal& value) {
    const std::string text = trimmed(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits;
    long long pointPosition = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == '.' && pointPosition < 0) {
            pointPosition = static_cast<long long>(digits.size());
        } else {
            break;
        }
    }
    if (digits.empty()) {
        return false;
    }
    if (pointPosition < 0) {
        pointPosition = static_cast<long long>(digits.size());
    }
    // An exponent moves the point.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        std::int64_t exponent = 0;
        std::string exponentText = text.substr(i);
        if (!parseInt64(exponentText, exponent) || exponent > 400 || exponent < -400) {
            return false;
        }
        i = text.size();
        pointPosition += exponent;
    }
    if (i != text.size()) {
        return false;
    }
    if (pointPosition < 0) {
        digits.insert(0, static_cast<std::size_t>(-pointPosition), '0');
        pointPosition = 0;
    }
    if (pointPosition > static_cast<long long>(digits.size())) {
        digits.append(static_cast<std::size_t>(pointPosition) - digits.size(), '0');
    }
    std::string whole = digits.substr(0, static_cast<std::size_t>(pointPosition));
    const std::string fraction = digits.substr(static_cast<std::size_t>(pointPosition));
    const auto firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? "0" : whole.substr(firstDigit);
    std::string result = whole;
    if (!fraction.empty()) {
        result += "." + fraction;
    }
    const bool isZero = result.find_first_not_of("0.") == std::string::npos;
    value.text = negative && !isZero ? "-" + result : result;
    return true;
}

std::string Variant::toString() const {
    switch (kind()) {
    case Kind::Unassigned:
    case Kind::Null:
        return {};
    case Kind::SmallInt:
        return std::to_string(*get<std::int16_t>());
    case Kind::Integer:
        return std::to_string(*get<std::int32_t>());
    case Kind::LargeInt:
        return std::to_string(*get<std::int64_t>());
    case Kind::Double:
        return formatDouble(*get<double>());
    case Kind::Currency:
        return currencyText(*get<Currency>());
    case Kind::DateTime:
        return formatDateTime(*get<DateTime>());
    case Kind::Boolean:
        return *get<bool>() ? "True" : "False";
    case Kind::String:
        return *get<std::string>();
    case Kind::WideString:
        return utf16ToUtf8(*get<std::u16string>());
    case Kind::ByteArray: {
        const Bytes& bytes = *get<Bytes>();
        return std::string(bytes.begin(), bytes.end());
    }
    case Kind::Decimal:
        return get<Decimal>()->text;
    case Kind::InterfaceRef:
        break;
    }
    cannotConvert("String");
}

std::u16string Variant::toWideString() const {
    return utf8ToUtf16(toString());
}

std::int64_t Variant::toInt64() const {
    switch (kind()) {
    case Kind::Unassigned:
    case Kind::Null:
        return 0;
    case Kind::SmallInt:
        return *get<std::int16_t>();
    case Kind::Integer:
        return *get<std::int32_t>();
    case Kind::LargeInt:
        return *get<std::int64_t>();
    case Kind::Boolean:
        return *get<bool>() ? 1 : 0;
    case Kind::Currency: {
        const std::int64_t scaled = get<Currency>()->scaled;
        return (scaled + (scaled >= 0 ? 5000 : -5000)) / 10000;
    }
    case Kind::Double:
    case Kind::DateTime: {
        const double number = kind() == Kind::Double ? *get<double>() : get<DateTime>()->days();
        if (!std::isfinite(number) || number >= 9.2233720368547758e18 ||
            number < -9.2233720368547758e18) {
            cannotConvert("Int64");
        }
        return static_cast<std::int64_t>(std::round(number));
    }
    case Kind::String:
    case Kind::WideString:
    case Kind::Decimal: {
        const std::string text = toString();
        std::int64_t integer = 0;
        if (parseInt64(text, integer)) {
            return integer;
        }
        Decimal decimal;
        if (parseDecimalText(text, decimal)) {
            const std::string whole = decimal.text.substr(0, decimal.text.find('.'));
            const bool roundUp = decimal.text.find('.') != std::string::npos &&
                                 decimal.text[decimal.text.find('.') + 1] >= '5';
            if (parseInt64(whole, integer)) {
                if (roundUp) {
                    integer += whole[0] == '-' ? -1 : 1;
                }
                return integer;
            }
        }
        cannotConvert("Int64");
    }
    case Kind::ByteArray:
    case Kind::InterfaceRef:
        break;
    }
    cannotConvert("Int64");
}

double Variant::toDouble() const {
    switch (kind()) {
    case Kind::Unassigned:
    case Kind::Null:
        return 0;
    case Kind::Double:
        return *get<double>();
    case Kind::DateTime:
        return get<DateTime>()->days();
    case Kind::Currency:
        return static_cast<double>(get<Currency>()->scaled) / 10000.0;
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
    case Kind::Boolean:
        return static_cast<double>(toInt64());
    case Kind::String:
    case Kind::WideString:
    case Kind::Decimal: {
        double number = 0;
        if (parseDouble(toString(), number)) {
            return number;
        }
        cannotConvert("Double");
    }
    case Kind::ByteArray:
    case Kind::InterfaceRef:
        break;
    }
    cannotConvert("Double");
}

bool Variant::toBoolean() const {
    switch (kind()) {
    case Kind::Unassigned:
    case Kind::Null:
        return false;
    case Kind::Boolean:
        return *get<bool>();
    case Kind::String:
    case Kind::WideString: {
        const std::string text = trimmed(toString());
        std::string lower;
        for (const char c : text) {
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (lower == "true" || lower == "t" || lower == "yes" || lower == "y") {
            return true;
        }
        if (lower == "false" || lower == "f" || lower == "no" || lower == "n") {
            return false;
        }
        return toDouble() != 0;
    }
    case Kind::ByteArray:
    case Kind::InterfaceRef:
        cannotConvert("Boolean");
    default:
        return toDouble() != 0;
    }
}

Currency Variant::toCurrency() const {
    switch (kind()) {
    case Kind::Currency:
        return *get<Currency>();
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
    case Kind::Boolean: {
        const std::int64_t integer = toInt64();
        if (integer > std::numeric_limits<std::int64_t>::max() / 10000 ||
            integer < std::numeric_limits<std::int64_t>::min() / 10000) {
            cannotConvert("Currency");
        }
        return Currency{integer * 10000};
    }
    default: {
        Currency currency;
        if (!decimalToCurrency(toDecimal(), currency)) {
            cannotConvert("Currency");
        }
        return currency;
    }
    }
}

DateTime Variant::toDateTime() const {
    switch (kind()) {
    case Kind::Unassigned:
    case Kind::Null:
        return DateTime{};
    case Kind::DateTime:
        return *get<DateTime>();
    case Kind::String:
    case Kind::WideString: {
        DateTime value;
        if (parseDateTime(toString(), value)) {
            return value;
        }
        cannotConvert("Date");
    }
    case Kind::ByteArray:
    case Kind::InterfaceRef:
        cannotConvert("Date");
    default:
        return DateTime::fromDays(toDouble());
    }
}

Decimal Variant::toDecimal() const {
    switch (kind()) {
    case Kind::Decimal:
        return *get<Decimal>();
    case Kind::Unassigned:
    case Kind::Null:
        return Decimal{"0"};
    case Kind::ByteArray:
    case Kind::InterfaceRef:
        cannotConvert("Decimal");
    default: {
        Decimal decimal;
        if (parseDecimalText(toString(), decimal)) {
            return decimal;
        }
        cannotConvert("Decimal");
    }
    }
}

Bytes Variant::toBytes() const {
    switch (kind()) {
    case Kind::ByteArray:
        return *get<Bytes>();
    case Kind::String: {
        const std::string& text = *get<std::string>();
        return Bytes(text.begin(), text.end());
    }
    default:
        cannotConvert("Array of Byte");
    }
}
