#include "NumberFields.h"

#include "dbaccess/fields/FieldLimits.h"
#include "dbaccess/values/DecimalText.h"
#include "dbaccess/values/Exceptions.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

std::string formatG(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

// Whether a number has no fraction; text that is no number counts as whole,
// the conversion reports it.
bool isWholeNumber(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Double:
        return !std::isfinite(value.toDouble()) || value.toDouble() == std::trunc(value.toDouble());
    case Variant::Kind::Currency:
        return value.get<Currency>()->scaled % 10000 == 0;
    case Variant::Kind::Decimal:
    case Variant::Kind::String:
    case Variant::Kind::WideString: {
        Decimal decimal;
        return !parseDecimalText(value.toString(), decimal) || fractionPlaces(decimal) == 0;
    }
    default:
        return true;
    }
}

} // namespace

TIntegerField::TIntegerField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column,
                             TFieldType type, std::string name)
    : TField(dataSet, columnIndex, column, type, std::move(name)) {
    switch (type) {
    case ftSmallint:
        lowest_ = -32768;
        highest_ = 32767;
        break;
    case ftWord:
        lowest_ = 0;
        highest_ = 65535;
        break;
    default:
        // An unsigned 4-byte column takes what its database takes.
        lowest_ = column.providerType == ProviderType::UnsignedInt ? 0 : -2147483648.0;
        highest_ = column.providerType == ProviderType::UnsignedInt ? 4294967295.0 : 2147483647.0;
        break;
    }
}

// A value beyond 32 bits (an unsigned column's) is read whole, never wrapped.
Variant TIntegerField::readValue(const Variant& stored) const {
    if (stored.kind() == Variant::Kind::Decimal) {
        return stored;
    }
    const std::int64_t value = stored.toInt64();
    if (value < INT32_MIN || value > INT32_MAX) {
        return Variant(value);
    }
    return Variant(static_cast<std::int32_t>(value));
}

Variant TIntegerField::convertValue(const Variant& value, std::string& warning) const {
    double number = 0;
    std::int64_t integer = 0;
    if (!isWholeNumber(value)) {
        warning = "Value for field '" + FieldName() + "' rounded to an integer";
    }
    if (value.kind() == Variant::Kind::Double) {
        number = std::round(value.toDouble());
        integer = std::isfinite(number) && std::fabs(number) < 9.2e18
                      ? static_cast<std::int64_t>(number)
                      : 0;
    } else {
        integer = value.toInt64();
        number = static_cast<double>(integer);
    }
    if (!(number >= lowest_ && number <= highest_)) {
        throw EDatabaseError(
            formatG(value.kind() == Variant::Kind::Double ? value.toDouble() : number) +
            " is not a valid value for field '" + FieldName() + "'. The allowed range is " +
            formatG(lowest_) + " to " + formatG(highest_));
    }
    if (integer > INT32_MAX) {
        return Variant(integer);
    }
    return Variant(static_cast<std::int32_t>(integer));
}

// Accepts integers within 64 bits, booleans as 1 and 0, and text or
// decimals that hold an integer.
Variant TLargeintField::readValue(const Variant& stored) const {
    if (const Decimal* decimal = stored.get<Decimal>()) {
        return Variant(*decimal);
    }
    return Variant(stored.toInt64());
}

Variant TLargeintField::convertValue(const Variant& value, std::string& warning) const {
    using Kind = Variant::Kind;
    switch (value.kind()) {
    case Kind::Boolean:
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
        return Variant(value.toInt64());
    case Kind::Double: {
        const double number = value.toDouble();
        if (std::isfinite(number) && number == std::trunc(number) &&
            number >= -9.2233720368547758e18 && number < 9.2233720368547758e18) {
            return Variant(static_cast<std::int64_t>(number));
        }
        break;
    }
    case Kind::String:
    case Kind::WideString:
    case Kind::Decimal: {
        Decimal decimal;
        if (parseDecimalText(value.toString(), decimal) &&
            decimal.text.find('.') == std::string::npos) {
            try {
                std::size_t used = 0;
                const long long integer = std::stoll(decimal.text, &used);
                if (used == decimal.text.size()) {
                    return Variant(static_cast<std::int64_t>(integer));
                }
            } catch (const std::exception&) {
            }
            // An unsigned 8-byte column goes up to 18446744073709551615.
            if (isUnsigned_ && decimal.text[0] != '-') {
                try {
                    std::size_t used = 0;
                    std::stoull(decimal.text, &used);
                    if (used == decimal.text.size()) {
                        // SQLite, which keeps each value's class, has no
                        // integer beyond 64 signed bits and makes it a real.
                        if (Column().keepsValueClass) {
                            warning = "Value for field '" + FieldName() + "' (" + decimal.text +
                                      ") is beyond the database's integers: stored as a real";
                        }
                        return Variant(decimal);
                    }
                } catch (const std::exception&) {
                }
            }
        }
        break;
    }
    default:
        break;
    }
    raiseInvalidValue();
}

// Floating point

Variant TFloatField::readValue(const Variant& stored) const {
    return Variant(stored.toDouble());
}

Variant TFloatField::convertValue(const Variant& value, std::string& warning) const {
    return keptDouble(Column(), FieldName(), value, value.toDouble(), warning);
}

// Decimals

TBCDField::TBCDField(FieldStore& dataSet, int columnIndex, const ColumnInfo& column,
                     TFieldType type, std::string name)
    : TField(dataSet, columnIndex, column, type, std::move(name)),
      isCurrency_(column.providerType == 6) {}

Variant TBCDField::readValue(const Variant& stored) const {
    if (isCurrency_) {
        return Variant(Decimal{Variant(stored.toCurrency()).toString()});
    }
    return Variant(stored.toDecimal());
}

Variant TBCDField::convertValue(const Variant& value, std::string& warning) const {
    if (isCurrency_) {
        return Variant(Decimal{Variant(value.toCurrency()).toString()});
    }
    if (value.kind() == Variant::Kind::Double && !std::isfinite(value.toDouble())) {
        raiseInvalidValue();
    }
    return Variant(keptDecimal(Column(), FieldName(), value.toDecimal(), warning));
}

// Booleans

Variant TBooleanField::readValue(const Variant& stored) const {
    return Variant(stored.toBoolean());
}

Variant TBooleanField::convertValue(const Variant& value, std::string& warning) const {
    const bool flag = value.toBoolean();
    const bool isText = value.kind() == Variant::Kind::String ||
                        value.kind() == Variant::Kind::WideString ||
                        value.kind() == Variant::Kind::Boolean;
    if (!isText && value.toDouble() != (flag ? 1.0 : 0.0)) {
        warning = "Value for field '" + FieldName() + "' (" + value.toString() + ") stored as " +
                  (flag ? "True" : "False");
    }
    return Variant(flag);
}
