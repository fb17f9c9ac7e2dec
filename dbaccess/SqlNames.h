#pragma once

#include <string>

// How a database changes the letter case of names written without quotes.
enum class IdentifierFolding { None, Lower, Upper };

// ASCII letters, digits and underscores, not starting with a digit.
bool isPlainIdentifier(const std::string& name);

// One identifier in quotes, embedded quote characters doubled.
std::string quoteIdentifier(const std::string& name, const std::string& quote);

// An identifier as SQL text: as it is when plain and unchanged by the
// database's folding, otherwise quoted.
std::string sqlIdentifier(const std::string& name, const std::string& quote,
                          IdentifierFolding folding = IdentifierFolding::None);

// A table name as SQL text: plain names joined by dots (schema.table) as
// they are, anything else quoted, split at the first dot; always quotes
// every part.
std::string quoteTableName(const std::string& name, const std::string& quote, bool always = false,
                           IdentifierFolding folding = IdentifierFolding::None);

// A name for a new table or column: as it is when plain, so that the
// database folds it as it folds every unquoted name; otherwise quoted whole
// (a dot is part of the name) in the letter case folding would have given
// it, so that ORDER ITEMS becomes "order items" where CUSTOMERS becomes
// customers.
std::string createdIdentifier(const std::string& name, const std::string& quote,
                              IdentifierFolding folding);
