#pragma once

#include <string>
#include <vector>

class OdbcSession;

// What PostgreSQL's own catalog says of a table's columns where its driver
// says something else.
struct PostgreSQLColumnFacts {
    std::string name;
    // Generated always: refuses explicit values (a serial column does not).
    bool identityAlways = false;
    // numeric without precision: keeps every digit (the driver says 28,6).
    bool unconstrainedNumeric = false;
    // A type without a length (text, json, varchar): the driver says 255.
    bool hasLength = false;
    // The declaration as PostgreSQL writes it: "integer[]", "numeric(10,2)".
    std::string declaredType;
};

// schema empty for the current one.
std::vector<PostgreSQLColumnFacts>
postgresqlColumnFacts(OdbcSession& session, const std::string& schema, const std::string& table);
