#include "ColumnTypes.h"

#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/values/TStrings.h"

#include <array>

namespace {

namespace P = ProviderType;
using S = StorageKind;

// Narrow character kinds all read as DBTYPE_STR in the columns rowset, wide
// ones as DBTYPE_WSTR and binary ones as DBTYPE_BYTES.
constexpr std::array mappings = {
    ColumnTypeMapping{SQL_CHAR, P::Char, P::Char, P::Char, P::Char, S::Text, true},
    ColumnTypeMapping{SQL_VARCHAR, P::VarChar, P::VarChar, P::Char, P::Char, S::Text, true},
    ColumnTypeMapping{SQL_LONGVARCHAR, P::LongVarChar, P::LongVarChar, P::Char, P::Char, S::Text,
                      true},
    ColumnTypeMapping{SQL_WCHAR, P::WChar, P::WChar, P::WChar, P::WChar, S::Text, true},
    ColumnTypeMapping{SQL_WVARCHAR, P::VarWChar, P::VarWChar, P::WChar, P::WChar, S::Text, true},
    ColumnTypeMapping{SQL_WLONGVARCHAR, P::LongVarWChar, P::LongVarWChar, P::WChar, P::WChar,
                      S::Text, true},
    ColumnTypeMapping{SQL_BINARY, P::Binary, P::Binary, P::Binary, P::Binary, S::Binary, true},
    ColumnTypeMapping{SQL_VARBINARY, P::VarBinary, P::VarBinary, P::Binary, P::Binary, S::Binary,
                      true},
    ColumnTypeMapping{SQL_LONGVARBINARY, P::LongVarBinary, P::LongVarBinary, P::Binary, P::Binary,
                      S::Binary, true},
    ColumnTypeMapping{SQL_BIT, P::Boolean, P::Boolean, P::Boolean, P::Boolean, S::Boolean, false},
    ColumnTypeMapping{SQL_TINYINT, P::TinyInt, P::UnsignedTinyInt, P::TinyInt, P::UnsignedTinyInt,
                      S::Integer, false},
    ColumnTypeMapping{SQL_SMALLINT, P::SmallInt, P::UnsignedSmallInt, P::SmallInt,
                      P::UnsignedSmallInt, S::Integer, false},
    ColumnTypeMapping{SQL_INTEGER, P::Integer, P::UnsignedInt, P::Integer, P::UnsignedInt,
                      S::Integer, false},
    ColumnTypeMapping{SQL_BIGINT, P::BigInt, P::UnsignedBigInt, P::BigInt, P::UnsignedBigInt,
                      S::Integer, false},
    ColumnTypeMapping{SQL_REAL, P::Single, P::Single, P::Single, P::Single, S::Double, false},
    ColumnTypeMapping{SQL_FLOAT, P::Double, P::Double, P::Double, P::Double, S::Double, false},
    ColumnTypeMapping{SQL_DOUBLE, P::Double, P::Double, P::Double, P::Double, S::Double, false},
    ColumnTypeMapping{SQL_DECIMAL, P::Numeric, P::Numeric, P::Numeric, P::Numeric, S::Decimal,
                      false},
    ColumnTypeMapping{SQL_NUMERIC, P::Numeric, P::Numeric, P::Numeric, P::Numeric, S::Decimal,
                      false},
    ColumnTypeMapping{SQL_TYPE_DATE, P::DBDate, P::DBDate, P::DBDate, P::DBDate, S::DateTime,
                      false},
    ColumnTypeMapping{SQL_TYPE_TIME, P::DBTime, P::DBTime, P::DBTime, P::DBTime, S::DateTime,
                      false},
    ColumnTypeMapping{SQL_TYPE_TIMESTAMP, P::DBTimeStamp, P::DBTimeStamp, P::DBTimeStamp,
                      P::DBTimeStamp, S::DateTime, false},
    ColumnTypeMapping{SQL_DATE, P::DBDate, P::DBDate, P::DBDate, P::DBDate, S::DateTime, false},
    ColumnTypeMapping{SQL_TIME, P::DBTime, P::DBTime, P::DBTime, P::DBTime, S::DateTime, false},
    ColumnTypeMapping{SQL_TIMESTAMP, P::DBTimeStamp, P::DBTimeStamp, P::DBTimeStamp, P::DBTimeStamp,
                      S::DateTime, false},
    ColumnTypeMapping{SQL_GUID, P::GUID, P::GUID, P::GUID, P::GUID, S::Text, false},
};

constexpr ColumnTypeMapping unknownMapping{0,        P::Empty, P::Empty, P::Empty,
                                           P::Empty, S::Text,  false};

} // namespace

const ColumnTypeMapping& columnTypeMapping(SQLSMALLINT sqlType) {
    for (const auto& mapping : mappings) {
        if (mapping.sqlType == sqlType) {
            return mapping;
        }
    }
    return unknownMapping;
}

int resultProviderType(SQLSMALLINT sqlType, bool isUnsigned) {
    const auto& mapping = columnTypeMapping(sqlType);
    return isUnsigned ? mapping.unsignedResultCode : mapping.resultCode;
}

int schemaProviderType(SQLSMALLINT sqlType, bool isUnsigned) {
    const auto& mapping = columnTypeMapping(sqlType);
    return isUnsigned ? mapping.unsignedSchemaCode : mapping.schemaCode;
}

DeclaredType parseDeclaredType(const std::string& declaration) {
    DeclaredType type;
    std::string name = upperCase(declaration);
    std::string arguments;
    if (const auto open = name.find('('); open != std::string::npos) {
        const auto close = name.find(')', open);
        arguments = name.substr(open + 1,
                                close == std::string::npos ? std::string::npos : close - open - 1);
        name = name.substr(0, open);
    }
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    type.isUnsigned = name.find("UNSIGNED") != std::string::npos;
    std::int64_t first = 0;
    int second = 0;
    if (!arguments.empty()) {
        const auto comma = arguments.find(',');
        try {
            first = std::stoll(arguments.substr(0, comma));
            if (comma != std::string::npos) {
                second = std::stoi(arguments.substr(comma + 1));
            }
        } catch (const std::exception&) {
            first = 0;
        }
    }
    const auto has = [&name](const char* part) { return name.find(part) != std::string::npos; };
    // SQLite's affinity rules, in its own order of precedence.
    if (has("INT")) {
        // INTEGER holds 64-bit values; smaller names say what the column is for.
        type.sqlType = has("SMALL") ? SQL_SMALLINT : has("TINY") ? SQL_TINYINT : SQL_BIGINT;
    } else if (has("CHAR") || has("CLOB") || has("TEXT")) {
        const bool wide = name.rfind("N", 0) == 0 || has("WCHAR") || has("NATIONAL");
        if (has("TEXT") || has("CLOB") || first == 0) {
            type.sqlType = wide ? SQL_WLONGVARCHAR : SQL_LONGVARCHAR;
        } else if (has("VAR")) {
            type.sqlType = wide ? SQL_WVARCHAR : SQL_VARCHAR;
        } else {
            type.sqlType = wide ? SQL_WCHAR : SQL_CHAR;
        }
        type.size = first;
    } else if (has("BLOB") || has("BINARY") || has("BYTEA") || has("IMAGE") || name.empty()) {
        type.sqlType = first > 0 && !has("BLOB") ? SQL_VARBINARY : SQL_LONGVARBINARY;
        type.size = first;
    } else if (has("REAL") || has("FLOA") || has("DOUB")) {
        // Every floating type of SQLite is an 8-byte double.
        type.sqlType = SQL_DOUBLE;
    } else if (has("DEC") || has("NUMERIC") || has("MONEY")) {
        type.sqlType = SQL_DECIMAL;
        type.size = first;
        type.scale = second;
    } else if (has("BOOL") || name == "BIT") {
        type.sqlType = SQL_BIT;
    } else if (has("TIMESTAMP") || has("DATETIME")) {
        type.sqlType = SQL_TYPE_TIMESTAMP;
    } else if (has("DATE")) {
        type.sqlType = SQL_TYPE_DATE;
    } else if (has("TIME")) {
        type.sqlType = SQL_TYPE_TIME;
    } else if (has("GUID") || has("UUID")) {
        type.sqlType = SQL_GUID;
    } else {
        type.sqlType = SQL_DECIMAL;
    }
    return type;
}
