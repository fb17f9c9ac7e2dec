#include "TADOTable.h"

#include "ColumnTypes.h"
#include "Exceptions.h"
#include "OdbcResultReader.h"
#include "OdbcSession.h"
#include "ResultSet.h"
#include "SchemaRowsets.h"
#include "StatementText.h"
#include "TADOConnection.h"
#include "TStrings.h"

namespace {

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierChar(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

std::pair<std::string, std::string> splitSchema(const std::string& name) {
    const auto dot = name.find('.');
    if (dot == std::string::npos) {
        return {std::string(), name};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

// Identity columns that refuse explicit values.
std::vector<std::string> alwaysGeneratedColumns(TADOConnection& connection,
                                                const std::string& schema,
                                                const std::string& table) {
    if (connection.Kind() != DatabaseKind::PostgreSQL) {
        return {};
    }
    return queryFirstColumn(
        connection,
        "SELECT column_name FROM information_schema.columns WHERE table_name = ? "
        "AND table_schema = COALESCE(NULLIF(?, ''), current_schema()) "
        "AND identity_generation = 'ALWAYS'",
        {table, schema});
}

void applyDeclaredType(ColumnInfo& column, const CatalogColumn& declared) {
    const auto& mapping = columnTypeMapping(declared.sqlType);
    column.sqlType = declared.sqlType;
    column.providerType = declared.isUnsigned ? mapping.unsignedResultCode : mapping.resultCode;
    column.storage = declared.sqlType == SQL_BIGINT && declared.isUnsigned ? StorageKind::Unsigned
                                                                           : mapping.storage;
    column.definedSize = declared.size;
    if (declared.sqlType == SQL_DECIMAL || declared.sqlType == SQL_NUMERIC) {
        column.precision = static_cast<int>(declared.size > 0 ? declared.size : 38);
        column.scale = declared.scale;
    }
    column.nullable = declared.nullable;
}

} // namespace

bool isPlainIdentifier(const std::string& name) {
    if (name.empty() || !isIdentifierStart(name[0])) {
        return false;
    }
    for (const char c : name) {
        if (!isIdentifierChar(c)) {
            return false;
        }
    }
    return true;
}

// Plain identifiers joined by dots (catalog.schema.table and shorter).
static bool isPlainPath(const std::string& name) {
    std::size_t start = 0;
    for (;;) {
        const auto dot = name.find('.', start);
        const auto part = name.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!isPlainIdentifier(part)) {
            return false;
        }
        if (dot == std::string::npos) {
            return true;
        }
        start = dot + 1;
    }
}

std::string quoteIdentifier(const std::string& name, const std::string& quote) {
    if (quote.empty()) {
        return name;
    }
    std::string result = quote;
    for (const char c : name) {
        result += c;
        if (std::string(1, c) == quote) {
            result += c;
        }
    }
    return result + quote;
}

std::string quoteTableName(const std::string& name, const std::string& quote, bool always) {
    const auto [schema, table] = splitSchema(name);
    if (!always && isPlainPath(name)) {
        return name;
    }
    if (schema.empty()) {
        return quoteIdentifier(table, quote);
    }
    return quoteIdentifier(schema, quote) + "." + quoteIdentifier(table, quote);
}

void TADOTable::SetTableName(const std::string& name) {
    if (name == tableName_) {
        return;
    }
    checkInactive();
    tableName_ = name;
}

void TADOTable::SetCursorType(TCursorType type) {
    if (type == cursorType_) {
        return;
    }
    checkInactive();
    cursorType_ = type;
}

std::unique_ptr<ResultSet> TADOTable::openResult() {
    if (tableName_.empty()) {
        raise("Missing TableName property");
    }
    TADOConnection& connection = requireConnection();
    OdbcHandle statement = connection.session().newStatement();
    std::string text = "SELECT * FROM " + quoteTableName(tableName_, connection.IdentifierQuote());
    auto execute = [&statement, text]() mutable {
        checkOdbc(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                static_cast<SQLINTEGER>(text.size())),
                  statement);
    };
    execute();
    auto columns = describeResultColumns(statement);
    const auto [schema, table] = splitSchema(tableName_);
    if (connection.Kind() == DatabaseKind::SQLite) {
        for (const CatalogColumn& declared : catalogColumns(connection, schema, table)) {
            for (ColumnInfo& column : columns) {
                if (sameTextIgnoringCase(column.name, declared.name)) {
                    applyDeclaredType(column, declared);
                }
            }
        }
    }
    const auto generated = alwaysGeneratedColumns(connection, schema, table);
    for (ColumnInfo& column : columns) {
        for (const auto& name : generated) {
            if (column.name == name) {
                column.autoIncrement = true;
                column.updatability = Updatability::ReadOnly;
            }
        }
    }
    if (connection.Kind() == DatabaseKind::SQLServer) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            SQLLEN autoUnique = 0;
            SQLColAttribute(statement.get(), static_cast<SQLUSMALLINT>(i + 1),
                            SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr, &autoUnique);
            if (autoUnique == SQL_TRUE) {
                columns[i].autoIncrement = true;
                columns[i].updatability = Updatability::ReadOnly;
            }
        }
    }
    auto result = fetchResult(statement, std::move(columns), 0, execute);
    char readOnly[8] = {};
    SQLGetInfo(connection.session().connection(), SQL_DATA_SOURCE_READ_ONLY, readOnly,
               sizeof readOnly, nullptr);
    result->canInsert = readOnly[0] != 'Y';
    return result;
}
