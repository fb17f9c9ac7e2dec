#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OdbcSession;

// What a SQLite column holds, which its declaration does not bound: SQLite
// keeps text in a numeric column and 16 characters in a VARCHAR(10).
struct SQLiteColumnValues {
    std::string name;
    std::int64_t integers = 0;
    std::int64_t reals = 0;
    std::int64_t texts = 0;
    std::int64_t blobs = 0;
    // Characters of the longest text (bytes where it holds a NUL) and of
    // the longest number as text; bytes of the longest blob.
    std::int64_t longestText = 0;
    std::int64_t longestNumber = 0;
    std::int64_t longestBlob = 0;
    // The smallest and the largest integer.
    std::int64_t smallestInteger = 0;
    std::int64_t largestInteger = 0;
};

// One entry for each of columns, read in one pass over the table.
std::vector<SQLiteColumnValues> sqliteColumnValues(OdbcSession& session, const std::string& table,
                                                   const std::vector<std::string>& columns);
