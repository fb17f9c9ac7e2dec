#pragma once

#include "ColumnInfo.h"
#include "OdbcHandle.h"

#include <string>
#include <vector>

class TADOConnection;

// Makes the driver's description of result columns true where drivers are
// known to misreport: SQLite's declared types, columns that refuse explicit
// values. tableName is the table cursor's table, empty for a query (then
// each column's base table, where the driver tells it, is used).
void refineResultColumns(TADOConnection& connection, const OdbcHandle& statement,
                         std::vector<ColumnInfo>& columns, const std::string& tableName);
