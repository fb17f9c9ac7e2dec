#include "PostgreSQLColumns.h"

#include "dbaccess/odbc/StatementText.h"

#include <cstdio>

namespace {

// The precision and scale of "numeric(3,-2)"; false for other declarations.
bool numericModifiers(const std::string& declared, int& precision, int& scale) {
    return std::sscanf(declared.c_str(), "numeric(%d,%d)", &precision, &scale) == 2;
}

} // namespace

std::vector<PostgreSQLColumnFacts>
postgresqlColumnFacts(OdbcSession& session, const std::string& schema, const std::string& table) {
    // The catalog itself: information_schema.columns takes tens of
    // milliseconds a table, and more the more tables the database has. A
    // domain counts as its base type with the domain's modifier.
    const auto rows = queryRows(
        session,
        "SELECT a.attname, CASE a.attidentity WHEN 'a' THEN 'ALWAYS' ELSE '' END, "
        "CASE WHEN base.id = 'numeric'::regtype AND base.modifier = -1 THEN 'numeric' END, "
        "CASE WHEN base.modifier < 0 THEN NULL "
        "WHEN base.id IN ('bpchar'::regtype, 'varchar'::regtype) THEN base.modifier - 4 "
        "WHEN base.id IN ('bit'::regtype, 'varbit'::regtype) THEN base.modifier END, "
        "format_type(a.atttypid, a.atttypmod), format_type(a.atttypid, NULL) "
        "FROM pg_catalog.pg_attribute a "
        "JOIN pg_catalog.pg_class r ON r.oid = a.attrelid "
        "JOIN pg_catalog.pg_namespace n ON n.oid = r.relnamespace "
        "JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
        "CROSS JOIN LATERAL (SELECT CASE t.typtype WHEN 'd' THEN t.typbasetype ELSE a.atttypid "
        "END AS id, CASE t.typtype WHEN 'd' THEN t.typtypmod ELSE a.atttypmod END AS modifier) "
        "base WHERE r.relname = ? AND n.nspname = COALESCE(NULLIF(?, ''), current_schema()) "
        "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
        {table, schema});
    std::vector<PostgreSQLColumnFacts> facts;
    for (const auto& row : rows) {
        if (row.size() < 6) {
            continue;
        }
        PostgreSQLColumnFacts column;
        column.name = row[0];
        column.identityAlways = row[1] == "ALWAYS";
        column.unconstrainedNumeric = row[2] == "numeric";
        column.hasLength = !row[3].empty();
        column.characterLength = row[3].empty() ? 0 : std::stoll(row[3]);
        column.declaredType = row[4];
        numericModifiers(column.declaredType, column.numericPrecision, column.numericScale);
        column.isUnsigned = row[5] == "oid";
        column.isBitString = row[5] == "bit" || row[5] == "bit varying";
        facts.push_back(std::move(column));
    }
    return facts;
}
