#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ResultSet.h"

#include <functional>
#include <memory>
#include <vector>

// Describes the result columns of an executed statement in provider terms.
std::vector<ColumnInfo> describeResultColumns(const OdbcHandle& statement);

// Fetches every row (at most maxRecords when that is not 0) of an executed
// statement into a result. Block fetching is used where every column has a
// bounded size; when a value turns out longer than its column says, the
// statement is run again through reexecute and read row by row.
std::unique_ptr<ResultSet> fetchResult(const OdbcHandle& statement, std::vector<ColumnInfo> columns,
                                       int maxRecords, const std::function<void()>& reexecute);
