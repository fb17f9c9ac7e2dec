#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/values/Variant.h"

#include <string>

// What a target column keeps of a value it cannot hold exactly. Each gives
// the nearest value the column takes and, when that differs from the value,
// sets warning to a message that names the field.

Decimal keptDecimal(const ColumnInfo& column, const std::string& fieldName, const Decimal& value,
                    std::string& warning);

// `original` is the value before it became `number`.
Variant keptDouble(const ColumnInfo& column, const std::string& fieldName, const Variant& original,
                   double number, std::string& warning);

// For date, time and timestamp columns (`providerType` 133, 134, 135).
DateTime keptDateTime(const ColumnInfo& column, const std::string& fieldName, DateTime value,
                      std::string& warning);
