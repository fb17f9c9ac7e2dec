#pragma once

#include <string>

// How a built connection string reaches its database.
enum class DataLinkProvider { Odbc, SqlServer };

// The parts of a connection string that the data link property dialog edits.
// Values are plain: no braces or quotes.
struct DataLinkFields {
    DataLinkProvider provider = DataLinkProvider::Odbc;
    std::string driver;
    std::string dataSource;
    std::string server;
    std::string port;
    std::string database;
    std::string user;
    std::string password;
    // Keys without a field of their own, as "key=value;" pairs.
    std::string otherOptions;

    bool operator==(const DataLinkFields&) const = default;
};

// Reads the keys that a connection string sets. A provider other than the
// ODBC and SQL Server ones is kept among the other options.
DataLinkFields parseDataLinkFields(const std::string& connectionString);

// The ODBC form "DSN=...;" or "Driver={...};" with the keys that are set, or
// "Provider=SQLOLEDB;Data Source=host,port;..." for SQL Server. The password
// is part of it.
std::string buildConnectionString(const DataLinkFields& fields);

// Whether a driver keeps its database in a file (Database= names the file).
bool isFileDatabaseDriver(const std::string& driver);
