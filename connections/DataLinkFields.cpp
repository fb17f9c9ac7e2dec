#include "DataLinkFields.h"

#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/values/TStrings.h"

#include <initializer_list>

namespace {

bool isAnyOf(const std::string& key, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (sameTextIgnoringCase(key, name)) {
            return true;
        }
    }
    return false;
}

// The parser keeps ODBC braces; "}}" inside stands for one "}".
std::string unbraced(const std::string& value) {
    if (value.size() < 2 || value.front() != '{' || value.back() != '}') {
        return value;
    }
    std::string plain;
    const std::string inner = value.substr(1, value.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        plain += inner[i];
        if (inner[i] == '}' && i + 1 < inner.size() && inner[i + 1] == '}') {
            ++i;
        }
    }
    return plain;
}

void readSqlServerKey(DataLinkFields& fields, const std::string& key, const std::string& value) {
    if (isAnyOf(key, {"Data Source", "Server"})) {
        const auto comma = value.find(',');
        fields.server = value.substr(0, comma);
        fields.port = comma == std::string::npos ? std::string() : value.substr(comma + 1);
    } else if (isAnyOf(key, {"Initial Catalog", "Database"})) {
        fields.database = value;
    } else if (isAnyOf(key, {"User ID", "UID"})) {
        fields.user = value;
    } else if (isAnyOf(key, {"Password", "PWD"})) {
        fields.password = value;
    } else {
        fields.otherOptions += key + "=" + oledbConnectionValue(value) + ";";
    }
}

void readOdbcKey(DataLinkFields& fields, const std::string& key, const std::string& value) {
    if (key.empty() || isAnyOf(key, {"DSN", "Data Source"})) {
        fields.dataSource = value;
    } else if (isAnyOf(key, {"Driver"})) {
        fields.driver = value;
    } else if (isAnyOf(key, {"Server", "Servername", "Host"})) {
        fields.server = value;
    } else if (isAnyOf(key, {"Port"})) {
        fields.port = value;
    } else if (isAnyOf(key, {"Database", "Initial Catalog", "DBQ"})) {
        fields.database = value;
    } else if (isAnyOf(key, {"UID", "User ID", "User", "Username"})) {
        fields.user = value;
    } else if (isAnyOf(key, {"PWD", "Password"})) {
        fields.password = value;
    } else {
        fields.otherOptions += key + "=" + odbcConnectionValue(value) + ";";
    }
}

} // namespace

DataLinkFields parseDataLinkFields(const std::string& connectionString) {
    DataLinkFields fields;
    const std::string provider = connectionStringValue(connectionString, "Provider");
    if (isSqlServerProvider(provider)) {
        fields.provider = DataLinkProvider::SqlServer;
    }
    for (const auto& [key, rawValue] : parseConnectionString(connectionString)) {
        const std::string value = unbraced(rawValue);
        if (sameTextIgnoringCase(key, "Provider")) {
            if (!isOdbcProvider(provider) && !isSqlServerProvider(provider)) {
                fields.otherOptions += key + "=" + odbcConnectionValue(value) + ";";
            }
        } else if (fields.provider == DataLinkProvider::SqlServer) {
            readSqlServerKey(fields, key, value);
        } else {
            readOdbcKey(fields, key, value);
        }
    }
    return fields;
}

std::string buildConnectionString(const DataLinkFields& fields) {
    std::string result;
    const auto add = [&result](const char* key, const std::string& value, bool odbc) {
        if (!value.empty()) {
            result += std::string(key) + "=" +
                      (odbc ? odbcConnectionValue(value) : oledbConnectionValue(value)) + ";";
        }
    };
    if (fields.provider == DataLinkProvider::SqlServer) {
        result = "Provider=SQLOLEDB;";
        add("Data Source", fields.port.empty() ? fields.server : fields.server + "," + fields.port,
            false);
        add("Initial Catalog", fields.database, false);
        add("User ID", fields.user, false);
        add("Password", fields.password, false);
        result += fields.otherOptions;
        result.pop_back();
        return result;
    }
    if (!fields.dataSource.empty()) {
        add("DSN", fields.dataSource, true);
    } else if (!fields.driver.empty()) {
        // Driver names go in braces whatever they hold.
        result += "Driver=" + bracedOdbcValue(fields.driver) + ";";
    }
    add("Server", fields.server, true);
    add("Port", fields.port, true);
    add("Database", fields.database, true);
    add("Uid", fields.user, true);
    add("Pwd", fields.password, true);
    return result + fields.otherOptions;
}

bool isFileDatabaseDriver(const std::string& driver) {
    return lowerCase(driver).find("sqlite") != std::string::npos;
}
