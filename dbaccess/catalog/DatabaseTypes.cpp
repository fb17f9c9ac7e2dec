#include "DatabaseTypes.h"

#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/odbc/OdbcSession.h"

namespace {

std::string textColumn(const OdbcHandle& statement, SQLUSMALLINT column) {
    char value[256] = {};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(
            SQLGetData(statement.get(), column, SQL_C_CHAR, value, sizeof value, &indicator)) ||
        indicator == SQL_NULL_DATA) {
        return {};
    }
    return value;
}

SQLBIGINT integerColumn(const OdbcHandle& statement, SQLUSMALLINT column) {
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement.get(), column, SQL_C_SBIGINT, &value, 0, &indicator)) ||
        indicator == SQL_NULL_DATA) {
        return 0;
    }
    return value;
}

} // namespace

std::vector<DatabaseType> readDatabaseTypes(OdbcSession& session) {
    OdbcHandle statement = session.newStatement();
    checkStatement(statement, "SQLGetTypeInfo",
                   [&statement] { return SQLGetTypeInfo(statement.get(), SQL_ALL_TYPES); });
    std::vector<DatabaseType> types;
    while (fetchRow(statement) != SQL_NO_DATA) {
        DatabaseType type;
        // Columns are read left to right, as some drivers require.
        type.typeName = textColumn(statement, 1);
        type.sqlType = static_cast<short>(integerColumn(statement, 2));
        type.columnSize = integerColumn(statement, 3);
        type.createParams = textColumn(statement, 6);
        // MariaDB's driver lists "INT UNSIGNED" without saying it is unsigned.
        type.isUnsigned = integerColumn(statement, 10) == SQL_TRUE ||
                          type.typeName.find(" UNSIGNED") != std::string::npos;
        type.autoUnique = integerColumn(statement, 12) == SQL_TRUE;
        type.providerType = resultProviderType(type.sqlType, type.isUnsigned);
        types.push_back(std::move(type));
    }
    return types;
}
