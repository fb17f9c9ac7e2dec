#pragma once

#include "dbaccess/TADOConnection.h"

#include <string>

// The database's own spelling of a table name, found by a case-insensitive
// match in its table list; the name itself when no table matches.
std::string databaseSpelling(TADOConnection& connection, const std::string& name);
