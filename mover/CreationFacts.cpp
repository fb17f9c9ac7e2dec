#include "CreationFacts.h"

#include "dbaccess/TADODataSet.h"
#include "dbaccess/catalog/MariaDBColumns.h"
#include "dbaccess/catalog/PostgreSQLTypes.h"
#include "dbaccess/odbc/ProviderTypes.h"

#include <algorithm>

namespace {

namespace P = ProviderType;

bool isCharacter(int code) {
    return code == P::Char || code == P::WChar || code == P::VarChar || code == P::LongVarChar ||
           code == P::VarWChar || code == P::LongVarWChar || code == P::BSTR;
}

bool isBinary(int code) {
    return code == P::Binary || code == P::VarBinary || code == P::LongVarBinary;
}

// SQLite keeps dates and times as text, as they should be.
bool isTemporal(int code) {
    return code == P::Date || code == P::DBDate || code == P::DBTime || code == P::DBTimeStamp ||
           code == P::FileTime || code == P::DBFileTime;
}

// Whether the smallest and the largest integer fit an integer type.
bool integersFit(int code, const SQLiteColumnValues& values) {
    struct Range {
        int code;
        std::int64_t lowest, highest;
    };
    static constexpr Range ranges[] = {{P::TinyInt, -128, 127},
                                       {P::UnsignedTinyInt, 0, 255},
                                       {P::SmallInt, -32768, 32767},
                                       {P::UnsignedSmallInt, 0, 65535},
                                       {P::Integer, INT32_MIN, INT32_MAX},
                                       {P::UnsignedInt, 0, UINT32_MAX},
                                       {P::UnsignedBigInt, 0, INT64_MAX}};
    for (const Range& range : ranges) {
        if (range.code == code && values.integers > 0) {
            return values.smallestInteger >= range.lowest && values.largestInteger <= range.highest;
        }
    }
    return true;
}

// "VARCHAR(10)" as "VARCHAR(16)".
std::string withLength(const std::string& declared, std::int64_t length) {
    const auto open = declared.find('(');
    const auto close = declared.find(')', open);
    if (open == std::string::npos || close == std::string::npos) {
        return declared;
    }
    return declared.substr(0, open + 1) + std::to_string(length) + declared.substr(close);
}

void fitToValues(SourceColumnType& type, const SQLiteColumnValues& values) {
    const bool untyped = type.typeName.find_first_not_of(' ') == std::string::npos;
    const bool character = isCharacter(type.providerType);
    const bool binary = isBinary(type.providerType);
    // STRING, JSON or no type at all: SQLite keeps the text that is no number.
    if (values.texts > 0 && !character && !isTemporal(type.providerType) &&
        type.providerType != P::GUID && (!binary || untyped)) {
        // Numbers beside the text arrive as their text; a double needs up to 24 characters.
        type.providerType = P::Char;
        type.length = std::max<std::int64_t>(
            {values.longestText, values.longestNumber, values.reals > 0 ? 24 : 0, 1});
        type.precision = -1;
        type.scale = -1;
        return;
    }
    if (untyped && values.texts == 0 && values.blobs == 0 && values.integers + values.reals > 0) {
        type.providerType = values.reals > 0 ? P::Double : P::BigInt;
        type.length = -1;
        return;
    }
    // A narrower integer or decimal than its numbers need, or a date with
    // times of day, gets the type that holds them.
    if (!integersFit(type.providerType, values)) {
        type.providerType = P::BigInt;
        type.typeName = "BIGINT";
    }
    const bool decimal = type.providerType == P::Decimal || type.providerType == P::Numeric;
    if (decimal && type.precision > 0 && values.longestNumber > type.precision - type.scale) {
        type.precision = static_cast<int>(values.longestNumber) + std::max(type.scale, 0);
    }
    if (type.providerType == P::DBDate && values.longestText > 10) {
        type.providerType = P::DBTimeStamp;
    }
    const std::int64_t longest = character ? std::max(values.longestText, values.longestNumber)
                                 : binary  ? values.longestBlob
                                           : 0;
    if (type.length > 0 && longest > type.length) {
        type.length = longest;
        type.typeName = withLength(type.typeName, longest);
    }
}

} // namespace

CreationFacts CreationFacts::gather(TADOConnection& source, const std::string& sourceName,
                                    TADOConnection& target) {
    CreationFacts facts;
    if (source.Kind() == DatabaseKind::MariaDB && target.Kind() == DatabaseKind::MariaDB) {
        // Without them the columns get the nearest of the target's types.
        try {
            facts.wholeDeclarations_ = mariadbColumnDeclarations(source.session(), sourceName);
        } catch (const std::exception&) {
        }
        return facts;
    }
    if (source.Kind() == DatabaseKind::MariaDB && target.Kind() == DatabaseKind::PostgreSQL) {
        // A PostgreSQL time is a time of day; its interval holds durations.
        try {
            for (const std::string& column : mariadbDurationColumns(
                     source.session(), sourceName, source.SqlTableName(sourceName))) {
                facts.targetDeclarations_[column] = "interval";
                facts.notes_.push_back("Column " + column +
                                       " is created as interval in place of time: it holds "
                                       "durations");
            }
        } catch (const std::exception&) {
        }
        return facts;
    }
    const bool sqlite = source.Kind() == DatabaseKind::SQLite;
    const bool postgresql =
        source.Kind() == DatabaseKind::PostgreSQL && target.Kind() == DatabaseKind::PostgreSQL;
    if (!sqlite && !postgresql) {
        return facts;
    }
    // Without these facts the table is still created, from the columns alone.
    try {
        std::vector<std::pair<std::string, std::string>> columns;
        TADODataSet rowset;
        source.OpenSchemaRowset(SchemaKind::Columns,
                                {Variant(), Variant(), Variant(sourceName), Variant()}, rowset);
        for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
            columns.emplace_back(rowset.RequireField("COLUMN_NAME").AsString(),
                                 rowset.RequireField("TYPE_NAME").AsString());
        }
        if (sqlite) {
            std::vector<std::string> names;
            for (const auto& column : columns) {
                names.push_back(column.first);
            }
            for (auto& values : sqliteColumnValues(source.session(), sourceName, names)) {
                facts.values_[values.name] = std::move(values);
            }
            return facts;
        }
        for (const auto& [column, declared] : columns) {
            const std::string taken = facts.declarationFor(source, target, declared, 0);
            if (taken != declared) {
                facts.replacements_[column] = taken;
                facts.notes_.push_back("Column " + column + " is created as " +
                                       (taken.empty() ? "a type the target has" : taken) +
                                       " in place of " + declared);
            }
        }
    } catch (const std::exception&) {
    }
    return facts;
}

std::string CreationFacts::declarationFor(TADOConnection& source, TADOConnection& target,
                                          const std::string& declared, int depth) {
    if (const auto known = declarations_.find(declared); known != declarations_.end()) {
        return known->second;
    }
    // Types rest on types only a few levels deep.
    if (depth > 8) {
        return {};
    }
    std::string taken = declared;
    if (!postgresqlTypeExists(target.session(), declared)) {
        const PostgreSQLType type = postgresqlType(source.session(), declared);
        taken.clear();
        switch (type.kind) {
        case PostgreSQLType::Kind::Enum:
        case PostgreSQLType::Kind::Domain: {
            const bool isEnum = type.kind == PostgreSQLType::Kind::Enum;
            const std::string base =
                isEnum ? "text" : declarationFor(source, target, type.baseType, depth + 1);
            if (!isEnum && base != type.baseType) {
                taken = base;
                break;
            }
            try {
                createPostgreSQLType(target.session(), type);
                notes_.push_back("Type " + declared + " created in the target");
                taken = declared;
            } catch (const std::exception& error) {
                notes_.push_back("Type " + declared +
                                 " cannot be created in the target: " + error.what());
                taken = base;
            }
            break;
        }
        case PostgreSQLType::Kind::Array: {
            const std::string element = declarationFor(source, target, type.baseType, depth + 1);
            taken = element == type.baseType ? declared
                    : element.empty()        ? std::string()
                                             : element + "[]";
            break;
        }
        default:
            break;
        }
    }
    declarations_[declared] = taken;
    return taken;
}

SourceColumnType CreationFacts::fitted(const std::string& column, SourceColumnType type) const {
    if (const auto found = wholeDeclarations_.find(column); found != wholeDeclarations_.end()) {
        type.typeName = found->second;
        type.wholeDeclaration = true;
    }
    if (const auto found = targetDeclarations_.find(column); found != targetDeclarations_.end()) {
        type.targetDeclaration = found->second;
    }
    if (const auto found = replacements_.find(column); found != replacements_.end()) {
        type.typeName = found->second;
        type.keepsDeclaration = !found->second.empty();
    }
    if (const auto found = values_.find(column); found != values_.end()) {
        fitToValues(type, found->second);
    }
    return type;
}
