#pragma once

#include <string>

class OdbcSession;

// A column type of a PostgreSQL database, as far as another PostgreSQL
// database needs it to hold the column.
struct PostgreSQLType {
    enum class Kind { BuiltIn, Enum, Domain, Array, Other };
    Kind kind = Kind::BuiltIn;
    // A domain's base type and an array's element type as declarations
    // ("integer", "numeric(10,2)", "mood"); empty for the others.
    std::string baseType;
    // The statement that creates an enum type or a domain, labels,
    // default, NOT NULL and checks included.
    std::string definition;
};

// The type of a declaration as format_type writes it ("mood", "mood[]",
// "sales.price"); Other when the database does not know it.
PostgreSQLType postgresqlType(OdbcSession& session, const std::string& declaredType);

// Whether the database knows the type of a declaration.
bool postgresqlTypeExists(OdbcSession& session, const std::string& declaredType);

// Runs the type's definition as it stands, on the database of session.
void createPostgreSQLType(OdbcSession& session, const PostgreSQLType& type);
