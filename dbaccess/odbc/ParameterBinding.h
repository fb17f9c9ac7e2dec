#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/DriverTraits.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/values/Variant.h"

#include <string>

// How a parameter was bound: the same again needs no new binding.
struct BoundParameter {
    SQLSMALLINT cType = 0;
    SQLSMALLINT sqlType = 0;
    SQLULEN columnSize = 0;
    SQLSMALLINT digits = 0;
    const void* address = nullptr;
    // SQLite's driver takes a binary value's length when it is bound, not
    // from the indicator when the statement runs: that length is part of it.
    SQLLEN binaryLength = 0;
    bool operator==(const BoundParameter&) const = default;
};

// One parameter's value in the form its C type needs. It stays where it is
// from one execution to the next, so that a binding can be kept.
struct ParameterBuffer {
    std::string data;
    SQLLEN indicator = 0;
    BoundParameter bound;
};

// Binds value as parameter `number` for a column of a database of `kind`,
// in the form that carries it to that database unchanged. The binding is
// made again only where it differs from the buffer's last one.
void bindParameter(const OdbcHandle& statement, SQLUSMALLINT number, const ColumnInfo& column,
                   DatabaseKind kind, const Variant& value, ParameterBuffer& buffer);
