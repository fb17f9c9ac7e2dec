#include "CanonicalValue.h"

#include "CanonicalTime.h"
#include "ClassMarks.h"
#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/values/TStrings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

namespace P = ProviderType;

bool readDouble(const std::string& raw, double& number) {
    const std::string text = trimmed(raw);
    const std::string name = lowerCase(text);
    if (name == "nan") {
        number = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (name == "infinity" || name == "inf" || name == "-infinity" || name == "-inf") {
        number = name[0] == '-' ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity();
        return true;
    }
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), number);
    // Beyond a double's range from_chars refuses; SQLite writes infinity so.
    if (error == std::errc::result_out_of_range) {
        number = text[0] == '-' ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity();
        return end == text.data() + text.size();
    }
    return error == std::errc() && end == text.data() + text.size() && begin != end;
}

std::string shortest(double number) {
    if (std::isnan(number)) {
        return "NaN";
    }
    if (std::isinf(number)) {
        return number > 0 ? "Infinity" : "-Infinity";
    }
    if (number == 0) {
        return std::signbit(number) ? "-0" : "0";
    }
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, end);
}

// The float a double stands for: beyond the largest float only what rounds
// to it (its shortest text read as a double) is the largest float.
float nearestFloat(double number) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (!std::isfinite(number) || std::fabs(number) <= largest) {
        return static_cast<float>(number);
    }
    const float magnitude = std::fabs(number) < largest + std::ldexp(1.0, 103)
                                ? std::numeric_limits<float>::max()
                                : std::numeric_limits<float>::infinity();
    return number < 0 ? -magnitude : magnitude;
}

std::string shortestFloat(float number) {
    if (!std::isfinite(number) || number == 0) {
        return shortest(number);
    }
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, end);
}

// Exact decimal text: no plus sign, no leading zeros, no trailing zeros of
// the fraction, the exponent worked in. Empty when it is no number.
std::string exactDecimal(const std::string& raw) {
    const std::string text = trimmed(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i++] == '-';
    }
    std::string digits;
    long long point = -1;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        } else if (text[i] == '.' && point < 0) {
            point = static_cast<long long>(digits.size());
        } else {
            break;
        }
    }
    if (digits.empty()) {
        return {};
    }
    if (point < 0) {
        point = static_cast<long long>(digits.size());
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        long long exponent = 0;
        const char* begin = text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(begin, text.data() + text.size(), exponent);
        if (error != std::errc() || end != text.data() + text.size() ||
            std::llabs(exponent) > 400) {
            return {};
        }
        point += exponent;
        i = text.size();
    }
    if (i != text.size()) {
        return {};
    }
    if (point < 0) {
        digits.insert(0, static_cast<std::size_t>(-point), '0');
        point = 0;
    }
    if (point > static_cast<long long>(digits.size())) {
        digits.append(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    std::string whole = digits.substr(0, static_cast<std::size_t>(point));
    std::string fraction = digits.substr(static_cast<std::size_t>(point));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    std::string result = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
    return negative && result != "0" ? "-" + result : result;
}

std::size_t significantDigits(const std::string& decimal) {
    std::string digits;
    for (const char c : decimal) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.size() - first;
}

std::string canonicalNumber(const RawValue& value) {
    if (value.form != RawForm::Double) {
        const std::string exact = exactDecimal(value.data);
        if (exact.empty()) {
            return value.data;
        }
        // SQLite's exact text of a double has 21 digits: the double is meant.
        const bool isDoubleText =
            value.data.find_first_of("eE") != std::string::npos && significantDigits(exact) > 17;
        double number = 0;
        return isDoubleText && readDouble(value.data, number) ? exactDecimal(shortest(number))
                                                              : exact;
    }
    return exactDecimal(shortest(value.number));
}

std::string canonicalBoolean(const RawValue& value) {
    const std::string text = lowerCase(trimmed(value.data));
    if (text == "t" || text == "true" || text == "y" || text == "yes" || text == "on") {
        return "1";
    }
    if (text == "f" || text == "false" || text == "n" || text == "no" || text == "off") {
        return "0";
    }
    return canonicalNumber(value);
}

// BIT values come as bytes, the most significant first.
std::string bitsAsNumber(const std::string& bytes) {
    if (bytes.size() > sizeof(std::uint64_t)) {
        return bytes;
    }
    std::uint64_t number = 0;
    for (const char c : bytes) {
        number = number << 8 | static_cast<unsigned char>(c);
    }
    return std::to_string(number);
}

} // namespace

ValueFamily familyOf(const ColumnInfo& column) {
    switch (column.storage) {
    case StorageKind::Boolean:
        return ValueFamily::Boolean;
    case StorageKind::Integer:
    case StorageKind::Unsigned:
    case StorageKind::Decimal:
        return ValueFamily::Number;
    case StorageKind::Double:
        return column.providerType == P::Single ? ValueFamily::Single : ValueFamily::Double;
    case StorageKind::DateTime:
        return column.providerType == P::DBDate   ? ValueFamily::Date
               : column.providerType == P::DBTime ? ValueFamily::Time
                                                  : ValueFamily::Timestamp;
    case StorageKind::Binary:
        return ValueFamily::Bytes;
    case StorageKind::Text:
        break;
    }
    if (column.providerType == P::GUID) {
        return ValueFamily::Guid;
    }
    return column.providerType == P::Char || column.providerType == P::WChar
               ? ValueFamily::FixedText
               : ValueFamily::Text;
}

ValueFamily familyOf(const ColumnInfo& source, const ColumnInfo& target) {
    const ValueFamily other = familyOf(target);
    // A SQLite column with no declared type holds what its values are; the
    // column made for them says how they compare.
    if (source.untyped) {
        return other;
    }
    const ValueFamily family = familyOf(source);
    const bool textual = family == ValueFamily::Text || family == ValueFamily::FixedText ||
                         family == ValueFamily::Guid;
    // Padding counts only where the source pads: a VARCHAR's trailing blanks
    // must arrive in a CHAR column as they are.
    if (textual && other == ValueFamily::Guid) {
        return other;
    }
    return family;
}

bool ordersAsNumber(ValueFamily family) {
    return family == ValueFamily::Boolean || family == ValueFamily::Number ||
           family == ValueFamily::Single || family == ValueFamily::Double;
}

std::string canonicalValue(ValueFamily family, const RawValue& value, bool singleColumn) {
    if (value.form == RawForm::Double && !ordersAsNumber(family)) {
        RawValue text = value;
        text.form = RawForm::Text;
        text.data = shortest(value.number);
        return canonicalValue(family, text);
    }
    if (value.form == RawForm::Bytes &&
        (family == ValueFamily::Boolean || family == ValueFamily::Number)) {
        return bitsAsNumber(value.data);
    }
    if (singleColumn) {
        double number = value.number;
        if (value.form == RawForm::Double || readDouble(value.data, number)) {
            RawValue narrowed = value;
            narrowed.form = RawForm::Double;
            narrowed.number = static_cast<double>(nearestFloat(number));
            return canonicalValue(family, narrowed);
        }
    }
    switch (family) {
    case ValueFamily::Boolean:
        return canonicalBoolean(value);
    case ValueFamily::Number:
        return canonicalNumber(value);
    case ValueFamily::Single:
    case ValueFamily::Double: {
        double number = value.number;
        if (value.form != RawForm::Double && !readDouble(value.data, number)) {
            return value.data;
        }
        return family == ValueFamily::Single ? shortestFloat(nearestFloat(number))
                                             : shortest(number);
    }
    case ValueFamily::Date:
    case ValueFamily::Timestamp:
        return canonicalTimestamp(value.data, trimmed(value.data));
    case ValueFamily::Time:
        return canonicalTime(value.data, trimmed(value.data));
    case ValueFamily::FixedText:
        return value.data.substr(0, value.data.find_last_not_of(' ') + 1);
    case ValueFamily::Guid: {
        std::string text = lowerCase(trimmed(value.data));
        if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
            text = text.substr(1, 36);
        }
        return text;
    }
    case ValueFamily::Text:
    case ValueFamily::Bytes:
        break;
    }
    return value.data;
}

// An exact decimal among doubles: the double it is where it is one exactly,
// else its digits, which no double has.
std::string canonicalExactDecimal(ValueFamily family, const RawValue& value) {
    const std::string exact = exactDecimal(value.data);
    double number = 0;
    if (exact.empty() || !readDouble(exact, number)) {
        return value.data;
    }
    const std::string asDouble = canonicalValue(family, value);
    return exactDecimal(shortest(number)) == exact ? asDouble : exact;
}

std::string canonicalValue(ValueFamily family, const ReadValue& value, bool singleColumn,
                           bool classCounts) {
    std::string canonical =
        value.exactDecimal && (family == ValueFamily::Double || family == ValueFamily::Single)
            ? canonicalExactDecimal(family, value)
            : canonicalValue(family, static_cast<const RawValue&>(value), singleColumn);
    const bool blob = value.storageClass == StorageClass::Blob;
    if (value.storageClass != StorageClass::None &&
        (classCounts || blob != (family == ValueFamily::Bytes))) {
        canonical.insert(0, {classMarker, classLetter(value.storageClass)});
    }
    return canonical;
}

int compareCanonical(ValueFamily family, const std::string& markedA, const std::string& markedB) {
    if (isMarked(markedA) || isMarked(markedB)) {
        const int order = compareCanonical(family, unmarked(markedA), unmarked(markedB));
        const std::string markA = markedA.substr(0, isMarked(markedA) ? 2 : 0);
        const std::string markB = markedB.substr(0, isMarked(markedB) ? 2 : 0);
        return order != 0 ? order : markA < markB ? -1 : (markA == markB ? 0 : 1);
    }
    const std::string& a = markedA;
    const std::string& b = markedB;
    if (ordersAsNumber(family)) {
        double x = 0, y = 0;
        if (readDouble(a, x) && readDouble(b, y) && x != y) {
            return x < y ? -1 : 1;
        }
        // Equal as doubles: long decimals still tell apart by their digits.
        const std::string ea = exactDecimal(a), eb = exactDecimal(b);
        if (!ea.empty() && !eb.empty() && ea != eb) {
            const bool negative = ea[0] == '-';
            const auto integerDigits = [](const std::string& text) {
                const auto point = text.find('.');
                return (point == std::string::npos ? text.size() : point) - (text[0] == '-');
            };
            int order = integerDigits(ea) != integerDigits(eb)
                            ? (integerDigits(ea) < integerDigits(eb) ? -1 : 1)
                            : (ea < eb ? -1 : 1);
            return negative ? -order : order;
        }
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}
