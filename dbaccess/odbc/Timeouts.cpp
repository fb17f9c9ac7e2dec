#include "Timeouts.h"

#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/TStrings.h"

namespace {

bool names(const std::string& driver, const char* part) {
    return driver.find(part) != std::string::npos;
}

} // namespace

std::string withTimeoutOptions(const std::string& odbcConnectionString, int loginTimeoutSeconds) {
    std::string result = odbcConnectionString;
    if (!result.empty() && result.back() != ';') {
        result += ';';
    }
    const auto addDefault = [&result](const char* key, int value) {
        if (connectionStringValue(result, key).empty()) {
            result += std::string(key) + "=" + std::to_string(value) + ";";
        }
    };
    const std::string driver = lowerCase(driverOfConnectionString(odbcConnectionString));
    if (names(driver, "maodbc") || names(driver, "mariadb") || names(driver, "mysql")) {
        // The driver bounds only the TCP connect by the login timeout, not the
        // server's greeting: a server that accepts and then answers nothing
        // would hold the login for ever.
        addDefault("CONN_TIMEOUT", loginTimeoutSeconds);
    } else if (names(driver, "sqlite")) {
        // Milliseconds, waited once to prepare and once to run a statement.
        addDefault("Timeout", lockWaitSeconds * 1000 / 2);
    }
    return result;
}

void boundLockWaits(OdbcSession& session) {
    std::string text;
    switch (session.traits().kind) {
    case DatabaseKind::PostgreSQL:
        text = "SET lock_timeout = '" + std::to_string(lockWaitSeconds) + "s'";
        break;
    case DatabaseKind::MariaDB:
        // Table and metadata locks, and InnoDB's row locks.
        text = "SET SESSION lock_wait_timeout = " + std::to_string(lockWaitSeconds) +
               ", innodb_lock_wait_timeout = " + std::to_string(lockWaitSeconds);
        break;
    default:
        return;
    }
    executeOn(session.newStatement(), text);
}
