#include "PostgreSQLColumns.h"

#include "dbaccess/odbc/StatementText.h"

std::vector<PostgreSQLColumnFacts>
postgresqlColumnFacts(OdbcSession& session, const std::string& schema, const std::string& table) {
    const auto rows = queryRows(
        session,
        "SELECT c.column_name, COALESCE(c.identity_generation, ''), c.data_type, "
        "COALESCE(CAST(c.numeric_precision AS text), ''), "
        "COALESCE(CAST(c.character_maximum_length AS text), ''), "
        "format_type(a.atttypid, a.atttypmod) FROM information_schema.columns c "
        "JOIN pg_catalog.pg_attribute a ON a.attrelid = "
        "(quote_ident(c.table_schema) || '.' || quote_ident(c.table_name))::regclass "
        "AND a.attname = c.column_name "
        "WHERE c.table_name = ? AND c.table_schema = COALESCE(NULLIF(?, ''), current_schema())",
        {table, schema});
    std::vector<PostgreSQLColumnFacts> facts;
    for (const auto& row : rows) {
        if (row.size() < 6) {
            continue;
        }
        PostgreSQLColumnFacts column;
        column.name = row[0];
        column.identityAlways = row[1] == "ALWAYS";
        column.unconstrainedNumeric = row[2] == "numeric" && row[3].empty();
        column.hasLength = !row[4].empty();
        column.declaredType = row[5];
        facts.push_back(std::move(column));
    }
    return facts;
}
