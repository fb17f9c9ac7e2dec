#pragma once

#include <set>
#include <string>

// The database engine behind a connection, as far as the layer tells them apart.
enum class DatabaseKind { Other, SQLite, PostgreSQL, MariaDB, SQLServer };

// How a database changes the letter case of names written without quotes.
enum class IdentifierFolding { None, Lower, Upper };

// What a driver can do and how its database spells things, probed once
// after connecting.
struct DriverTraits {
    DatabaseKind kind = DatabaseKind::Other;
    std::string dbmsName;
    // major * 10000 + minor * 100 + patch of the server.
    int serverVersion = 0;
    std::string driverName;
    std::string identifierQuote = "\"";
    IdentifierFolding folding = IdentifierFolding::None;
    // The driver's SQL_KEYWORDS and the ODBC reserved words, upper case.
    std::set<std::string> reservedWords;
    std::string currentCatalog;
    bool blockFetch = true;
};

// Adds the words of a comma-separated list (SQL_KEYWORDS and the like), upper case.
void addReservedWords(std::set<std::string>& words, const std::string& list);
