#include "SchemaRowsets.h"

#include "ColumnTypes.h"
#include "Exceptions.h"
#include "FieldTypes.h"
#include "OdbcSession.h"
#include "PostgreSQLColumns.h"
#include "StatementText.h"
#include "TStrings.h"

#include <algorithm>

namespace {

namespace P = ProviderType;

ColumnInfo rowsetColumn(const char* name, int providerType) {
    ColumnInfo column;
    column.name = name;
    column.providerType = providerType;
    column.updatability = Updatability::ReadOnly;
    switch (providerType) {
    case P::Boolean:
        column.storage = StorageKind::Boolean;
        break;
    case P::VarWChar:
        column.storage = StorageKind::Text;
        column.definedSize = 128;
        break;
    default:
        column.storage = StorageKind::Integer;
        break;
    }
    return column;
}

// Text of a catalog result column, or null.
Variant columnText(const OdbcHandle& statement, SQLUSMALLINT column) {
    std::string value(1024, '\0');
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), column, SQL_C_CHAR, value.data(),
                                    static_cast<SQLLEN>(value.size()), &indicator);
    if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
        return Variant::null();
    }
    value.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLLEN>(indicator, 0)),
                                       value.size() - 1));
    return Variant(std::move(value));
}

Variant columnInteger(const OdbcHandle& statement, SQLUSMALLINT column) {
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), column, SQL_C_SBIGINT, &value, 0, &indicator);
    if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
        return Variant::null();
    }
    return Variant(static_cast<std::int64_t>(value));
}

std::string restriction(const std::vector<Variant>& restrictions, std::size_t index) {
    if (index >= restrictions.size() || restrictions[index].isEmpty()) {
        return {};
    }
    return restrictions[index].toString();
}

// Pattern arguments of catalog functions treat "_" and "%" as wildcards.
std::string escapePattern(TADOConnection& connection, const std::string& name) {
    char escape[8] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(connection.session().connection(), SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape,
               &length);
    if (escape[0] == '\0') {
        return name;
    }
    std::string result;
    for (const char c : name) {
        if (c == '_' || c == '%' || c == escape[0]) {
            result += escape[0];
        }
        result += c;
    }
    return result;
}

SQLCHAR* argument(std::string& text, bool present) {
    return present ? reinterpret_cast<SQLCHAR*>(text.data()) : nullptr;
}

SQLSMALLINT argumentLength(const std::string& text, bool present) {
    return present ? static_cast<SQLSMALLINT>(text.size()) : 0;
}

// MariaDB lists every database of the server unless told the current one.
std::string defaultCatalog(TADOConnection& connection) {
    return connection.Kind() == DatabaseKind::MariaDB ? connection.session().traits().currentCatalog
                                                      : std::string();
}

std::unique_ptr<ResultSet> tablesRowset(TADOConnection& connection,
                                        const std::vector<Variant>& restrictions) {
    auto result = std::make_unique<ResultSet>(std::vector<ColumnInfo>{
        rowsetColumn("TABLE_CATALOG", P::VarWChar), rowsetColumn("TABLE_SCHEMA", P::VarWChar),
        rowsetColumn("TABLE_NAME", P::VarWChar), rowsetColumn("TABLE_TYPE", P::VarWChar),
        rowsetColumn("DESCRIPTION", P::VarWChar)});
    std::string catalog = restriction(restrictions, 0);
    if (catalog.empty()) {
        catalog = defaultCatalog(connection);
    }
    std::string schema = restriction(restrictions, 1);
    std::string table = restriction(restrictions, 2);
    std::string type = restriction(restrictions, 3);
    if (!table.empty()) {
        table = escapePattern(connection, table);
    }
    OdbcHandle statement = connection.session().newStatement();
    checkOdbc(SQLTables(statement.get(), argument(catalog, !catalog.empty()),
                        argumentLength(catalog, !catalog.empty()),
                        argument(schema, !schema.empty()), argumentLength(schema, !schema.empty()),
                        argument(table, !table.empty()), argumentLength(table, !table.empty()),
                        argument(type, !type.empty()), argumentLength(type, !type.empty())),
              statement);
    const bool isSQLite = connection.Kind() == DatabaseKind::SQLite;
    while (checkOdbc(SQLFetch(statement.get()), statement) != SQL_NO_DATA) {
        // Braced lists evaluate in order, so the columns are read left to right.
        std::vector<Variant> row{columnText(statement, 1), columnText(statement, 2),
                                 columnText(statement, 3), columnText(statement, 4),
                                 columnText(statement, 5)};
        if (isSQLite && row[2].toString().rfind("sqlite_", 0) == 0 &&
            row[3].toString() == "TABLE") {
            row[3] = Variant("SYSTEM TABLE");
        }
        result->appendRow(row);
    }
    return result;
}

std::unique_ptr<ResultSet> primaryKeysRowset(TADOConnection& connection,
                                             const std::vector<Variant>& restrictions) {
    auto result = std::make_unique<ResultSet>(std::vector<ColumnInfo>{
        rowsetColumn("TABLE_CATALOG", P::VarWChar), rowsetColumn("TABLE_SCHEMA", P::VarWChar),
        rowsetColumn("TABLE_NAME", P::VarWChar), rowsetColumn("COLUMN_NAME", P::VarWChar),
        rowsetColumn("ORDINAL", P::UnsignedInt), rowsetColumn("PK_NAME", P::VarWChar)});
    std::string catalog = restriction(restrictions, 0);
    if (catalog.empty()) {
        catalog = defaultCatalog(connection);
    }
    std::string schema = restriction(restrictions, 1);
    std::string table = restriction(restrictions, 2);
    OdbcHandle statement = connection.session().newStatement();
    checkOdbc(SQLPrimaryKeys(statement.get(), argument(catalog, !catalog.empty()),
                             argumentLength(catalog, !catalog.empty()),
                             argument(schema, !schema.empty()),
                             argumentLength(schema, !schema.empty()), argument(table, true),
                             argumentLength(table, true)),
              statement);
    std::vector<std::vector<Variant>> rows;
    while (checkOdbc(SQLFetch(statement.get()), statement) != SQL_NO_DATA) {
        rows.push_back({columnText(statement, 1), columnText(statement, 2),
                        columnText(statement, 3), columnText(statement, 4),
                        columnInteger(statement, 5), columnText(statement, 6)});
    }
    // SQLite's and MariaDB's drivers number key columns by their place in the
    // table; the database itself knows the key's order.
    std::vector<std::string> keyOrder;
    if (connection.Kind() == DatabaseKind::SQLite) {
        keyOrder = queryFirstColumn(
            connection, "SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk", {table});
    } else if (connection.Kind() == DatabaseKind::MariaDB) {
        keyOrder = queryFirstColumn(connection,
                                    "SELECT COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE "
                                    "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? AND "
                                    "CONSTRAINT_NAME = 'PRIMARY' ORDER BY ORDINAL_POSITION",
                                    {table});
    }
    if (keyOrder.size() == rows.size()) {
        for (auto& row : rows) {
            const auto place = std::find(keyOrder.begin(), keyOrder.end(), row[3].toString());
            if (place != keyOrder.end()) {
                row[4] = Variant(static_cast<std::int64_t>(place - keyOrder.begin() + 1));
            }
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a[4].toInt64() < b[4].toInt64(); });
    for (const auto& row : rows) {
        result->appendRow(row);
    }
    return result;
}

// The catalog's numbers made true: SQLite keeps only the declaration.
void correctColumn(DatabaseKind kind, CatalogColumn& column) {
    if (kind == DatabaseKind::SQLite) {
        const DeclaredType declared = parseDeclaredType(column.typeName);
        column.sqlType = declared.sqlType;
        column.size = declared.size;
        column.scale = declared.scale;
        column.hasScale = declared.sqlType == SQL_DECIMAL;
        column.isUnsigned = declared.isUnsigned;
    } else if (kind == DatabaseKind::MariaDB) {
        column.isUnsigned = upperCase(column.typeName).find("UNSIGNED") != std::string::npos;
        // Its catalog calls a UUID column long binary; its results, text.
        if (upperCase(column.typeName) == "UUID") {
            column.sqlType = SQL_GUID;
            column.size = 36;
        }
        // Its catalog calls every character column wide, even on a narrow connection.
        column.sqlType = column.sqlType == SQL_WCHAR          ? SQL_CHAR
                         : column.sqlType == SQL_WVARCHAR     ? SQL_VARCHAR
                         : column.sqlType == SQL_WLONGVARCHAR ? SQL_LONGVARCHAR
                                                              : column.sqlType;
    }
    if (column.sqlType == SQL_DATETIME || column.sqlType == SQL_TIMESTAMP) {
        column.sqlType = SQL_TYPE_TIMESTAMP;
    } else if (column.sqlType == SQL_DATE) {
        column.sqlType = SQL_TYPE_DATE;
    } else if (column.sqlType == SQL_TIME) {
        column.sqlType = SQL_TYPE_TIME;
    }
}

bool isCharacterType(SQLSMALLINT sqlType) {
    return sqlType == SQL_CHAR || sqlType == SQL_VARCHAR || sqlType == SQL_LONGVARCHAR ||
           sqlType == SQL_WCHAR || sqlType == SQL_WVARCHAR || sqlType == SQL_WLONGVARCHAR;
}

// PostgreSQL's driver calls an unconstrained numeric numeric(28,6) and a type
// without a length (text, json, arrays) one of 255 or 8190 characters.
void correctPostgreSQLColumns(TADOConnection& connection, std::vector<CatalogColumn>& columns) {
    const auto facts =
        postgresqlColumnFacts(connection, columns.front().schema, columns.front().table);
    for (CatalogColumn& column : columns) {
        for (const auto& fact : facts) {
            if (fact.name != column.name || column.table != columns.front().table) {
                continue;
            }
            if (!fact.declaredType.empty()) {
                column.typeName = fact.declaredType;
            }
            if (fact.unconstrainedNumeric) {
                column.size = 0;
                column.hasScale = false;
            }
            if (isCharacterType(column.sqlType) && !fact.hasLength) {
                column.sqlType = SQL_LONGVARCHAR;
                column.size = 0;
            }
        }
    }
}

std::unique_ptr<ResultSet> columnsRowset(TADOConnection& connection,
                                         const std::vector<Variant>& restrictions) {
    auto result = std::make_unique<ResultSet>(std::vector<ColumnInfo>{
        rowsetColumn("TABLE_CATALOG", P::VarWChar), rowsetColumn("TABLE_SCHEMA", P::VarWChar),
        rowsetColumn("TABLE_NAME", P::VarWChar), rowsetColumn("COLUMN_NAME", P::VarWChar),
        rowsetColumn("ORDINAL_POSITION", P::UnsignedInt),
        rowsetColumn("COLUMN_HASDEFAULT", P::Boolean), rowsetColumn("COLUMN_DEFAULT", P::VarWChar),
        rowsetColumn("IS_NULLABLE", P::Boolean), rowsetColumn("DATA_TYPE", P::UnsignedSmallInt),
        rowsetColumn("CHARACTER_MAXIMUM_LENGTH", P::UnsignedInt),
        rowsetColumn("CHARACTER_OCTET_LENGTH", P::UnsignedInt),
        rowsetColumn("NUMERIC_PRECISION", P::UnsignedSmallInt),
        rowsetColumn("NUMERIC_SCALE", P::SmallInt),
        rowsetColumn("DATETIME_PRECISION", P::UnsignedInt),
        rowsetColumn("TYPE_NAME", P::VarWChar)});
    const std::string columnName = restriction(restrictions, 3);
    for (const CatalogColumn& column :
         catalogColumns(connection, restriction(restrictions, 1), restriction(restrictions, 2))) {
        if (!columnName.empty() && column.name != columnName) {
            continue;
        }
        const auto& mapping = columnTypeMapping(column.sqlType);
        const bool isNumeric = column.sqlType == SQL_DECIMAL || column.sqlType == SQL_NUMERIC;
        const bool isDateTime =
            column.sqlType == SQL_TYPE_TIMESTAMP || column.sqlType == SQL_TYPE_TIME;
        const bool isLong = column.sqlType == SQL_LONGVARCHAR ||
                            column.sqlType == SQL_WLONGVARCHAR ||
                            column.sqlType == SQL_LONGVARBINARY;
        Variant length = Variant::null();
        if (mapping.hasCharacterLength) {
            // Long kinds without a stated size are as long as a database goes.
            length = Variant(static_cast<std::int64_t>(
                column.size > 0 ? std::min<std::int64_t>(column.size, 2147483647)
                                : (isLong ? 2147483647 : 0)));
        }
        const bool wide = column.sqlType == SQL_WCHAR || column.sqlType == SQL_WVARCHAR ||
                          column.sqlType == SQL_WLONGVARCHAR;
        result->appendRow(
            {Variant(column.catalog), Variant(column.schema), Variant(column.table),
             Variant(column.name), Variant(static_cast<std::int64_t>(column.ordinal)),
             Variant(column.hasDefault),
             column.hasDefault ? Variant(column.defaultValue) : Variant::null(),
             Variant(column.nullable),
             Variant(
                 static_cast<std::int64_t>(schemaProviderType(column.sqlType, column.isUnsigned))),
             length,
             mapping.hasCharacterLength && length.toInt64() > 0
                 ? Variant(std::min<std::int64_t>(length.toInt64() * (wide ? 2 : 1), 2147483647))
                 : Variant::null(),
             isNumeric && column.size > 0 ? Variant(column.size) : Variant::null(),
             isNumeric && column.hasScale ? Variant(static_cast<std::int64_t>(column.scale))
                                          : Variant::null(),
             isDateTime && column.hasScale ? Variant(static_cast<std::int64_t>(column.scale))
                                           : Variant::null(),
             Variant(column.typeName)});
    }
    return result;
}

} // namespace

std::vector<CatalogColumn> catalogColumns(TADOConnection& connection, const std::string& schemaName,
                                          const std::string& tableName) {
    std::string catalog = defaultCatalog(connection);
    std::string schema = schemaName;
    std::string table = escapePattern(connection, tableName);
    OdbcHandle statement = connection.session().newStatement();
    checkOdbc(SQLColumns(statement.get(), argument(catalog, !catalog.empty()),
                         argumentLength(catalog, !catalog.empty()),
                         argument(schema, !schema.empty()), argumentLength(schema, !schema.empty()),
                         argument(table, !table.empty()), argumentLength(table, !table.empty()),
                         nullptr, 0),
              statement);
    std::vector<CatalogColumn> columns;
    const DatabaseKind kind = connection.Kind();
    while (checkOdbc(SQLFetch(statement.get()), statement) != SQL_NO_DATA) {
        CatalogColumn column;
        column.catalog = columnText(statement, 1).toString();
        column.schema = columnText(statement, 2).toString();
        column.table = columnText(statement, 3).toString();
        column.name = columnText(statement, 4).toString();
        column.sqlType = static_cast<SQLSMALLINT>(columnInteger(statement, 5).toInt64());
        column.typeName = columnText(statement, 6).toString();
        column.size = columnInteger(statement, 7).toInt64();
        const Variant digits = columnInteger(statement, 9);
        column.hasScale = !digits.isEmpty();
        column.scale = static_cast<int>(digits.toInt64());
        column.nullable = columnInteger(statement, 11).toInt64() != SQL_NO_NULLS;
        const Variant defaultValue = columnText(statement, 13);
        column.hasDefault = !defaultValue.isEmpty();
        column.defaultValue = defaultValue.toString();
        column.ordinal = static_cast<int>(columnInteger(statement, 17).toInt64());
        correctColumn(kind, column);
        columns.push_back(std::move(column));
    }
    if (kind == DatabaseKind::PostgreSQL && !columns.empty()) {
        correctPostgreSQLColumns(connection, columns);
    }
    return columns;
}

std::unique_ptr<ResultSet> buildSchemaRowset(TADOConnection& connection, SchemaKind kind,
                                             const std::vector<Variant>& restrictions) {
    switch (kind) {
    case SchemaKind::Tables:
        return tablesRowset(connection, restrictions);
    case SchemaKind::Columns:
        return columnsRowset(connection, restrictions);
    case SchemaKind::PrimaryKeys:
        return primaryKeysRowset(connection, restrictions);
    }
    throw EADOError("Argument out of range");
}
