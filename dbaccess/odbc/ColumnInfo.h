#pragma once

#include <cstdint>
#include <string>

// How a value of a column is held in the client-side row store.
enum class StorageKind : std::uint8_t {
    Integer,
    Unsigned,
    Double,
    Boolean,
    DateTime,
    Text,
    Binary,
    Decimal
};

// How the values of a column are read from the driver: in the C type of
// their storage kind; as tagged bytes that keep each value's own storage
// class (SQLite, see TaggedValue.h); as the database's text of a date,
// which may be one no date-time holds (infinity, BC, zero parts); or as the
// database's text of a double, where its driver makes another double of it.
enum class ValueReading : std::uint8_t { AsDeclared, Tagged, DateText, DoubleText };

enum class Updatability : std::uint8_t { ReadOnly, Updatable, Unknown };

// One result column as the driver describes it, in provider terms.
struct ColumnInfo {
    std::string name;
    int providerType = 0;
    std::int64_t definedSize = 0;
    int precision = 0;
    int scale = 0;
    Updatability updatability = Updatability::Unknown;
    // Only for columns that refuse explicit values (identity always).
    bool autoIncrement = false;
    bool rowId = false;
    bool nullable = true;
    StorageKind storage = StorageKind::Text;
    ValueReading reading = ValueReading::AsDeclared;
    // The expression a table's reading selects in place of the column, where
    // the column's own value would not arrive exactly (PostgreSQL money as
    // numeric); empty for the column itself.
    std::string readAs;
    // The ODBC SQL type, for binding values of this column.
    short sqlType = 0;
    // What the database keeps of a value where it keeps less than arrives:
    // digits after the point of decimals and fractions of a second (-1 when
    // it keeps every digit), whether it keeps decimals as doubles (SQLite's
    // numeric columns), and whether a double may be NaN.
    int fractionDigits = -1;
    bool decimalsAsDoubles = false;
    bool keepsNaN = true;
    // Whether each value keeps its own storage class, whatever the column's
    // declaration (SQLite): such values travel as they are stored.
    bool keepsValueClass = false;
    // A SQLite column declared without a type: it takes any value as it is.
    bool untyped = false;
    // A MariaDB ENUM or SET column: the server checks a value against its
    // labels, whatever the value's length.
    bool labelled = false;
    // Whether its text may hold a NUL character (not so in PostgreSQL).
    bool holdsNul = true;
    // Whose spelling a date read as text is ("PostgreSQL"): a date that no
    // date-time holds passes as that text only to a column of the same.
    std::string dateSpelling;
    // The first and last date-time the column holds, as DateTime
    // microseconds: a value outside is not sent (MariaDB would keep
    // '0000-00-00' in its place).
    std::int64_t earliest = INT64_MIN;
    std::int64_t latest = INT64_MAX;
};
