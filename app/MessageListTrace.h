#pragma once

#include "dbaccess/odbc/StatementTrace.h"

#include <string>

class TMainForm;

// Full Trace: each statement one connection runs, with the time it took, and
// each message its driver returns, as lines of the message list.
class MessageListTrace : public StatementTrace {
public:
    // side names the connection in each line: "Source" or "Target".
    MessageListTrace(TMainForm& form, std::string side) : form_(form), side_(std::move(side)) {}

    void statementRan(const std::string& text, std::chrono::steady_clock::duration took) override;
    void driverSaid(const std::string& message) override;

private:
    TMainForm& form_;
    std::string side_;
};
