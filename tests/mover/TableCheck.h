#pragma once

#include "tests/support/TestDatabase.h"

#include <string>
#include <vector>

// Tables and rows as the engines' own clients see them.

struct ColumnDescription {
    std::string name;
    // The declared type, e.g. NVARCHAR(160), numeric(10,2), decimal(20,6).
    std::string type;
    bool nullable = true;
    // Position in the primary key from 1; 0 for other columns.
    int keyPosition = 0;
};

std::vector<std::string> tableNames(const TestDatabase& database);
// The database's own spelling of a table, matched without regard to case;
// empty when there is none.
std::string findTable(const TestDatabase& database, const std::string& name);
std::vector<ColumnDescription> describeTable(const TestDatabase& database,
                                             const std::string& table);
int rowCount(const TestDatabase& database, const std::string& table);

// Creates `table` in `target` with the source's column names (in their
// spelling), kinds of type, nullability and primary key.
void createTableLike(const TestDatabase& target, const std::string& table,
                     const std::vector<ColumnDescription>& columns);

struct TableComparison {
    int sourceRows = 0;
    int targetRows = 0;
    // One line per difference, at most a few per column.
    std::vector<std::string> differences;
};

// Every row of both tables ordered by the source's key, with every value
// rendered the same way on each engine: numbers as canonical decimal text,
// text and binary byte for byte, timestamps to the second, booleans as 0/1.
TableComparison compareTables(const TestDatabase& source, const std::string& sourceTable,
                              const TestDatabase& target, const std::string& targetTable);
