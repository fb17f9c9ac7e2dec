#pragma once

#include "dbaccess/odbc/DriverTraits.h"

#include <string>

// The key under which a database tells its tables apart: two names with one
// key are one table. PostgreSQL cuts names to 63 bytes, SQLite compares
// them without ASCII case, MariaDB with lower_case_table_names and SQL Server
// without case.
std::string tableKey(const std::string& name, const DriverTraits& traits);

// Why a database cannot hold a table of this name; empty when it can.
std::string unholdableTableName(const std::string& name, const DriverTraits& traits);
