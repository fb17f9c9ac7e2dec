#pragma once

#include "dbaccess/odbc/ConnectionStringRules.h"

#include <initializer_list>
#include <string>
#include <vector>

// The keys of a connection's ODBC connection string, and of the data source
// it names as the driver manager's odbc.ini holds them: where a database's
// own client library finds the database the driver reaches.
class ConnectionParameters {
public:
    // Raises EOleException for a string that cannot be read (a data link
    // file that is gone).
    explicit ConnectionParameters(const std::string& oledbConnectionString);

    // The value of the first of names that the string sets, else that its
    // data source sets; empty when neither does. Names ignore letter case.
    std::string value(std::initializer_list<const char*> names) const;
    // The same, or fallback when it is empty.
    std::string value(std::initializer_list<const char*> names, const std::string& fallback) const;

    // Why the parameters cannot be had, empty when they can.
    const std::string& missing() const noexcept { return missing_; }

private:
    std::vector<ConnectionStringPair> pairs_;
    std::string dataSource_;
    std::string missing_;
};
