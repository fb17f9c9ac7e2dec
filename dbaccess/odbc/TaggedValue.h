#pragma once

#include "dbaccess/values/Variant.h"

#include <string>

// A value with its own storage class, as SQLite keeps it, in one piece of
// text: a tag byte (i integer, r real, t text, b blob) and the integer's
// decimal text, the real's exact text, or the text's or blob's bytes.

// The value of a tagged text: a 64-bit integer, a double, text or bytes.
Variant taggedValue(const std::string& tagged);

// The tagged text of a value; date-times, decimals and booleans as text.
std::string taggedText(const Variant& value);

// The SQLite expression that reads a column as tagged bytes; NULL stays NULL.
// SQLite writes -0.0 as 0.0: where its library has atan2 (signedZero), the
// expression tells them apart by it.
std::string taggedReading(const std::string& quotedColumn, bool signedZero);
