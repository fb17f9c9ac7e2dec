#pragma once

#include <string>
#include <vector>

// A data source name the driver manager knows, with the driver it uses.
struct OdbcDataSource {
    std::string name;
    std::string driver;
};

// The drivers and data source names (user and system) of the driver manager,
// in its order. Raise EOleException when the driver manager fails.
std::vector<std::string> odbcDriverNames();
std::vector<OdbcDataSource> odbcDataSources();
