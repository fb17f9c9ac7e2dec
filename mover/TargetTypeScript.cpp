#include "TargetTypeScript.h"

#include "dbaccess/FieldTypes.h"
#include "dbaccess/SqlNames.h"
#include "dbaccess/TADODataSet.h"
#include "dbaccess/TStrings.h"

#include <algorithm>

namespace {

namespace P = ProviderType;

constexpr std::int64_t unbounded = 2147483647;

// The result type codes that can hold a columns-rowset type, best first.
std::vector<int> candidateSqlTypes(int providerType, std::int64_t length) {
    const bool isLong = length <= 0 || length > 4000;
    switch (providerType) {
    case P::Char:
    case P::VarChar:
    case P::LongVarChar:
    case P::WChar:
    case P::VarWChar:
    case P::LongVarWChar:
    case P::BSTR:
        return isLong ? std::vector<int>{P::LongVarChar, P::LongVarWChar, P::VarChar}
                      : std::vector<int>{P::VarChar, P::VarWChar, P::LongVarChar};
    case P::Binary:
    case P::VarBinary:
    case P::LongVarBinary:
        return isLong ? std::vector<int>{P::LongVarBinary, P::VarBinary}
                      : std::vector<int>{P::VarBinary, P::LongVarBinary};
    case P::Boolean:
        return {P::Boolean, P::TinyInt, P::SmallInt};
    case P::TinyInt:
    case P::UnsignedTinyInt:
        return {P::TinyInt, P::SmallInt, P::Integer};
    case P::SmallInt:
    case P::UnsignedSmallInt:
        return {P::SmallInt, P::Integer};
    case P::Integer:
    case P::UnsignedInt:
        return {P::Integer, P::BigInt};
    case P::BigInt:
    case P::UnsignedBigInt:
        return {P::BigInt, P::Numeric, P::Numeric};
    case P::Single:
        return {P::Single, P::Double, P::Double};
    case P::Double:
        return {P::Double, P::Double};
    case P::Decimal:
    case P::Numeric:
    case P::VarNumeric:
    case P::Currency:
        return {P::Numeric, P::Numeric};
    case P::DBDate:
        return {P::DBDate, P::DBTimeStamp};
    case P::DBTime:
        return {P::DBTime, P::DBTimeStamp};
    case P::Date:
    case P::DBTimeStamp:
    case P::FileTime:
    case P::DBFileTime:
        return {P::DBTimeStamp};
    case P::GUID:
        return {P::GUID, P::Char, P::VarChar};
    default:
        return {};
    }
}

bool isUnsignedCode(int providerType) {
    return providerType == P::UnsignedTinyInt || providerType == P::UnsignedSmallInt ||
           providerType == P::UnsignedInt || providerType == P::UnsignedBigInt;
}

// Types whose values the database makes itself are no home for copied ones.
bool isGenerating(const DatabaseType& type) {
    const std::string name = lowerCase(type.typeName);
    return name.find("identity") != std::string::npos || name.find("serial") != std::string::npos ||
           name == "enum" || name == "set";
}

// A zoned type would shift copied times by the session's zone: use its plain sibling.
std::string withoutZone(const std::string& typeName) {
    const std::string name = lowerCase(typeName);
    if (name == "timestamptz") {
        return "timestamp";
    }
    if (name == "timetz") {
        return "time";
    }
    return typeName;
}

// Among equal candidates, the name a person would write.
bool isPreferredName(const DatabaseType& type) {
    const std::string name = lowerCase(type.typeName);
    return name == "bool" || name == "boolean" || name == "datetime" || name == "timestamptz" ||
           name == "timestamp" || name == "integer" || name == "int" || name == "double" ||
           name == "double precision" || name == "float8";
}

const DatabaseType* chooseType(const std::vector<DatabaseType>& types, int code, bool wantUnsigned,
                               std::int64_t length) {
    const DatabaseType* best = nullptr;
    for (const DatabaseType& type : types) {
        if (type.providerType != code || isGenerating(type) || type.isUnsigned != wantUnsigned) {
            continue;
        }
        const bool fits = type.columnSize <= 0 || length <= 0 || type.columnSize >= length;
        if (best == nullptr) {
            best = &type;
            continue;
        }
        if (isPreferredName(type) && !isPreferredName(*best) && fits) {
            best = &type;
            continue;
        }
        const bool bestFits = best->columnSize <= 0 || length <= 0 || best->columnSize >= length;
        // Prefer one that fits; among long types the largest holds anything.
        if ((fits && !bestFits) ||
            (length == unbounded && type.columnSize > best->columnSize && !bestFits)) {
            best = &type;
        } else if (length == unbounded && fits && bestFits && type.columnSize > best->columnSize &&
                   (code == P::LongVarChar || code == P::LongVarBinary)) {
            best = &type;
        }
    }
    return best;
}

std::string withParameters(const DatabaseType& type, std::int64_t length, int precision, int scale,
                           DatabaseKind kind) {
    const std::string typeName = withoutZone(type.typeName);
    const std::string params = lowerCase(type.createParams);
    if (params.find("precision") != std::string::npos &&
        params.find("scale") != std::string::npos) {
        if (type.providerType == P::Numeric) {
            const int digits = precision > 0 ? precision : 38;
            return typeName + "(" + std::to_string(digits) + "," +
                   std::to_string(std::clamp(scale, 0, digits)) + ")";
        }
        return typeName;
    }
    if (params.find("length") != std::string::npos) {
        const std::int64_t size = length > 0 ? length : std::max<std::int64_t>(type.columnSize, 1);
        return typeName + "(" +
               std::to_string(std::min(size, type.columnSize > 0 ? type.columnSize : size)) + ")";
    }
    // Fractions of seconds need asking for on MariaDB.
    if (type.providerType == P::DBTimeStamp && kind == DatabaseKind::MariaDB) {
        return typeName + "(6)";
    }
    return typeName;
}

// Names in quotes; PostgreSQL names lower case, as it would fold them.
std::string columnName(TADOConnection& target, const std::string& name) {
    const std::string spelled = target.Kind() == DatabaseKind::PostgreSQL ? lowerCase(name) : name;
    return quoteIdentifier(spelled, target.IdentifierQuote());
}

} // namespace

std::string targetTypeName(TADOConnection& target, int providerType, std::int64_t length,
                           int precision, int scale) {
    const auto& types = target.DataTypes();
    for (const int code : candidateSqlTypes(providerType, length)) {
        const DatabaseType* type = chooseType(types, code, isUnsignedCode(providerType), length);
        if (type == nullptr && isUnsignedCode(providerType)) {
            type = chooseType(types, code, false, length);
        }
        if (type != nullptr) {
            return withParameters(*type, length, precision, scale, target.Kind());
        }
    }
    // SQLite lists no decimal type yet takes the standard one.
    if (providerType == P::Numeric || providerType == P::Decimal || providerType == P::VarNumeric) {
        const int digits = precision > 0 ? precision : 38;
        return "DECIMAL(" + std::to_string(digits) + "," +
               std::to_string(std::clamp(scale, 0, digits)) + ")";
    }
    return {};
}

std::string buildTargetTypeScript(TADOConnection& source, const std::string& sourceName,
                                  TADOConnection& target, const std::string& name) {
    TADODataSet rowset;
    source.OpenSchemaRowset(SchemaKind::PrimaryKeys, {Variant(), Variant(), Variant(sourceName)},
                            rowset);
    std::string keys;
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        keys += (keys.empty() ? "" : ", ") +
                columnName(target, rowset.RequireField("COLUMN_NAME").AsString());
    }
    source.OpenSchemaRowset(SchemaKind::Columns,
                            {Variant(), Variant(), Variant(sourceName), Variant()}, rowset);
    if (rowset.RecordCount() == 0) {
        return {};
    }
    const std::string tableName = target.Kind() == DatabaseKind::MariaDB ? sourceName : name;
    std::string statement =
        "CREATE TABLE " + quoteTableName(tableName, target.IdentifierQuote(), true) + " (";
    bool first = true;
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        const TField& length = rowset.RequireField("CHARACTER_MAXIMUM_LENGTH");
        const TField& precision = rowset.RequireField("NUMERIC_PRECISION");
        const TField& scale = rowset.RequireField("NUMERIC_SCALE");
        const std::string type =
            targetTypeName(target, rowset.RequireField("DATA_TYPE").AsInteger(),
                           length.IsNull() ? -1 : length.Value().toInt64(),
                           precision.IsNull() ? -1 : precision.AsInteger(),
                           scale.IsNull() ? -1 : scale.AsInteger());
        if (type.empty()) {
            return {};
        }
        statement += (first ? "" : ", ") +
                     columnName(target, rowset.RequireField("COLUMN_NAME").AsString()) + " " +
                     type +
                     (rowset.RequireField("IS_NULLABLE").AsBoolean() ? " NULL" : " NOT NULL");
        first = false;
    }
    if (!keys.empty()) {
        statement += ", PRIMARY KEY (" + keys + ")";
    }
    return statement + ")";
}
