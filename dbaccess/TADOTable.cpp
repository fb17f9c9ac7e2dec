#include "TADOTable.h"

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
    // A driver that streams may run no other statement beside an open one:
    // those tables are counted first. SQLite's open statement keeps the
    // snapshot that a count beside it reads.
    const std::int64_t counted =
        connection.Kind() == DatabaseKind::SQLite ? -1 : countRows(connection, sqlTableName);
    OdbcHandle statement = connection.session().newStatement();
    std::string text = "SELECT * FROM " + sqlTableName;
    const auto execute = [&statement, &text] { executeOn(statement, text); };
    execute();
    auto columns = describeResultColumns(statement);
    refineResultColumns(connection.session(), statement, columns, tableName_);
    if (const std::string exact =
            exactReadingStatement(connection.session(), columns, sqlTableName);
        !exact.empty()) {
        statement.run([&statement] { return SQLCloseCursor(statement.get()); });
        text = exact;
        execute();
    }
    auto result = readTable(connection, std::move(statement), std::move(text), std::move(columns),
                            sqlTableName, counted);
    char readOnly[8] = {};
    SQLGetInfo(connection.session().connection(), SQL_DATA_SOURCE_READ_ONLY, readOnly,
               sizeof readOnly, nullptr);
    result->canInsert = readOnly[0] != 'Y';
    return result;
}
