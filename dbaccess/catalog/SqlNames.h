#pragma once

#include "dbaccess/odbc/DriverTraits.h"

#include <string>
#include <utility>

// How a database reads names: its quote character and the letter case it
// gives names written without quotes.
struct NameRules {
    std::string quote = "\"";
    IdentifierFolding folding = IdentifierFolding::None;
};

// One identifier in quotes, embedded quote characters doubled.
std::string quoteIdentifier(const std::string& name, const std::string& quote);

// A table or column name as SQL text, the one way every statement writes a
// name: quoted whole, as the catalog spells it, so that no name is read as a
// keyword or a function. A table name is the catalog's bare name, so a dot in
// it is part of the name and is quoted with it.
std::string sqlIdentifier(const std::string& name, const NameRules& rules);

// A name for a new table or column: quoted whole in the letter case the
// database's folding gives names written without quotes, so that ORDER ITEMS
// becomes "order items" where CUSTOMERS becomes "customers".
std::string createdIdentifier(const std::string& name, const NameRules& rules);

// "schema.table" as its schema and table; the schema empty for a bare name.
std::pair<std::string, std::string> splitSchema(const std::string& name);
