#pragma once

#include <cstddef>
#include <optional>
#include <string>

// What a column's values mean, which decides how two of them are compared.
enum class Family {
    Boolean,
    Date,
    Time,
    Timestamp,
    // An instant: values with an offset are compared in UTC.
    ZonedTimestamp,
    Integer,
    Decimal,
    Double,
    Single,
    // char(n): trailing blanks are padding, as PostgreSQL and MariaDB read
    // them back; leading blanks, '' and NULL stay distinct.
    FixedText,
    Text,
    Blob,
    Uuid,
};

// A value as it compares: numbers as canonical decimals, floating values as
// the digits of their binary value at the family's precision, times to the
// microsecond, text and bytes as they are. nullopt is NULL.
using Canonical = std::optional<std::string>;

// The canonical form of a value printed as text: a literal of the family or
// what a client printed, where "bits:" and sixteen hex digits is the binary
// value of a double. Text that is no value of the family stays as it is,
// marked with a leading '?'.
std::string canonicalValue(Family family, const std::string& text);

// The bytes of the hex digits from `from` on.
std::string bytesFromHex(const std::string& hex, std::size_t from = 0);
