#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OdbcSession;

// One data type the database offers, as its driver reports it.
struct DatabaseType {
    std::string typeName;
    // The provider code a result column of this type has.
    int providerType = 0;
    short sqlType = 0;
    std::int64_t columnSize = 0;
    std::string createParams;
    bool isUnsigned = false;
    bool autoUnique = false;
};

// The data types of SQLGetTypeInfo, every SQL type in the driver's order.
std::vector<DatabaseType> readDatabaseTypes(OdbcSession& session);
