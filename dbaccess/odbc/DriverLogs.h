#pragma once

#include <string>
#include <vector>

// Removes the log files that psqlODBC writes for this process when its
// driver settings (Debian's odbcinst.ini has CommLog=1) switch logging on
// and the user did not: the connection string's CommLog=0 holds only while a
// connection is open, and the driver logs its disconnection anyway. Logs
// that were there before, or that the user asked for, are left alone.
class DriverLogs {
public:
    DriverLogs() = default;
    DriverLogs(const std::string& driverName, const std::string& odbcConnectionString);
    ~DriverLogs();
    DriverLogs(const DriverLogs&) = delete;
    DriverLogs& operator=(const DriverLogs&) = delete;

private:
    std::vector<std::string> currentLogs() const;

    std::string folder_;
    std::vector<std::string> before_;
    bool watching_ = false;
};
