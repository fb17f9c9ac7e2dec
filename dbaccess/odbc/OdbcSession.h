#pragma once

#include "dbaccess/odbc/DriverLogs.h"
#include "dbaccess/odbc/DriverTraits.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/SessionCalls.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

class CallWaiter;
class StatementTrace;

// An open ODBC connection: environment and connection handles.
class OdbcSession {
public:
    // Connects with an ODBC connection string, giving up after the login
    // timeout; raises EOleException. With a waiter, calls run as
    // SessionCalls says, the connect included.
    explicit OdbcSession(const std::string& odbcConnectionString, int loginTimeoutSeconds = 15,
                         CallWaiter* waiter = nullptr, StatementTrace* trace = nullptr);

    SQLHDBC connection() const noexcept { return connection_.get(); }
    const DriverTraits& traits() const noexcept { return traits_; }

    // A new statement handle on this connection; beforeStatement runs first.
    OdbcHandle newStatement() const;

    // Lets tables that are read in blocks stand aside for other statements.
    std::function<void()> beforeStatement;

    void setCallWaiter(CallWaiter* waiter) noexcept { calls_->setWaiter(waiter); }
    void setTrace(StatementTrace* trace) noexcept { calls_->setTrace(trace); }
    // Whether a call was left behind: the session must be closed.
    bool abandoned() const noexcept { return calls_->abandoned(); }

private:
    void probeTraits();
    void prepareSession();
    void execute(const std::string& text) const;
    // The first value of a query's first row as text; empty for none or NULL.
    std::string queryValue(const std::string& text) const;

    // Declared first: it looks for the driver's logs after the handles are gone.
    DriverLogs driverLogs_;
    std::shared_ptr<SessionCalls> calls_;
    OdbcHandle environment_;
    OdbcHandle connection_;
    DriverTraits traits_;
};

// The driver that an ODBC connection string names, directly or through a DSN.
std::string driverOfConnectionString(const std::string& odbcConnectionString);

// The connection string with the options that make the driver's metadata and
// text handling right, where the user did not set them.
std::string withDriverOptions(const std::string& odbcConnectionString);

// psqlODBC converts text by the process locale; make its character type UTF-8.
void ensureUtf8CharacterLocale();
