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
    std::string text = "SELECT * FROM " + connection.SqlTableName(tableName_);
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
