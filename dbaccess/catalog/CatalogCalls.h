#pragma once

#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/values/Variant.h"

#include <string>

class OdbcSession;

// Arguments and results of the ODBC catalog functions.

// Text or integer of a catalog result column, or null.
Variant columnText(const OdbcHandle& statement, SQLUSMALLINT column);
Variant columnInteger(const OdbcHandle& statement, SQLUSMALLINT column);

// Pattern arguments of catalog functions treat "_" and "%" as wildcards.
std::string escapePattern(OdbcSession& session, const std::string& name);

// A text argument, or none (a null pointer and length 0) when not present.
SQLCHAR* argument(std::string& text, bool present);
SQLSMALLINT argumentLength(const std::string& text, bool present);

// The catalog that listings are restricted to when the caller names none:
// MariaDB lists every database of the server unless told the current one.
std::string defaultCatalog(OdbcSession& session);
