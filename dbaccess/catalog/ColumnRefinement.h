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

// SQLite keeps a storage class with every value, whatever the column's
// declaration, and its driver hands doubles over with 15 digits and text up
// to a NUL: there a statement reads every column of the table as tagged
// values (see TaggedValue.h), with the columns marked so. Elsewhere, the
// statement that reads columns with a readAs expression; empty when the
// plain SELECT * reads every value exactly.
std::string exactReadingStatement(OdbcSession& session, std::vector<ColumnInfo>& columns,
                                  const std::string& sqlTableName);
