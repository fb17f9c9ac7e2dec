#pragma once

#include "dbaccess/odbc/ColumnInfo.h"

#include <sql.h>
#include <sqlext.h>
#include <string>

// How one ODBC SQL type appears to callers: the provider code of a result
// column, the OLE DB type indicator of the columns rowset, and how values
// are held and fetched.
struct ColumnTypeMapping {
    SQLSMALLINT sqlType;
    int resultCode;
    int unsignedResultCode;
    int schemaCode;
    int unsignedSchemaCode;
    StorageKind storage;
    bool hasCharacterLength;
};

// The mapping for an SQL type; unknown types map to code 0 (no field).
const ColumnTypeMapping& columnTypeMapping(SQLSMALLINT sqlType);

int resultProviderType(SQLSMALLINT sqlType, bool isUnsigned);
int schemaProviderType(SQLSMALLINT sqlType, bool isUnsigned);

// A declared column type ("NVARCHAR(70)", "decimal(20,6)", "INTEGER") as an
// SQL type with its size and scale, for drivers whose numbers are unusable.
struct DeclaredType {
    SQLSMALLINT sqlType = SQL_VARCHAR;
    std::int64_t size = 0;
    int scale = 0;
    bool isUnsigned = false;
};
DeclaredType parseDeclaredType(const std::string& declaration);
