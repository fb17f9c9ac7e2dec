#pragma once

#include "dbaccess/odbc/ColumnInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TADOConnection;

// A column that both tables have.
struct VerifiedColumn {
    ColumnInfo source;
    ColumnInfo target;
};

// The two tables of a copy, as their databases spell them.
struct VerifiedTable {
    TADOConnection& source;
    std::string sourceTable;
    TADOConnection& target;
    std::string targetTable;
    std::vector<VerifiedColumn> columns;
    // The source's primary key, as indexes into columns; empty without one.
    std::vector<std::size_t> keys;
};

struct VerifyOutcome {
    std::int64_t sourceRows = 0;
    std::int64_t identicalRows = 0;
    // The first differences, each a line; then how many more there are.
    std::vector<std::string> shown;
    std::int64_t hidden = 0;
    bool stopped = false;
    // Sides read through the driver rather than their database's own
    // library, and why the library could not be used where there is one.
    bool sourceThroughDriver = false;
    bool targetThroughDriver = false;
    std::string sourceFallback;
    std::string targetFallback;

    bool differs() const noexcept { return !shown.empty(); }
};

// At most this many difference lines are kept.
constexpr std::size_t shownDifferences = 20;

// Reads both tables again, each through its database's own client library
// where it has one (see openReading), and compares them: rows matched by the key (both sides read
// in key order and merged), or, without a key, as multisets of rows. keepGoing is asked every few
// hundred rows; when it says false the verification stops.
VerifyOutcome verifyTable(const VerifiedTable& table, const std::function<bool()>& keepGoing);
