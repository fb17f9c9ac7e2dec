#include "DriverLogs.h"

#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <odbcinst.h>
#include <system_error>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Whether the user turned a log on in the connection string.
bool asksForLog(const std::string& connectionString) {
    for (const char* key : {"CommLog", "Debug", "B2", "B3"}) {
        const std::string value = trimmed(connectionStringValue(connectionString, key));
        if (!value.empty() && value != "0") {
            return true;
        }
    }
    return false;
}

// The driver's section in odbcinst.ini, named directly or through a data source.
std::string driverSection(const std::string& connectionString) {
    std::string driver = connectionStringValue(connectionString, "Driver");
    if (driver.empty()) {
        char name[512] = {};
        SQLGetPrivateProfileString(connectionStringValue(connectionString, "DSN").c_str(), "Driver",
                                   "", name, sizeof name, "ODBC.INI");
        driver = name;
    }
    if (driver.size() >= 2 && driver.front() == '{' && driver.back() == '}') {
        driver = driver.substr(1, driver.size() - 2);
    }
    return driver;
}

} // namespace

DriverLogs::DriverLogs(const std::string& driverName, const std::string& odbcConnectionString) {
    const std::string driver = lowerCase(driverName);
    if ((driver.find("psql") == std::string::npos &&
         driver.find("postgres") == std::string::npos) ||
        asksForLog(odbcConnectionString)) {
        return;
    }
    char folder[512] = {};
    SQLGetPrivateProfileString(driverSection(odbcConnectionString).c_str(), "Logdir", "", folder,
                               sizeof folder, "ODBCINST.INI");
    folder_ = folder[0] != '\0' ? folder : "/tmp";
    before_ = currentLogs();
    watching_ = true;
}

DriverLogs::~DriverLogs() {
    if (!watching_) {
        return;
    }
    for (const std::string& log : currentLogs()) {
        if (std::find(before_.begin(), before_.end(), log) == before_.end()) {
            std::error_code ignored;
            std::filesystem::remove(log, ignored);
        }
    }
}

std::vector<std::string> DriverLogs::currentLogs() const {
    // psqlodbc_<program>_<user><pid>.log and mylog_<program>_<user><pid>.log
    const std::string tail = std::to_string(getpid()) + ".log";
    std::vector<std::string> logs;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const bool driverLog = name.rfind("psqlodbc_", 0) == 0 || name.rfind("mylog_", 0) == 0;
        if (driverLog && endsWith(name, tail) && name.size() > tail.size() &&
            !std::isdigit(static_cast<unsigned char>(name[name.size() - tail.size() - 1]))) {
            logs.push_back(entry->path().string());
        }
    }
    return logs;
}
