#pragma once

#include "ResultSet.h"
#include "TADOConnection.h"

#include <memory>
#include <sql.h>
#include <string>
#include <vector>

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

std::vector<CatalogColumn> catalogColumns(TADOConnection& connection, const std::string& schema,
                                          const std::string& table);

// Builds the rowset of a schema kind; restrictions follow the rowset's
// leading columns, unassigned elements restricting nothing.
std::unique_ptr<ResultSet> buildSchemaRowset(TADOConnection& connection, SchemaKind kind,
                                             const std::vector<Variant>& restrictions);
