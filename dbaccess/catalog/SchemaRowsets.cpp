#include "SchemaRowsets.h"

#include "dbaccess/catalog/CatalogCalls.h"
#include "dbaccess/catalog/CatalogColumns.h"
#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

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
std::string restriction(const std::vector<Variant>& restrictions, std::size_t index) {
    if (index >= restrictions.size() || restrictions[index].isEmpty()) {
        return {};
    }
    return restrictions[index].toString();
}

// Pattern arguments of catalog functions treat "_" and "%" as wildcards.
std::unique_ptr<ResultSet> tablesRowset(OdbcSession& session,
                                        const std::vector<Variant>& restrictions) {
    auto result = std::make_unique<ResultSet>(std::vector<ColumnInfo>{
        rowsetColumn("TABLE_CATALOG", P::VarWChar), rowsetColumn("TABLE_SCHEMA", P::VarWChar),
        rowsetColumn("TABLE_NAME", P::VarWChar), rowsetColumn("TABLE_TYPE", P::VarWChar),
        rowsetColumn("DESCRIPTION", P::VarWChar)});
    std::string catalog = restriction(restrictions, 0);
    if (catalog.empty()) {
        catalog = defaultCatalog(session);
    }
    std::string schema = restriction(restrictions, 1);
    std::string table = restriction(restrictions, 2);
    std::string type = restriction(restrictions, 3);
    if (!table.empty()) {
        table = escapePattern(session, table);
    }
    OdbcHandle statement = session.newStatement();
    checkStatement(statement, table.empty() ? "SQLTables" : "SQLTables " + table, [&] {
        return SQLTables(statement.get(), argument(catalog, !catalog.empty()),
                         argumentLength(catalog, !catalog.empty()),
                         argument(schema, !schema.empty()), argumentLength(schema, !schema.empty()),
                         argument(table, !table.empty()), argumentLength(table, !table.empty()),
                         argument(type, !type.empty()), argumentLength(type, !type.empty()));
    });
    const bool isSQLite = session.traits().kind == DatabaseKind::SQLite;
    while (fetchRow(statement) != SQL_NO_DATA) {
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

std::unique_ptr<ResultSet> primaryKeysRowset(OdbcSession& session,
                                             const std::vector<Variant>& restrictions) {
    auto result = std::make_unique<ResultSet>(std::vector<ColumnInfo>{
        rowsetColumn("TABLE_CATALOG", P::VarWChar), rowsetColumn("TABLE_SCHEMA", P::VarWChar),
        rowsetColumn("TABLE_NAME", P::VarWChar), rowsetColumn("COLUMN_NAME", P::VarWChar),
        rowsetColumn("ORDINAL", P::UnsignedInt), rowsetColumn("PK_NAME", P::VarWChar)});
    std::string catalog = restriction(restrictions, 0);
    if (catalog.empty()) {
        catalog = defaultCatalog(session);
    }
    std::string schema = restriction(restrictions, 1);
    std::string table = restriction(restrictions, 2);
    OdbcHandle statement = session.newStatement();
    checkStatement(statement, "SQLPrimaryKeys " + table, [&] {
        return SQLPrimaryKeys(statement.get(), argument(catalog, !catalog.empty()),
                              argumentLength(catalog, !catalog.empty()),
                              argument(schema, !schema.empty()),
                              argumentLength(schema, !schema.empty()), argument(table, true),
                              argumentLength(table, true));
    });
    std::vector<std::vector<Variant>> rows;
    while (fetchRow(statement) != SQL_NO_DATA) {
        rows.push_back({columnText(statement, 1), columnText(statement, 2),
                        columnText(statement, 3), columnText(statement, 4),
                        columnInteger(statement, 5), columnText(statement, 6)});
    }
    // SQLite's and MariaDB's drivers number key columns by their place in the
    // table; the database itself knows the key's order.
    std::vector<std::string> keyOrder;
    if (session.traits().kind == DatabaseKind::SQLite) {
        keyOrder = queryFirstColumn(
            session, "SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk", {table});
    } else if (session.traits().kind == DatabaseKind::MariaDB) {
        keyOrder = queryFirstColumn(session,
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

std::unique_ptr<ResultSet> columnsRowset(OdbcSession& session,
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
         catalogColumns(session, restriction(restrictions, 1), restriction(restrictions, 2))) {
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

std::unique_ptr<ResultSet> buildSchemaRowset(OdbcSession& session, SchemaKind kind,
                                             const std::vector<Variant>& restrictions) {
    switch (kind) {
    case SchemaKind::Tables:
        return tablesRowset(session, restrictions);
    case SchemaKind::Columns:
        return columnsRowset(session, restrictions);
    case SchemaKind::PrimaryKeys:
        return primaryKeysRowset(session, restrictions);
    }
    throw EADOError("Argument out of range");
}
