#include "PostgreSQLColumns.h"

#include "StatementText.h"

std::vector<PostgreSQLColumnFacts> postgresqlColumnFacts(TADOConnection& connection,
                                                         const std::string& schema,
                                                         const std::string& table) {
    const auto rows = queryRows(
        connection,
        "SELECT column_name, COALESCE(identity_generation, ''), data_type, "
        "COALESCE(CAST(numeric_precision AS text), ''), "
        "COALESCE(CAST(character_maximum_length AS text), '') FROM information_schema.columns "
        "WHERE table_name = ? AND table_schema = COALESCE(NULLIF(?, ''), current_schema())",
        {table, schema});
    std::vector<PostgreSQLColumnFacts> facts;
    for (const auto& row : rows) {
        if (row.size() < 5) {
            continue;
        }
        PostgreSQLColumnFacts column;
        column.name = row[0];
        column.identityAlways = row[1] == "ALWAYS";
        column.unconstrainedNumeric = row[2] == "numeric" && row[3].empty();
        column.hasLength = !row[4].empty();
        facts.push_back(std::move(column));
    }
    return facts;
}
