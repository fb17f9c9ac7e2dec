#include "TADOTable.h"

#include "dbaccess/KeyBlockStream.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TableStream.h"
#include "dbaccess/catalog/ColumnRefinement.h"
#include "dbaccess/odbc/OdbcResultReader.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ResultSet.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

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
    const std::string sqlTableName = connection.SqlTableName(tableName_);
    const DatabaseKind kind = connection.Kind();
    // MariaDB's driver may hold a result whole: its columns come from a
    // statement without rows, and its tables are read by key where they can be.
    const bool byKey = kind == DatabaseKind::MariaDB;
    // A driver that streams may run no other statement beside an open one:
    // those tables are counted first. SQLite's open statement keeps the
    // snapshot that a count beside it reads.
    std::int64_t counted =
        kind == DatabaseKind::SQLite || byKey ? -1 : countRows(connection, sqlTableName);
    OdbcHandle statement = connection.session().newStatement();
    std::string text = "SELECT * FROM " + sqlTableName;
    const auto execute = [&statement](const std::string& sql) { executeOn(statement, sql); };
    const auto close = [&statement] {
        statement.run([&statement] { return SQLCloseCursor(statement.get()); });
    };
    execute(byKey ? text + " LIMIT 0" : text);
    auto columns = describeResultColumns(statement);
    refineResultColumns(connection.session(), statement, columns, tableName_);
    if (const std::string exact =
            exactReadingStatement(connection.session(), columns, sqlTableName);
        !exact.empty()) {
        close();
        text = exact;
        if (!byKey) {
            execute(text);
        }
    } else if (byKey) {
        close();
    }
    std::unique_ptr<ResultSet> result;
    if (byKey) {
        result = readTableByKey(connection, statement, text, columns, tableName_, sqlTableName);
        if (!result) {
            counted = countRows(connection, sqlTableName);
            execute(text);
        }
    }
    if (!result) {
        result = readTable(connection, std::move(statement), std::move(text), std::move(columns),
                           sqlTableName, counted);
    }
    char readOnly[8] = {};
    SQLGetInfo(connection.session().connection(), SQL_DATA_SOURCE_READ_ONLY, readOnly,
               sizeof readOnly, nullptr);
    result->canInsert = readOnly[0] != 'Y';
    return result;
}
