#include "ParameterBinding.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// How one parameter travels: its C type, SQL type, size and digits.
struct Binding {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 0;
    SQLSMALLINT digits = 0;
};

template <typename T> void putValue(ParameterBuffer& buffer, const T& value) {
    buffer.data.assign(reinterpret_cast<const char*>(&value), sizeof value);
    buffer.indicator = static_cast<SQLLEN>(sizeof value);
}

void putText(ParameterBuffer& buffer, std::string_view text) {
    // Into the buffer's own storage, which keeps its place.
    buffer.data.assign(text);
    buffer.indicator = static_cast<SQLLEN>(buffer.data.size());
}

// A text's or bytes' parameter size: at least its length, rounded up to a
// power of two so that values of similar length keep one binding.
SQLULEN sizeClass(std::size_t length) {
    SQLULEN size = 1;
    while (size < length) {
        size *= 2;
    }
    return size;
}

SQLSMALLINT sqlTypeOr(const ColumnInfo& column, SQLSMALLINT fallback) {
    return column.sqlType != 0 ? column.sqlType : fallback;
}

SQLSMALLINT textSqlType(const ColumnInfo& column) {
    // Text goes as narrow UTF-8; a wide parameter type would make some
    // drivers convert it through a narrower character set.
    switch (column.sqlType) {
    case SQL_WCHAR:
        return SQL_CHAR;
    case SQL_WVARCHAR:
        return SQL_VARCHAR;
    case SQL_WLONGVARCHAR:
        return SQL_LONGVARCHAR;
    case 0:
        return SQL_VARCHAR;
    default:
        return column.sqlType;
    }
}

Binding dateBinding(DatabaseKind kind, const Variant& value, ParameterBuffer& buffer) {
    // SQLite keeps dates as the text it is given.
    if (kind == DatabaseKind::SQLite) {
        if (!value.isEmpty()) {
            putText(buffer, formatDate(value.toDateTime()));
        }
        return {SQL_C_CHAR, SQL_VARCHAR, 10, 0};
    }
    if (!value.isEmpty()) {
        const CalendarTime t = toCalendarTime(value.toDateTime());
        putValue(buffer, SQL_DATE_STRUCT{static_cast<SQLSMALLINT>(t.year),
                                         static_cast<SQLUSMALLINT>(t.month),
                                         static_cast<SQLUSMALLINT>(t.day)});
    }
    return {SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0};
}

Binding timeBinding(DatabaseKind kind, const Variant& value, ParameterBuffer& buffer) {
    // Times travel as text so that fractions and durations survive; MariaDB's
    // driver refuses a fraction in a TIME parameter, its server takes text.
    if (!value.isEmpty()) {
        putText(buffer, formatTime(value.toDateTime()));
    }
    const bool asText = kind == DatabaseKind::MariaDB || kind == DatabaseKind::SQLite;
    return {SQL_C_CHAR, static_cast<SQLSMALLINT>(asText ? SQL_VARCHAR : SQL_TYPE_TIME),
            std::max<SQLULEN>(buffer.data.size(), 15), 6};
}

Binding timestampBinding(const ColumnInfo& column, DatabaseKind kind, const Variant& value,
                         ParameterBuffer& buffer) {
    if (kind == DatabaseKind::SQLite) {
        // SQLite's driver writes at most milliseconds of a timestamp struct.
        if (!value.isEmpty()) {
            putText(buffer, formatDateTime(value.toDateTime()));
        }
        return {SQL_C_CHAR, SQL_VARCHAR, 26, 0};
    }
    if (!value.isEmpty()) {
        const CalendarTime t = toCalendarTime(value.toDateTime());
        putValue(buffer,
                 SQL_TIMESTAMP_STRUCT{
                     static_cast<SQLSMALLINT>(t.year), static_cast<SQLUSMALLINT>(t.month),
                     static_cast<SQLUSMALLINT>(t.day), static_cast<SQLUSMALLINT>(t.hour),
                     static_cast<SQLUSMALLINT>(t.minute), static_cast<SQLUSMALLINT>(t.second),
                     static_cast<SQLUINTEGER>(t.microsecond) * 1000});
    }
    // Other databases take the digits their column has (SQL Server's
    // datetime refuses more than three).
    const bool microseconds = kind == DatabaseKind::PostgreSQL || kind == DatabaseKind::MariaDB;
    const auto digits = static_cast<SQLSMALLINT>(microseconds ? 6 : std::clamp(column.scale, 0, 7));
    return {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
            static_cast<SQLULEN>(digits > 0 ? 20 + digits : 19), digits};
}

Binding dateTimeBinding(const ColumnInfo& column, DatabaseKind kind, const Variant& value,
                        ParameterBuffer& buffer) {
    if (value.kind() == Variant::Kind::String) {
        // The database's own text of a date no date-time holds ("infinity").
        putText(buffer, value.toString());
        return {SQL_C_CHAR, SQL_VARCHAR, sizeClass(buffer.data.size()), 0};
    }
    if (column.providerType == 133) {
        return dateBinding(kind, value, buffer);
    }
    if (column.providerType == 134) {
        return timeBinding(kind, value, buffer);
    }
    return timestampBinding(column, kind, value, buffer);
}

Binding doubleBinding(const ColumnInfo& column, DatabaseKind kind, const Variant& value,
                      ParameterBuffer& buffer) {
    const SQLSMALLINT sqlType = sqlTypeOr(column, SQL_DOUBLE);
    // PostgreSQL's driver prints doubles with too few digits; its server
    // reads the shortest exact text, "NaN" and "Infinity" included.
    if (kind == DatabaseKind::PostgreSQL) {
        if (!value.isEmpty()) {
            const double number = value.toDouble();
            putText(buffer, std::isnan(number)   ? "NaN"
                            : std::isinf(number) ? (number > 0 ? "Infinity" : "-Infinity")
                                                 : formatDouble(number));
        }
        return {SQL_C_CHAR, sqlType, 32, 0};
    }
    if (!value.isEmpty()) {
        putValue(buffer, value.toDouble());
    }
    return {SQL_C_DOUBLE, sqlType, 0, 0};
}

Binding integerBinding(const ColumnInfo& column, const Variant& value, ParameterBuffer& buffer) {
    const SQLSMALLINT sqlType = sqlTypeOr(column, SQL_BIGINT);
    // Above the signed range an unsigned value arrives as decimal text.
    const Decimal digits = value.isEmpty() ? Decimal{"0"} : value.toDecimal();
    if (column.storage == StorageKind::Unsigned &&
        digits.text.find_first_of("-.") == std::string::npos) {
        std::uint64_t number = 0;
        for (const char c : digits.text) {
            number = number * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (!value.isEmpty()) {
            putValue(buffer, static_cast<SQLUBIGINT>(number));
        }
        return {SQL_C_UBIGINT, sqlType, 0, 0};
    }
    if (!value.isEmpty()) {
        putValue(buffer, static_cast<SQLBIGINT>(value.toInt64()));
    }
    return {SQL_C_SBIGINT, sqlType, 0, 0};
}

// A value of a column that keeps each value's storage class goes in the C
// type of its own kind, so that it is stored in that class.
Binding taggedBinding(const ColumnInfo& column, DatabaseKind kind, const Variant& value,
                      ParameterBuffer& buffer) {
    using Kind = Variant::Kind;
    switch (value.kind()) {
    case Kind::SmallInt:
    case Kind::Integer:
    case Kind::LargeInt:
        putValue(buffer, static_cast<SQLBIGINT>(value.toInt64()));
        return {SQL_C_SBIGINT, SQL_BIGINT, 0, 0};
    case Kind::Double:
        putValue(buffer, value.toDouble());
        return {SQL_C_DOUBLE, SQL_DOUBLE, 0, 0};
    case Kind::Boolean:
        putValue(buffer, static_cast<unsigned char>(value.toBoolean() ? 1 : 0));
        return {SQL_C_BIT, SQL_BIT, 0, 0};
    case Kind::DateTime:
        return dateTimeBinding(column, kind, value, buffer);
    case Kind::Decimal: {
        putText(buffer, value.toDecimal().text);
        const auto point = buffer.data.find('.');
        return {SQL_C_CHAR, SQL_DECIMAL, std::max<SQLULEN>(buffer.data.size(), 1),
                static_cast<SQLSMALLINT>(
                    point == std::string::npos ? 0 : buffer.data.size() - point - 1)};
    }
    case Kind::ByteArray: {
        const Bytes bytes = value.toBytes();
        putText(buffer,
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return {SQL_C_BINARY, SQL_LONGVARBINARY, sizeClass(buffer.data.size()), 0};
    }
    case Kind::Unassigned:
    case Kind::Null:
        return {SQL_C_CHAR, SQL_VARCHAR, 1, 0};
    default:
        putText(buffer, value.toString());
        return {SQL_C_CHAR, SQL_VARCHAR, sizeClass(buffer.data.size()), 0};
    }
}

Binding bindingFor(const ColumnInfo& column, DatabaseKind kind, const Variant& value,
                   ParameterBuffer& buffer) {
    const bool isNull = value.isEmpty();
    if (column.reading == ValueReading::Tagged) {
        return taggedBinding(column, kind, value, buffer);
    }
    if (column.reading == ValueReading::DateText && value.kind() == Variant::Kind::String) {
        // A date no date-time holds ('2024-00-15') goes as the database's text.
        putText(buffer, value.toString());
        return {SQL_C_CHAR, SQL_VARCHAR, sizeClass(buffer.data.size()), 0};
    }
    switch (column.storage) {
    case StorageKind::Integer:
    case StorageKind::Unsigned:
        return integerBinding(column, value, buffer);
    case StorageKind::Double:
        return doubleBinding(column, kind, value, buffer);
    case StorageKind::Boolean:
        if (!isNull) {
            putValue(buffer, static_cast<unsigned char>(value.toBoolean() ? 1 : 0));
        }
        return {SQL_C_BIT, sqlTypeOr(column, SQL_BIT), 0, 0};
    case StorageKind::DateTime:
        return dateTimeBinding(column, kind, value, buffer);
    case StorageKind::Decimal: {
        if (!isNull) {
            putText(buffer, value.toDecimal().text);
        }
        const auto point = buffer.data.find('.');
        const auto digits = static_cast<SQLSMALLINT>(
            isNull || point == std::string::npos ? 0 : buffer.data.size() - point - 1);
        return {SQL_C_CHAR, sqlTypeOr(column, SQL_DECIMAL),
                std::max<SQLULEN>({buffer.data.size(), static_cast<SQLULEN>(column.precision), 1}),
                digits};
    }
    case StorageKind::Binary:
        if (!isNull) {
            putText(buffer, value.toString());
        }
        return {SQL_C_BINARY, sqlTypeOr(column, SQL_LONGVARBINARY), sizeClass(buffer.data.size()),
                0};
    case StorageKind::Text:
        if (!isNull) {
            putText(buffer, value.toString());
        }
        return {SQL_C_CHAR, textSqlType(column), sizeClass(buffer.data.size()), 0};
    }
    return {};
}

} // namespace

void bindParameter(const OdbcHandle& statement, SQLUSMALLINT number, const ColumnInfo& column,
                   DatabaseKind kind, const Variant& value, ParameterBuffer& buffer) {
    buffer.data.clear();
    Binding binding = bindingFor(column, kind, value, buffer);
    if (value.isEmpty()) {
        buffer.data.assign(1, '\0');
        buffer.indicator = SQL_NULL_DATA;
    }
    if (binding.columnSize == 0 && column.definedSize > 0) {
        binding.columnSize = static_cast<SQLULEN>(column.definedSize);
    }
    const BoundParameter wanted{
        binding.cType,  binding.sqlType,    binding.columnSize,
        binding.digits, buffer.data.data(), binding.cType == SQL_C_BINARY ? buffer.indicator : 0};
    if (wanted == buffer.bound) {
        return;
    }
    buffer.bound = {};
    // Drivers take the length of a value from its indicator; the buffer's
    // capacity only bounds it.
    checkOdbc(SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, binding.cType,
                               binding.sqlType, binding.columnSize, binding.digits,
                               buffer.data.data(), static_cast<SQLLEN>(buffer.data.capacity()),
                               &buffer.indicator),
              statement);
    buffer.bound = wanted;
}
