#pragma once

#include <chrono>
#include <string>

// Told of each statement a session runs and of each message its driver
// returns with it, on the calling thread once the call is over. Texts hold
// "?" where values go; values and connection strings never pass here.
class StatementTrace {
public:
    virtual ~StatementTrace() = default;

    virtual void statementRan(const std::string& text,
                              std::chrono::steady_clock::duration took) = 0;
    virtual void driverSaid(const std::string& message) = 0;

protected:
    StatementTrace() = default;
    StatementTrace(const StatementTrace&) = default;
    StatementTrace& operator=(const StatementTrace&) = default;
};
