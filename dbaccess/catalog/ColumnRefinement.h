#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"

#include <string>
#include <vector>

class OdbcSession;

// Makes the driver's description of result columns true where drivers are
// known to misreport: SQLite's declared types, columns that refuse explicit
// values. tableName is the table cursor's table, empty for a query (then
// each column's base table, where the driver tells it, is used).
void refineResultColumns(OdbcSession& session, const OdbcHandle& statement,
                         std::vector<ColumnInfo>& columns, const std::string& tableName);

// SQLite's driver hands doubles over with 15 significant digits. A statement
// that reads the table's floating and numeric columns through quote(), whose
// text keeps every bit; empty when the table has no such column or the
// database is not SQLite.
std::string exactReadingStatement(OdbcSession& session, const std::vector<ColumnInfo>& columns,
                                  const std::string& sqlTableName);
