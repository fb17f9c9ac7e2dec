#include "FieldLimits.h"

#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/values/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

std::string valueFor(const std::string& fieldName) {
    return "Value for field '" + fieldName + "' ";
}

std::string shortestFloatText(float value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

// A single keeps a double that is a float already, or whose shortest text
// the float gives as well (0.1 read from a real column).
// The nearest float; beyond the largest float, infinity unless the number
// is the largest float's shortest text read as a double.
float toSingle(double number) {
    constexpr float largest = std::numeric_limits<float>::max();
    if (std::fabs(number) <= static_cast<double>(largest)) {
        return static_cast<float>(number);
    }
    const bool isLargest = formatDouble(std::fabs(number)) == shortestFloatText(largest);
    const float magnitude = isLargest ? largest : std::numeric_limits<float>::infinity();
    return number < 0 ? -magnitude : magnitude;
}

bool fitsSingle(double number, float single) {
    return static_cast<double>(single) == number ||
           shortestFloatText(single) == formatDouble(number);
}

bool fitsInt64(const Decimal& value) {
    if (value.text.find('.') != std::string::npos) {
        return false;
    }
    std::int64_t integer = 0;
    const auto [end, error] =
        std::from_chars(value.text.data(), value.text.data() + value.text.size(), integer);
    return error == std::errc() && end == value.text.data() + value.text.size();
}

// Whether a double holds the number that `original` stood for.
bool doubleHolds(const Variant& original, double number) {
    switch (original.kind()) {
    case Variant::Kind::LargeInt: {
        // 2^63 and beyond is no 64-bit integer; -2^63 is one.
        constexpr double limit = 9223372036854775808.0;
        const std::int64_t integer = *original.get<std::int64_t>();
        return number >= -limit && number < limit && static_cast<std::int64_t>(number) == integer;
    }
    case Variant::Kind::Decimal:
    case Variant::Kind::String:
    case Variant::Kind::WideString: {
        Decimal expected;
        Decimal held;
        return !std::isfinite(number) || !parseDecimalText(original.toString(), expected) ||
               (parseDecimalText(formatDouble(number), held) && sameNumber(expected, held));
    }
    default:
        return true;
    }
}

} // namespace

Decimal keptDecimal(const ColumnInfo& column, const std::string& fieldName, const Decimal& value,
                    std::string& warning) {
    Decimal kept = value;
    if (column.decimalsAsDoubles && !fitsInt64(kept)) {
        double number = 0;
        const auto [end, error] =
            std::from_chars(kept.text.data(), kept.text.data() + kept.text.size(), number);
        Decimal held;
        if (error == std::errc() && std::isfinite(number) &&
            parseDecimalText(formatDouble(number), held) && !sameNumber(held, kept)) {
            kept = held;
            warning = valueFor(fieldName) + "rounded to double precision";
        }
    }
    if (column.fractionDigits >= 0 && fractionPlaces(kept) > column.fractionDigits) {
        kept = roundToPlaces(kept, column.fractionDigits);
        warning = valueFor(fieldName) + "rounded to " + std::to_string(column.fractionDigits) +
                  " decimal places";
    }
    return kept;
}

Variant keptDouble(const ColumnInfo& column, const std::string& fieldName, const Variant& original,
                   double number, std::string& warning) {
    if (std::isnan(number) && !column.keepsNaN) {
        warning = valueFor(fieldName) + "is NaN, which the database cannot hold: sent as NULL";
        return Variant::null();
    }
    if (column.fractionDigits >= 0 && std::isfinite(number)) {
        // A FLOAT(M,D) or DOUBLE(M,D) column keeps D decimal places.
        Decimal exact;
        const std::string text = column.providerType == ProviderType::Single
                                     ? shortestFloatText(toSingle(number))
                                     : formatDouble(number);
        if (parseDecimalText(text, exact) && fractionPlaces(exact) > column.fractionDigits) {
            const Decimal kept = roundToPlaces(exact, column.fractionDigits);
            double rounded = 0;
            std::from_chars(kept.text.data(), kept.text.data() + kept.text.size(), rounded);
            warning = valueFor(fieldName) + "rounded to " + std::to_string(column.fractionDigits) +
                      " decimal places";
            return Variant(rounded);
        }
    }
    if (column.providerType == ProviderType::Single && std::isfinite(number)) {
        // The float itself goes, so that a float's shortest text read as a
        // double (3.4028235e38) is not taken for a larger number.
        const float single = toSingle(number);
        if (!fitsSingle(number, single)) {
            warning = valueFor(fieldName) + "rounded to single precision";
        }
        return Variant(static_cast<double>(single));
    }
    if (!doubleHolds(original, number)) {
        warning = valueFor(fieldName) + "rounded to double precision";
    }
    return Variant(number);
}

DateTime keptDateTime(const ColumnInfo& column, const std::string& fieldName, DateTime value,
                      std::string& warning) {
    DateTime kept = value;
    if (column.providerType == ProviderType::DBDate) {
        if (timeOfDay(kept) != 0) {
            kept.microseconds -= timeOfDay(kept);
            warning = valueFor(fieldName) + "loses its time of day";
        }
        return kept;
    }
    if (column.providerType == ProviderType::DBTime && !isDuration(kept) &&
        kept.microseconds != timeOfDay(kept)) {
        kept = DateTime{timeOfDay(kept)};
        warning = valueFor(fieldName) + "loses its date";
    }
    if (column.fractionDigits >= 0 && roundFraction(kept, column.fractionDigits) != kept) {
        kept = roundFraction(kept, column.fractionDigits);
        warning = valueFor(fieldName) + "rounded to " + std::to_string(column.fractionDigits) +
                  " fractional digits of a second";
    }
    return kept;
}
