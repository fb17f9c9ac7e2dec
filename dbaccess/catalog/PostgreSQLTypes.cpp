#include "PostgreSQLTypes.h"

#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

namespace {

// The text comes back in pieces small enough for any buffer, whatever its
// length: an enum may have hundreds of labels, a check any length.
const char* const definitionQuery =
    "WITH d(text) AS (SELECT CASE t.typtype "
    "WHEN 'e' THEN 'CREATE TYPE ' || format_type(t.oid, NULL) || ' AS ENUM (' || "
    "COALESCE((SELECT string_agg(quote_literal(e.enumlabel), ', ' ORDER BY e.enumsortorder) "
    "FROM pg_enum e WHERE e.enumtypid = t.oid), '') || ')' "
    "WHEN 'd' THEN 'CREATE DOMAIN ' || format_type(t.oid, NULL) || ' AS ' || "
    "format_type(t.typbasetype, t.typtypmod) || COALESCE(' DEFAULT ' || t.typdefault, '') || "
    "CASE WHEN t.typnotnull THEN ' NOT NULL' ELSE '' END || "
    "COALESCE((SELECT string_agg(' CONSTRAINT ' || quote_ident(c.conname) || ' ' || "
    "pg_get_constraintdef(c.oid), '' ORDER BY c.conname) FROM pg_constraint c "
    "WHERE c.contypid = t.oid AND c.contype = 'c'), '') END "
    "FROM pg_type t WHERE t.oid = to_regtype(?)) "
    "SELECT substr(d.text, n * 200 + 1, 200) FROM d, generate_series(0, length(d.text) / 200) n "
    "ORDER BY n";

} // namespace

PostgreSQLType postgresqlType(OdbcSession& session, const std::string& declaredType) {
    const auto rows = queryRows(
        session,
        "SELECT t.typtype, CAST(n.nspname IN ('pg_catalog', 'information_schema') AS int), "
        "CAST(t.typcategory = 'A' AND t.typelem <> 0 AS int), "
        "CASE t.typtype WHEN 'd' THEN format_type(t.typbasetype, t.typtypmod) "
        "ELSE format_type(t.typelem, NULL) END "
        "FROM pg_type t JOIN pg_namespace n ON n.oid = t.typnamespace "
        "WHERE t.oid = to_regtype(?)",
        {declaredType});
    PostgreSQLType type;
    if (rows.empty() || rows[0].size() < 4) {
        type.kind = PostgreSQLType::Kind::Other;
        return type;
    }
    const auto& row = rows[0];
    const bool builtIn = row[1] == "1";
    if (row[0] == "e") {
        type.kind = PostgreSQLType::Kind::Enum;
    } else if (row[0] == "d") {
        type.kind = PostgreSQLType::Kind::Domain;
        type.baseType = row[3];
    } else if (row[2] == "1") {
        type.kind = builtIn ? PostgreSQLType::Kind::BuiltIn : PostgreSQLType::Kind::Array;
        type.baseType = row[3];
    } else {
        type.kind = builtIn ? PostgreSQLType::Kind::BuiltIn : PostgreSQLType::Kind::Other;
    }
    if (type.kind == PostgreSQLType::Kind::Enum || type.kind == PostgreSQLType::Kind::Domain) {
        for (const auto& piece : queryFirstColumn(session, definitionQuery, {declaredType})) {
            type.definition += piece;
        }
    }
    return type;
}

bool postgresqlTypeExists(OdbcSession& session, const std::string& declaredType) {
    try {
        const auto found = queryFirstColumn(
            session, "SELECT CAST(to_regtype(?) IS NOT NULL AS int)", {declaredType});
        return !found.empty() && found[0] == "1";
    } catch (const EOleException&) {
        // A declaration the database cannot even read names no type of its own.
        return false;
    }
}

void createPostgreSQLType(OdbcSession& session, const PostgreSQLType& type) {
    executeDirect(session, type.definition);
}
