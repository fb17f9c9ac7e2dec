#include "CatalogColumns.h"

#include "dbaccess/catalog/CatalogCalls.h"
#include "dbaccess/catalog/PostgreSQLColumns.h"
#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <cstdlib>

namespace {

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
        const std::string type = upperCase(column.typeName);
        column.isUnsigned = type.find("UNSIGNED") != std::string::npos;
        // Its catalog calls FLOAT(M,D) and DOUBLE(M,D) decimals; they hold
        // floats and doubles.
        if (column.sqlType == SQL_DECIMAL &&
            (type.starts_with("FLOAT") || type.starts_with("DOUBLE"))) {
            column.sqlType = type.starts_with("FLOAT") ? SQL_REAL : SQL_DOUBLE;
        }
        // Its catalog calls a UUID column long binary; its results, text.
        if (type == "UUID") {
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

// PostgreSQL's driver calls an unconstrained numeric numeric(28,6), a type
// without a length (text, json, arrays) one of 255 or 8190 characters, an
// oid a signed integer, a negative scale 2046 and money a double.
void correctPostgreSQLColumns(OdbcSession& session, std::vector<CatalogColumn>& columns) {
    const auto facts =
        postgresqlColumnFacts(session, columns.front().schema, columns.front().table);
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
            if (fact.numericPrecision > 0) {
                column.size = fact.numericPrecision;
                column.scale = fact.numericScale;
                column.hasScale = true;
            }
            column.isUnsigned = column.isUnsigned || fact.isUnsigned;
            // money is read as the decimal it stands for, not as a double.
            if (fact.declaredType == "money") {
                column.sqlType = SQL_DECIMAL;
                column.size = 19;
                column.scale = 2;
                column.hasScale = true;
            }
            if (isCharacterType(column.sqlType) && !fact.hasLength) {
                column.sqlType = SQL_LONGVARCHAR;
                column.size = 0;
            } else if (isCharacterType(column.sqlType)) {
                column.size = fact.characterLength;
            }
        }
    }
}

// MariaDB's driver tells no fraction digits of DATETIME, TIMESTAMP and TIME
// columns; its information schema does.
void correctMariaDBFractions(OdbcSession& session, std::vector<CatalogColumn>& columns) {
    const auto isClock = [](const CatalogColumn& column) {
        return column.sqlType == SQL_TYPE_TIMESTAMP || column.sqlType == SQL_TYPE_TIME;
    };
    if (std::none_of(columns.begin(), columns.end(), isClock)) {
        return;
    }
    const std::string& table = columns.front().table;
    const auto rows = queryRows(session,
                                "SELECT column_name, datetime_precision FROM "
                                "information_schema.columns WHERE table_name = ? AND "
                                "table_schema = COALESCE(NULLIF(?, ''), DATABASE()) AND "
                                "datetime_precision IS NOT NULL",
                                {table, columns.front().catalog});
    for (const auto& row : rows) {
        for (CatalogColumn& column : columns) {
            if (row.size() == 2 && column.table == table && isClock(column) &&
                sameTextIgnoringCase(column.name, row[0])) {
                column.hasScale = true;
                column.scale = std::atoi(row[1].c_str());
            }
        }
    }
}

} // namespace

std::vector<CatalogColumn> catalogColumns(OdbcSession& session, const std::string& schemaName,
                                          const std::string& tableName) {
    std::string catalog = defaultCatalog(session);
    std::string schema = schemaName;
    std::string table = escapePattern(session, tableName);
    OdbcHandle statement = session.newStatement();
    checkStatement(statement, "SQLColumns " + tableName, [&] {
        return SQLColumns(statement.get(), argument(catalog, !catalog.empty()),
                          argumentLength(catalog, !catalog.empty()),
                          argument(schema, !schema.empty()),
                          argumentLength(schema, !schema.empty()), argument(table, !table.empty()),
                          argumentLength(table, !table.empty()), nullptr, 0);
    });
    std::vector<CatalogColumn> columns;
    const DatabaseKind kind = session.traits().kind;
    while (fetchRow(statement) != SQL_NO_DATA) {
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
        correctPostgreSQLColumns(session, columns);
    }
    if (kind == DatabaseKind::MariaDB && !columns.empty()) {
        correctMariaDBFractions(session, columns);
    }
    return columns;
}
