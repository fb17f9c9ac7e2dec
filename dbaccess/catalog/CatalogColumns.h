#pragma once

#include <cstdint>
#include <sql.h>
#include <string>
#include <vector>

class OdbcSession;

// A table column as the catalog describes it, with the driver's numbers
// made true where they are known not to be.
struct CatalogColumn {
    std::string catalog;
    std::string schema;
    std::string table;
    std::string name;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    std::string typeName;
    std::int64_t size = 0;
    int scale = 0;
    bool hasScale = false;
    bool isUnsigned = false;
    bool nullable = true;
    int ordinal = 0;
    std::string defaultValue;
    bool hasDefault = false;
};

std::vector<CatalogColumn> catalogColumns(OdbcSession& session, const std::string& schema,
                                          const std::string& table);
