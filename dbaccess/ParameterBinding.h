#pragma once

#include "ColumnInfo.h"
#include "OdbcHandle.h"
#include "TADOConnection.h"
#include "Variant.h"

#include <string>

// One parameter's value in the form its C type needs; lives until executed.
struct ParameterBuffer {
    std::string data;
    SQLLEN indicator = 0;
};

// Binds value as parameter `number` for a column of a database of `kind`,
// in the form that carries it to that database unchanged.
void bindParameter(const OdbcHandle& statement, SQLUSMALLINT number, const ColumnInfo& column,
                   DatabaseKind kind, const Variant& value, ParameterBuffer& buffer);
