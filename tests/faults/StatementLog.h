#pragma once

#include "tests/support/TestDatabase.h"

#include <cstdint>
#include <string>
#include <vector>

// The statements a server ran, from its own log: PostgreSQL's server log
// (log_statement = all) or MariaDB's general log table.
class StatementLog {
public:
    // Turns the log on for the server of the engine.
    explicit StatementLog(TestDatabase::Engine engine);
    // Forgets what ran so far.
    void mark();
    // What ran since mark(), the clients' own statements left out where the
    // log tells them apart.
    std::vector<std::string> statements() const;

private:
    TestDatabase::Engine engine_;
    std::uintmax_t offset_ = 0;
};

// Empty when the text is a single statement whose words outside quoted
// names and literals are free of comments, a second statement and DROP;
// otherwise what is wrong.
std::string foreignSql(const std::string& statement, TestDatabase::Engine engine);
