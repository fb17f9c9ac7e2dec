#include "OdbcSession.h"

#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/odbc/Timeouts.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <odbcinst.h>

namespace {

std::string getInfoText(SQLHDBC connection, SQLUSMALLINT info) {
    char buffer[512] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, info, buffer, sizeof buffer, &length))) {
        return {};
    }
    return buffer;
}

bool contains(const std::string& text, const char* part) {
    return lowerCase(text).find(part) != std::string::npos;
}

DatabaseKind kindOf(const std::string& dbms, const std::string& driver) {
    if (contains(dbms, "sqlite") || contains(driver, "sqlite")) {
        return DatabaseKind::SQLite;
    }
    if (contains(dbms, "postgres") || contains(driver, "psql")) {
        return DatabaseKind::PostgreSQL;
    }
    if (contains(dbms, "mysql") || contains(dbms, "mariadb") || contains(driver, "maodbc") ||
        contains(driver, "myodbc")) {
        return DatabaseKind::MariaDB;
    }
    if (contains(dbms, "sql server") || contains(driver, "tdsodbc")) {
        return DatabaseKind::SQLServer;
    }
    return DatabaseKind::Other;
}

bool hasKey(const std::string& connectionString, const char* key) {
    for (const auto& pair : parseConnectionString(connectionString)) {
        if (sameTextIgnoringCase(pair.key, key)) {
            return true;
        }
    }
    return false;
}

// "10.11.19-MariaDB-0+deb12u1", "15.18", "03.40.0001" as 101119, 151800, 34001.
int versionNumber(const std::string& text) {
    int parts[3] = {0, 0, 0};
    std::size_t part = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
        } else if (c == '.' && part < 2) {
            ++part;
        } else {
            break;
        }
    }
    return parts[0] * 10000 + std::min(parts[1], 99) * 100 + std::min(parts[2], 99);
}

} // namespace

void ensureUtf8CharacterLocale() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const auto isUtf8 = [](const char* name) {
        return name != nullptr &&
               (std::strstr(name, "UTF-8") != nullptr || std::strstr(name, "utf8") != nullptr ||
                std::strstr(name, "UTF8") != nullptr);
    };
    if (isUtf8(current)) {
        return;
    }
    const char* fromEnvironment = std::setlocale(LC_CTYPE, "");
    if (!isUtf8(fromEnvironment)) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
}

std::string driverOfConnectionString(const std::string& odbcConnectionString) {
    std::string driver = connectionStringValue(odbcConnectionString, "Driver");
    if (driver.empty()) {
        const std::string dsn = connectionStringValue(odbcConnectionString, "DSN");
        if (!dsn.empty()) {
            char buffer[512] = {};
            SQLGetPrivateProfileString(dsn.c_str(), "Driver", "", buffer, sizeof buffer,
                                       "ODBC.INI");
            driver = buffer;
        }
    }
    if (driver.size() >= 2 && driver.front() == '{' && driver.back() == '}') {
        driver = driver.substr(1, driver.size() - 2);
    }
    // A registered driver name leads to its library.
    char library[512] = {};
    SQLGetPrivateProfileString(driver.c_str(), "Driver", "", library, sizeof library,
                               "ODBCINST.INI");
    return library[0] != '\0' ? driver + " " + library : driver;
}

std::string withDriverOptions(const std::string& odbcConnectionString) {
    std::string result = odbcConnectionString;
    if (!result.empty() && result.back() != ';') {
        result += ';';
    }
    const std::string driver = lowerCase(driverOfConnectionString(odbcConnectionString));
    auto addDefault = [&result](const char* key, const char* value) {
        if (!hasKey(result, key)) {
            result += std::string(key) + "=" + value + ";";
        }
    };
    if (driver.find("psql") != std::string::npos || driver.find("postgres") != std::string::npos) {
        addDefault("BoolsAsChar", "0");
        addDefault("ByteaAsLongVarBinary", "1");
        addDefault("CommLog", "0");
        addDefault("Debug", "0");
        // Results come through a server cursor, a block at a time, instead
        // of whole into the driver's memory.
        addDefault("UseDeclareFetch", "1");
        addDefault("Fetch", "512");
    } else if (driver.find("maodbc") != std::string::npos ||
               driver.find("mariadb") != std::string::npos ||
               driver.find("mysql") != std::string::npos) {
        addDefault("CHARSET", "utf8mb4");
        // Forward-only results stream instead of being stored whole first.
        addDefault("NO_CACHE", "1");
    } else if (driver.find("sqlite") != std::string::npos) {
        // Rows are stepped through as they are fetched, not all read at execute.
        addDefault("StepAPI", "1");
    }
    return result;
}

OdbcSession::OdbcSession(const std::string& odbcConnectionString, int loginTimeoutSeconds,
                         CallWaiter* waiter, StatementTrace* trace)
    : driverLogs_(driverOfConnectionString(odbcConnectionString), odbcConnectionString),
      calls_(std::make_shared<SessionCalls>()),
      environment_(SQL_HANDLE_ENV, SQL_NULL_HANDLE, calls_) {
    calls_->setWaiter(waiter);
    calls_->setTrace(trace);
    ensureUtf8CharacterLocale();
    checkOdbc(SQLSetEnvAttr(environment_.get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              environment_);
    connection_ = OdbcHandle(SQL_HANDLE_DBC, environment_.get(), calls_);
    SQLSetConnectAttr(connection_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeoutSeconds)), 0);
    std::string text =
        withTimeoutOptions(withDriverOptions(odbcConnectionString), loginTimeoutSeconds);
    // The driver manager takes a 16-bit length: a longer string would be cut
    // and could name another database.
    constexpr std::size_t longest = std::numeric_limits<SQLSMALLINT>::max();
    if (text.size() > longest) {
        throw EOleException("The connection string is " + std::to_string(text.size()) +
                                " bytes long; ODBC takes at most " + std::to_string(longest),
                            static_cast<std::int32_t>(0x80004005));
    }
    // A connect left behind by a frozen server may end after this has gone:
    // the call owns its text and asks for no completed string back.
    const SQLRETURN rc = connection_.runOwned(
        [connection = connection_.get(), owned = std::make_shared<std::string>(std::move(text))] {
            return SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(owned->data()),
                                    static_cast<SQLSMALLINT>(owned->size()), nullptr, 0, nullptr,
                                    SQL_DRIVER_NOPROMPT);
        });
    if (!SQL_SUCCEEDED(rc)) {
        raiseFromDiagnostics(rc, SQL_HANDLE_DBC, connection_.get());
    }
    traits_.driverName = driverOfConnectionString(odbcConnectionString);
    probeTraits();
    prepareSession();
    boundLockWaits(*this);
}

OdbcHandle OdbcSession::newStatement() const {
    calls_->checkUsable();
    if (beforeStatement) {
        beforeStatement();
    }
    return OdbcHandle(SQL_HANDLE_STMT, connection_.get(), calls_);
}

void OdbcSession::probeTraits() {
    traits_.dbmsName = getInfoText(connection_.get(), SQL_DBMS_NAME);
    traits_.serverVersion = versionNumber(getInfoText(connection_.get(), SQL_DBMS_VER));
    const std::string driverFile = getInfoText(connection_.get(), SQL_DRIVER_NAME);
    traits_.kind = kindOf(traits_.dbmsName, driverFile + " " + traits_.driverName);
    const std::string quote = getInfoText(connection_.get(), SQL_IDENTIFIER_QUOTE_CHAR);
    traits_.identifierQuote = quote == " " ? std::string() : quote;
    traits_.currentCatalog = getInfoText(connection_.get(), SQL_DATABASE_NAME);
    SQLUSMALLINT identifierCase = 0;
    SQLGetInfo(connection_.get(), SQL_IDENTIFIER_CASE, &identifierCase, sizeof identifierCase,
               nullptr);
    traits_.folding = identifierCase == SQL_IC_LOWER   ? IdentifierFolding::Lower
                      : identifierCase == SQL_IC_UPPER ? IdentifierFolding::Upper
                                                       : IdentifierFolding::None;
    SQLUINTEGER scrollOptions = 0;
    SQLGetInfo(connection_.get(), SQL_SCROLL_OPTIONS, &scrollOptions, sizeof scrollOptions,
               nullptr);
    traits_.blockFetch = true;
}

void OdbcSession::prepareSession() {
    if (traits_.kind == DatabaseKind::PostgreSQL) {
        // Zoned values read and written as UTC, whatever the server's zone.
        execute("SET TIME ZONE 'UTC'");
    }
    if (traits_.kind == DatabaseKind::MariaDB) {
        // An explicit 0 in an AUTO_INCREMENT column stays 0; TIMESTAMP values
        // are read and written as UTC, whatever the server's zone.
        execute("SET SESSION sql_mode = CONCAT_WS(',', NULLIF(@@SESSION.sql_mode, ''), "
                "'NO_AUTO_VALUE_ON_ZERO'), time_zone = '+00:00'");
        traits_.lowerCaseTableNames =
            std::atoi(queryValue("SELECT @@lower_case_table_names").c_str());
    }
    if (traits_.kind == DatabaseKind::SQLite) {
        traits_.signedZero =
            queryValue("SELECT sqlite_compileoption_used('ENABLE_MATH_FUNCTIONS')") == "1";
    }
}

void OdbcSession::execute(const std::string& text) const {
    executeOn(newStatement(), text);
}

std::string OdbcSession::queryValue(const std::string& text) const {
    OdbcHandle statement = newStatement();
    executeOn(statement, text);
    char value[256] = {};
    SQLLEN indicator = 0;
    if (checkOdbc(SQLFetch(statement.get()), statement) == SQL_NO_DATA ||
        !SQL_SUCCEEDED(
            checkOdbc(SQLGetData(statement.get(), 1, SQL_C_CHAR, value, sizeof value, &indicator),
                      statement)) ||
        indicator == SQL_NULL_DATA) {
        return {};
    }
    return value;
}
