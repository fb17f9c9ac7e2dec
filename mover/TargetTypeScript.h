#pragma once

#include "dbaccess/TADOConnection.h"

#include <optional>
#include <string>

// A source column as the columns rowset describes it; -1 where unknown.
struct SourceColumnType {
    int providerType = 0;
    std::int64_t length = -1;
    int precision = -1;
    int scale = -1;
    int fractionDigits = -1;
    // The source database's own name ("timestamptz", "integer[]"), for what
    // the code does not tell.
    std::string typeName;
    DatabaseKind sourceKind = DatabaseKind::Other;
    // Whether a target of the source's kind takes typeName as it is; false
    // where the target lacks the type.
    bool keepsDeclaration = true;
    // Whether typeName is the column's whole declaration, lengths and
    // character set included (MariaDB names its types without them).
    bool wholeDeclaration = false;
    // The target's own type where the values need one that the source's
    // type would not give ("interval" for MariaDB durations).
    std::string targetDeclaration;
};

class TADODataSet;
class CreationFacts;

// A CREATE TABLE statement for a source table in the target's own type
// names, chosen from the data types the target reports for each column as
// facts fit it; empty when the source lists no columns.
std::string buildTargetTypeScript(TADOConnection& source, const std::string& sourceName,
                                  TADOConnection& target, const std::string& name,
                                  const CreationFacts& facts);

// The source column of the columns rowset's current row.
SourceColumnType sourceColumnType(const TADODataSet& rowset, DatabaseKind sourceKind);

// Between two PostgreSQL or two SQLite databases, the source's own
// declaration (numeric(3,-2), json, arrays, an enum type; a SQLite column
// without a type has an empty one); nothing between other databases.
std::optional<std::string> sameKindType(const SourceColumnType& source, DatabaseKind target);

// The target's type that holds every value of the source column.
std::string targetTypeName(TADOConnection& target, const SourceColumnType& source);

// A decimal type with the precision and scale the target takes; an
// unconstrained source decimal (precision -1) gets the target's own
// unconstrained decimal or its widest.
std::string decimalTypeName(const std::string& typeName, int precision, int scale,
                            DatabaseKind kind);
