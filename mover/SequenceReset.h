#pragma once

#include "dbaccess/TADOConnection.h"

#include <string>

// Moves every sequence that feeds a column of a PostgreSQL table past the
// column's largest value, so the table's own inserts do not collide with
// copied keys. Other databases move their counters by themselves.
void moveSequencesPastCopiedKeys(TADOConnection& target, const std::string& table);
