#pragma once

#include <map>
#include <string>
#include <vector>

class OdbcSession;

// Each column of a MariaDB table as its CREATE TABLE declares it, from the
// information schema ("bit(10)", "enum('a','b')", "varchar(40) CHARACTER SET
// latin1 COLLATE latin1_swedish_ci"): what another MariaDB database needs to
// hold every value byte for byte. Keyed by column name; tableName may be
// "schema.table". Columns it cannot spell are left out.
std::map<std::string, std::string> mariadbColumnDeclarations(OdbcSession& session,
                                                             const std::string& tableName);

// The TIME columns of a MariaDB table that hold a duration, a value below
// zero or beyond a day, which no time of day of another database holds.
// sqlTableName is the table as SQL text.
std::vector<std::string> mariadbDurationColumns(OdbcSession& session, const std::string& tableName,
                                                const std::string& sqlTableName);
