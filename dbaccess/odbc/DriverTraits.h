#pragma once

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
    std::string currentCatalog;
    // MariaDB's lower_case_table_names: 1 and 2 compare table names without case.
    int lowerCaseTableNames = 0;
    // SQLite's library has atan2, the one function that tells -0.0 from 0.0.
    bool signedZero = false;
    bool blockFetch = true;
};
