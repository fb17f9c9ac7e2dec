#pragma once

#include "ClientValueText.h"
#include "tests/support/TestDatabase.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

struct ExactColumn {
    std::string name;
    Family family;
};

// Every row of `table` by its integer key `id`, the columns read through the
// database's own client and rendered exactly. A column missing in the
// table raises.
std::map<long long, std::vector<Canonical>> readExactly(const TestDatabase& database,
                                                        const std::string& table,
                                                        const std::vector<ExactColumn>& columns);

// Lines on what differs: missing columns and rows, then examples (row key,
// column, source and target value) of each source value that arrived
// changed, the first of every column before the second of any, up to
// `shown` lines, and last the number of differing rows of each column.
std::vector<std::string> compareExactly(const TestDatabase& source, const std::string& sourceTable,
                                        const TestDatabase& target, const std::string& targetTable,
                                        const std::vector<ExactColumn>& columns,
                                        std::size_t shown = 20);

// A value short enough for a failure message.
std::string shownValue(const Canonical& value, Family family);
