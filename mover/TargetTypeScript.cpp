#include "TargetTypeScript.h"

#include "CreationFacts.h"
#include "dbaccess/TADODataSet.h"
#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/fields/FieldTypes.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>

namespace {

// MariaDB has a UUID type from 10.7; from 10.10.6, 10.11.5, 11.0.3 and 11.1.2
// on it refuses uuids of version 8 and up with variant 0, which other
// databases hold: those go into text there.
bool uuidTypeTakesAll(int version) {
    const bool refusing = version >= 110102 || (version >= 110003 && version < 110100) ||
                          (version >= 101105 && version < 110000) ||
                          (version >= 101006 && version < 101100);
    return version >= 100700 && !refusing;
}

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
    // An unsigned type where the target has one, else the next wider signed one.
    case P::TinyInt:
        return {P::TinyInt, P::SmallInt, P::Integer};
    case P::UnsignedTinyInt:
        return {P::UnsignedTinyInt, P::SmallInt, P::Integer};
    case P::SmallInt:
        return {P::SmallInt, P::Integer};
    case P::UnsignedSmallInt:
        return {P::UnsignedSmallInt, P::Integer, P::BigInt};
    case P::Integer:
        return {P::Integer, P::BigInt};
    case P::UnsignedInt:
        return {P::UnsignedInt, P::BigInt};
    case P::BigInt:
        return {P::BigInt, P::Numeric, P::Numeric};
    case P::UnsignedBigInt:
        return {P::UnsignedBigInt, P::Numeric};
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

bool isZonedName(const std::string& typeName) {
    const std::string name = lowerCase(typeName);
    return name == "timestamptz" || name == "timetz" ||
           (name.find("with time zone") != std::string::npos &&
            name.find("without") == std::string::npos);
}

// A zoned type only for a zoned source: others would shift by the session's
// zone. A zoned source where the target has no zoned type arrives in UTC.
std::string withZoneOf(const std::string& typeName, bool zonedSource) {
    if (zonedSource || !isZonedName(typeName)) {
        return typeName;
    }
    const std::string name = lowerCase(typeName);
    return name == "timetz" ? "time" : "timestamp";
}

// What a character type holds where drivers report less than the database
// takes (PostgreSQL's and MariaDB's report 255 for varchar).
std::int64_t capacity(const DatabaseType& type, DatabaseKind kind) {
    const bool isShortText = type.providerType == P::VarChar || type.providerType == P::Char ||
                             type.providerType == P::VarWChar || type.providerType == P::WChar;
    const bool isLong = type.providerType == P::LongVarChar ||
                        type.providerType == P::LongVarWChar ||
                        type.providerType == P::LongVarBinary;
    // PostgreSQL's text and bytea hold a gigabyte whatever its driver says.
    if (isLong && kind == DatabaseKind::PostgreSQL) {
        return unbounded;
    }
    if (!isShortText) {
        return type.columnSize;
    }
    switch (kind) {
    case DatabaseKind::PostgreSQL:
        return 10485760;
    case DatabaseKind::MariaDB:
        // 65 535 bytes a row, four bytes a character.
        return type.providerType == P::VarChar || type.providerType == P::VarWChar ? 16383 : 255;
    case DatabaseKind::SQLite:
        return 2147483647;
    default:
        return type.columnSize;
    }
}

// Among equal candidates, the name a person would write.
bool isPreferredName(const DatabaseType& type) {
    const std::string name = lowerCase(type.typeName);
    return name == "bool" || name == "boolean" || name == "datetime" || name == "timestamptz" ||
           name == "timestamp" || name == "integer" || name == "int" || name == "double" ||
           name == "double precision" || name == "float8";
}

const DatabaseType* chooseType(const std::vector<DatabaseType>& types, DatabaseKind kind, int code,
                               bool wantUnsigned, std::int64_t length, bool zonedSource,
                               bool mustFit) {
    const DatabaseType* best = nullptr;
    const auto fitsLength = [&](const DatabaseType& type) {
        const std::int64_t size = capacity(type, kind);
        return size <= 0 || length <= 0 || size >= length;
    };
    for (const DatabaseType& type : types) {
        if (type.providerType != code || isGenerating(type) || type.isUnsigned != wantUnsigned) {
            continue;
        }
        const bool fits = fitsLength(type);
        if (best == nullptr) {
            best = &type;
            continue;
        }
        const bool bestFits = fitsLength(*best);
        if (zonedSource && isZonedName(type.typeName) && !isZonedName(best->typeName) && fits) {
            best = &type;
            continue;
        }
        if (isPreferredName(type) && !isPreferredName(*best) && fits &&
            !(zonedSource && isZonedName(best->typeName))) {
            best = &type;
            continue;
        }
        // Prefer one that fits; among long types the largest holds anything.
        if ((fits && !bestFits) ||
            (length == unbounded && type.columnSize > best->columnSize && !bestFits)) {
            best = &type;
        } else if (length == unbounded && fits && bestFits && type.columnSize > best->columnSize &&
                   (code == P::LongVarChar || code == P::LongVarBinary)) {
            best = &type;
        }
    }
    return best != nullptr && (fitsLength(*best) || !mustFit) ? best : nullptr;
}

} // namespace

std::string decimalTypeName(const std::string& typeName, int precision, int scale,
                            DatabaseKind kind) {
    if (precision <= 0) {
        switch (kind) {
        case DatabaseKind::PostgreSQL:
        case DatabaseKind::SQLite:
            return typeName;
        case DatabaseKind::MariaDB:
            return typeName + "(65,30)";
        default:
            return typeName + "(38,10)";
        }
    }
    // numeric(3,-2) holds 99900, numeric(2,5) 0.00099: the digits they
    // span, in a decimal whose scale lies between 0 and its precision.
    const int spanned = scale < 0 ? precision - scale : std::max(precision, scale);
    const int widest = kind == DatabaseKind::MariaDB     ? 65
                       : kind == DatabaseKind::SQLServer ? 38
                                                         : spanned;
    const int digits = std::min(spanned, widest);
    const int places =
        std::clamp(scale, 0, std::min(digits, kind == DatabaseKind::MariaDB ? 38 : digits));
    return typeName + "(" + std::to_string(digits) + "," + std::to_string(places) + ")";
}

namespace {

std::string withParameters(const DatabaseType& type, const SourceColumnType& source,
                           DatabaseKind kind) {
    const bool zonedSource = isZonedName(source.typeName);
    const std::string typeName = withZoneOf(type.typeName, zonedSource);
    const std::string params = lowerCase(type.createParams);
    if (params.find("precision") != std::string::npos &&
        params.find("scale") != std::string::npos) {
        if (type.providerType == P::Numeric) {
            return decimalTypeName(typeName, source.precision, source.scale, kind);
        }
        return typeName;
    }
    if (params.find("length") != std::string::npos) {
        const std::int64_t size =
            source.length > 0 ? source.length : std::max<std::int64_t>(type.columnSize, 1);
        const std::int64_t most = capacity(type, kind);
        return typeName + "(" + std::to_string(most > 0 ? std::min(size, most) : size) + ")";
    }
    // Fractions of seconds need asking for on MariaDB.
    if ((type.providerType == P::DBTimeStamp || type.providerType == P::DBTime) &&
        kind == DatabaseKind::MariaDB) {
        const int digits = source.fractionDigits >= 0 ? std::min(source.fractionDigits, 6) : 6;
        return typeName + "(" + std::to_string(digits) + ")";
    }
    return typeName;
}

// A MariaDB type that a key takes only by a prefix of its values.
bool isLongType(const std::string& typeName) {
    const std::string upper = upperCase(typeName);
    return upper.find("TEXT") != std::string::npos || upper.find("BLOB") != std::string::npos;
}

// Names as the target folds them; PostgreSQL names lower case.
std::string columnName(TADOConnection& target, const std::string& name) {
    const std::string spelled = target.Kind() == DatabaseKind::PostgreSQL ? lowerCase(name) : name;
    return target.CreatedIdentifier(spelled);
}

} // namespace

std::optional<std::string> sameKindType(const SourceColumnType& source, DatabaseKind target) {
    const bool keeps = source.keepsDeclaration && source.sourceKind == target &&
                       (target == DatabaseKind::PostgreSQL || target == DatabaseKind::SQLite ||
                        (target == DatabaseKind::MariaDB && source.wholeDeclaration));
    return keeps ? std::optional<std::string>(source.typeName) : std::nullopt;
}

SourceColumnType sourceColumnType(const TADODataSet& rowset, DatabaseKind sourceKind) {
    const auto number = [&rowset](const char* name) -> std::int64_t {
        const TField& field = rowset.RequireField(name);
        return field.IsNull() ? -1 : field.Value().toInt64();
    };
    SourceColumnType source;
    source.providerType = rowset.RequireField("DATA_TYPE").AsInteger();
    source.length = number("CHARACTER_MAXIMUM_LENGTH");
    source.precision = static_cast<int>(number("NUMERIC_PRECISION"));
    source.scale = static_cast<int>(number("NUMERIC_SCALE"));
    source.fractionDigits = static_cast<int>(number("DATETIME_PRECISION"));
    source.typeName = rowset.RequireField("TYPE_NAME").AsString();
    source.sourceKind = sourceKind;
    return source;
}

std::string targetTypeName(TADOConnection& target, const SourceColumnType& column) {
    if (const auto same = sameKindType(column, target.Kind())) {
        return *same;
    }
    if (!column.targetDeclaration.empty()) {
        return column.targetDeclaration;
    }
    SourceColumnType source = column;
    if (source.providerType == P::GUID && source.length <= 0) {
        source.length = 36;
    }
    const auto& types = target.DataTypes();
    const DatabaseKind kind = target.Kind();
    const bool zonedSource = isZonedName(source.typeName);
    // A uuid stays one where the target's type takes every uuid, or every
    // uuid the source's own UUID type took.
    if (source.providerType == P::GUID && kind == DatabaseKind::MariaDB &&
        target.ServerVersion() >= 100700 &&
        (source.sourceKind == DatabaseKind::MariaDB || uuidTypeTakesAll(target.ServerVersion()))) {
        return "UUID";
    }
    // An unsigned 64-bit value needs 20 digits where it has no type of its own.
    if (source.providerType == P::UnsignedBigInt) {
        source.precision = 20;
        source.scale = 0;
    }
    // A type that holds the source's length first, else the nearest.
    for (const bool mustFit : {true, false}) {
        for (const int code : candidateSqlTypes(source.providerType, source.length)) {
            const DatabaseType* type = chooseType(types, kind, code, isUnsignedCode(code),
                                                  source.length, zonedSource, mustFit);
            if (type != nullptr) {
                return withParameters(*type, source, kind);
            }
        }
    }
    // SQLite lists no decimal type yet takes the standard one.
    if (source.providerType == P::Numeric || source.providerType == P::Decimal ||
        source.providerType == P::VarNumeric) {
        return decimalTypeName("DECIMAL", source.precision, source.scale, kind);
    }
    return {};
}

std::string buildTargetTypeScript(TADOConnection& source, const std::string& sourceName,
                                  TADOConnection& target, const std::string& name,
                                  const CreationFacts& facts) {
    TADODataSet rowset;
    source.OpenSchemaRowset(SchemaKind::PrimaryKeys, {Variant(), Variant(), Variant(sourceName)},
                            rowset);
    std::vector<std::string> keys;
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        keys.push_back(rowset.RequireField("COLUMN_NAME").AsString());
    }
    source.OpenSchemaRowset(SchemaKind::Columns,
                            {Variant(), Variant(), Variant(sourceName), Variant()}, rowset);
    if (rowset.RecordCount() == 0) {
        return {};
    }
    const std::string tableName = target.Kind() == DatabaseKind::MariaDB ? sourceName : name;
    std::string statement = "CREATE TABLE " + target.CreatedIdentifier(tableName) + " (";
    std::vector<std::string> longKeys;
    bool first = true;
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        const std::string column = rowset.RequireField("COLUMN_NAME").AsString();
        const std::string type =
            targetTypeName(target, facts.fitted(column, sourceColumnType(rowset, source.Kind())));
        if (type.empty()) {
            return {};
        }
        if (target.Kind() == DatabaseKind::MariaDB && isLongType(type) &&
            std::find(keys.begin(), keys.end(), column) != keys.end()) {
            longKeys.push_back(column);
        }
        statement += (first ? "" : ", ") + columnName(target, column) + " " + type +
                     (rowset.RequireField("IS_NULLABLE").AsBoolean() ? " NULL" : " NOT NULL");
        first = false;
    }
    std::string keyList;
    for (const std::string& key : keys) {
        keyList += (keyList.empty() ? "" : ", ") + columnName(target, key);
        // MariaDB keys a TEXT or BLOB column by its first characters; the key
        // as a whole holds at most 3072 bytes.
        if (std::find(longKeys.begin(), longKeys.end(), key) != longKeys.end()) {
            keyList += "(" + std::to_string(750 / longKeys.size()) + ")";
        }
    }
    if (!keyList.empty()) {
        statement += ", PRIMARY KEY (" + keyList + ")";
    }
    return statement + ")";
}
