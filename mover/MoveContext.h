#pragma once

#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/TStrings.h"

#include <cstdint>
#include <set>
#include <string>

// The window's objects that a move run works on.
struct MoveContext {
    TADOConnection& source;
    TADOConnection& target;
    TADOTable& sourceTable;
    TADOTable& targetTable;
    TADOQuery& targetQuery;
    // Target table names, lower case.
    TStringList& targetTables;
    // Outcome of the table being moved, 0 to 4.
    std::int16_t& tableStatus;
    // "source" and "target" once the run has said why the verification reads
    // that side through the driver.
    std::set<std::string> toldDriverReading{};
};
