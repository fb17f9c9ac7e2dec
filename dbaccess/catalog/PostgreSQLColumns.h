#pragma once

#include <cstdint>
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
    // The declared length of a character or bit string type (the driver
    // says 255 for bit(3) and 6 for bit varying(10)); 0 without one.
    std::int64_t characterLength = 0;
    // numeric(p,s) as declared, the scale negative or above the precision
    // as PostgreSQL allows (the driver makes -2 into 2046); -1 when unknown.
    int numericPrecision = -1;
    int numericScale = -1;
    // The declaration as PostgreSQL writes it: "integer[]", "numeric(10,2)".
    std::string declaredType;
    // oid: 32 bits without a sign (the driver says integer).
    bool isUnsigned = false;
    // A bit string, bit(n) or bit varying(n), which the driver describes as
    // a read-only character column.
    bool isBitString = false;
};

// schema empty for the current one.
std::vector<PostgreSQLColumnFacts>
postgresqlColumnFacts(OdbcSession& session, const std::string& schema, const std::string& table);
