#pragma once

#include "dbaccess/TADOConnection.h"

#include <string>

// A CREATE TABLE statement for a source table in the target's own type
// names, chosen from the data types the target reports; empty when the
// source lists no columns.
std::string buildTargetTypeScript(TADOConnection& source, const std::string& sourceName,
                                  TADOConnection& target, const std::string& name);

// The target's type for a column of the columns rowset (provider code,
// character length, precision and scale, -1 where unknown).
std::string targetTypeName(TADOConnection& target, int providerType, std::int64_t length,
                           int precision, int scale);
