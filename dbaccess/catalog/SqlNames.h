#pragma once

#include "dbaccess/odbc/DriverTraits.h"

#include <set>
#include <string>

// How a database reads names: its quote character, the letter case it gives
// names written without quotes, and its reserved words in upper case.
struct NameRules {
    std::string quote = "\"";
    IdentifierFolding folding = IdentifierFolding::None;
    std::set<std::string> reservedWords;
};

// ASCII letters, digits and underscores, not starting with a digit.
bool isPlainIdentifier(const std::string& name);

// Whether a name is one of the reserved words, in any letter case.
bool isReservedWord(const std::string& name, const NameRules& rules);

// One identifier in quotes, embedded quote characters doubled.
std::string quoteIdentifier(const std::string& name, const std::string& quote);

// A table or column name as SQL text, the one way every statement writes a
// name: as it is when it is plain, no reserved word and left alone by the
// database's folding; otherwise quoted whole. A table name is the catalog's
// bare name, so a dot in it is part of the name and is quoted with it.
std::string sqlIdentifier(const std::string& name, const NameRules& rules);

// A name for a new table or column: as it is when plain and no reserved
// word, so that the database folds it as it folds every unquoted name;
// otherwise quoted whole in the letter case folding would have given it, so
// that ORDER ITEMS becomes "order items" where CUSTOMERS becomes customers.
std::string createdIdentifier(const std::string& name, const NameRules& rules);
