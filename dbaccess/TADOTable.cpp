#include "TADOTable.h"

#include "ColumnRefinement.h"
#include "Exceptions.h"
#include "OdbcResultReader.h"
#include "OdbcSession.h"
#include "ResultSet.h"
#include "SchemaRowsets.h"
#include "StatementText.h"
#include "TADOConnection.h"
#include "TStrings.h"

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
    const auto execute = [&statement, &text] { executeOn(statement, text); };
    execute();
    auto columns = describeResultColumns(statement);
    refineResultColumns(connection, statement, columns, tableName_);
    if (const std::string exact =
            exactReadingStatement(connection, columns, connection.SqlTableName(tableName_));
        !exact.empty()) {
        SQLCloseCursor(statement.get());
        text = exact;
        execute();
    }
    auto result = fetchResult(statement, std::move(columns), 0, execute);
    char readOnly[8] = {};
    SQLGetInfo(connection.session().connection(), SQL_DATA_SOURCE_READ_ONLY, readOnly,
               sizeof readOnly, nullptr);
    result->canInsert = readOnly[0] != 'Y';
    return result;
}
