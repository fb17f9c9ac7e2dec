#pragma once

#include "TableReader.h"
#include "dbaccess/odbc/ColumnInfo.h"

#include <string>

// The kinds of value that compare alike however a database spells them.
enum class ValueFamily {
    Boolean, // 0 or 1, whatever the spelling
    Number,  // integers and exact decimals: 1.50 is 1.5
    Single,  // floating values compared as floats
    Double,  // floating values compared as doubles
    Date,    // to the microsecond, in UTC where a zone is given
    Time,
    Timestamp,
    FixedText, // blank-padded text: trailing blanks do not count
    Guid,      // letter case and braces do not count
    Text,      // byte for byte
    Bytes
};

// The family of a column, by the source column's kind.
ValueFamily familyOf(const ColumnInfo& column);
// The family two columns compare in: the source's, or Guid where the
// target's text is a uuid.
ValueFamily familyOf(const ColumnInfo& source, const ColumnInfo& target);

// Whether values of the family order as numbers rather than as text.
bool ordersAsNumber(ValueFamily family);

// A value's canonical text in a family; two values are the same when their
// canonical texts are. Text that does not read as the family's kind stays
// as it is. A value of a single-precision column is the float it holds,
// whatever its driver's text says. Not for NULL.
std::string canonicalValue(ValueFamily family, const RawValue& value, bool singleColumn = false);
// The same for a value with a SQLite storage class, marked with the class
// where it counts: always between two SQLite databases (classCounts), and
// elsewhere where the class is not the family's own (a blob in a text
// column, a number in a blob column). An exact decimal among doubles (money)
// keeps the digits that no double has.
std::string canonicalValue(ValueFamily family, const ReadValue& value, bool singleColumn,
                           bool classCounts);

// Orders two canonical values of a family as the databases order them when
// asked for binary collation: numbers by value, everything else by bytes.
int compareCanonical(ValueFamily family, const std::string& a, const std::string& b);
