#pragma once

#include "dbaccess/odbc/ResultSet.h"

#include <memory>
#include <string>
#include <vector>

// ADO schema codes of the rowsets the layer offers.
enum class SchemaKind { Columns = 4, Tables = 20, PrimaryKeys = 28 };

class OdbcSession;

// Builds the rowset of a schema kind; restrictions follow the rowset's
// leading columns, unassigned elements restricting nothing.
std::unique_ptr<ResultSet> buildSchemaRowset(OdbcSession& session, SchemaKind kind,
                                             const std::vector<Variant>& restrictions);
