#pragma once

#include "TADOConnection.h"

#include <vector>

class OdbcSession;

// The data types of SQLGetTypeInfo, every SQL type in the driver's order.
std::vector<DatabaseType> readDatabaseTypes(OdbcSession& session);
