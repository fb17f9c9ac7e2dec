#pragma once

#include <string>
#include <utility>
#include <vector>

// One key=value pair of an OLE DB connection string, the key as written.
struct ConnectionStringPair {
    std::string key;
    std::string value;
};

// Splits OLE DB syntax: pairs separated by ";", values optionally quoted with
// '"' or "'" (a doubled quote inside stands for one). A part without "=" has
// an empty key.
std::vector<ConnectionStringPair> parseConnectionString(const std::string& text);

// A value as written back into a string: ODBC values holding ";", "=" or
// braces go in braces, OLE DB values holding ";", quotes or edge blanks in
// double quotes (a quote inside doubled). An ODBC value already in braces
// stays as it is.
std::string odbcConnectionValue(const std::string& value);
std::string oledbConnectionValue(const std::string& value);
// A value in ODBC braces, a "}" inside doubled.
std::string bracedOdbcValue(const std::string& value);

// Providers the layer reaches: ODBC (none, or MSDASQL with any suffix) and
// SQL Server (SQLOLEDB and its successors).
bool isOdbcProvider(const std::string& provider);
bool isSqlServerProvider(const std::string& provider);

// The value of key (case-insensitive), or empty.
std::string connectionStringValue(const std::string& text, const std::string& key);

// The string a connection reports for its own string and separate provider.
std::string combineProvider(const std::string& provider, const std::string& connectionString);

inline constexpr const char* DataLinkPrefix = "FILE NAME=";

// Whether a connection string refers to a data link file (key in any case).
bool isDataLinkReference(const std::string& text);

// The connection string held by a data link file: UTF-16LE with a byte-order
// mark or UTF-8; "[oledb]" and ";" comment lines are skipped.
// Raises EOleException for a file that cannot be read or is no plain file
// of at most 1 MiB.
std::string readDataLinkFile(const std::string& path);
// The same for the file's bytes.
std::string dataLinkConnectionString(const std::string& contents);

// The string handed to the ODBC driver manager for an OLE DB connection
// string. Raises EOleException for an unknown provider or an unreadable
// data link file.
std::string toOdbcConnectionString(const std::string& oledbString);

// The same string with every password value replaced by "********".
std::string maskPasswords(const std::string& connectionString);
