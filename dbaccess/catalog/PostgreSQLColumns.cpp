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
    const auto rows = queryRows(
        session,
        "SELECT c.column_name, COALESCE(c.identity_generation, ''), c.data_type, "
        "COALESCE(CAST(c.numeric_precision AS text), ''), "
        "COALESCE(CAST(c.character_maximum_length AS text), ''), "
        "format_type(a.atttypid, a.atttypmod), format_type(a.atttypid, NULL) "
        "FROM information_schema.columns c "
        "JOIN pg_catalog.pg_attribute a ON a.attrelid = "
        "(quote_ident(c.table_schema) || '.' || quote_ident(c.table_name))::regclass "
        "AND a.attname = c.column_name "
        "WHERE c.table_name = ? AND c.table_schema = COALESCE(NULLIF(?, ''), current_schema())",
        {table, schema});
    std::vector<PostgreSQLColumnFacts> facts;
    for (const auto& row : rows) {
        if (row.size() < 7) {
            continue;
        }
        PostgreSQLColumnFacts column;
        column.name = row[0];
        column.identityAlways = row[1] == "ALWAYS";
        column.unconstrainedNumeric = row[2] == "numeric" && row[3].empty();
        column.hasLength = !row[4].empty();
        column.characterLength = row[4].empty() ? 0 : std::stoll(row[4]);
        column.declaredType = row[5];
        numericModifiers(column.declaredType, column.numericPrecision, column.numericScale);
        column.isUnsigned = row[6] == "oid";
        column.isBitString = row[6] == "bit" || row[6] == "bit varying";
        facts.push_back(std::move(column));
    }
    return facts;
}
