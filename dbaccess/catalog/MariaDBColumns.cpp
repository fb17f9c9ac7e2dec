#include "MariaDBColumns.h"

#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/odbc/StatementText.h"

std::map<std::string, std::string> mariadbColumnDeclarations(OdbcSession& session,
                                                             const std::string& tableName) {
    const auto [schema, table] = splitSchema(tableName);
    const auto rows = queryRows(
        session,
        "SELECT column_name, CONCAT(column_type, IF(character_set_name IS NULL, '', "
        "CONCAT(' CHARACTER SET ', character_set_name, ' COLLATE ', collation_name))) FROM "
        "information_schema.columns WHERE table_name = ? AND table_schema = "
        "COALESCE(NULLIF(?, ''), DATABASE())",
        {table, schema});
    std::map<std::string, std::string> declarations;
    for (const auto& row : rows) {
        // The information schema spells a character it cannot hold (one of
        // four bytes in an enum's labels) as '?': such a column is left out.
        if (row.size() == 2 && row[1].find('?') == std::string::npos) {
            declarations[row[0]] = row[1];
        }
    }
    return declarations;
}

std::vector<std::string> mariadbDurationColumns(OdbcSession& session, const std::string& tableName,
                                                const std::string& sqlTableName) {
    const auto [schema, table] = splitSchema(tableName);
    const std::vector<std::string> times = queryFirstColumn(
        session,
        "SELECT column_name FROM information_schema.columns WHERE table_name = ? AND "
        "table_schema = COALESCE(NULLIF(?, ''), DATABASE()) AND data_type = 'time' ORDER BY "
        "ordinal_position",
        {table, schema});
    if (times.empty()) {
        return {};
    }
    std::string tests;
    for (const std::string& column : times) {
        const std::string name = quoteIdentifier(column, "`");
        tests += (tests.empty() ? "" : ", ") +
                 ("IFNULL(MAX(" + name + " < '00:00:00' OR " + name + " > '24:00:00'), 0)");
    }
    const auto rows = queryRows(session, "SELECT " + tests + " FROM " + sqlTableName, {});
    std::vector<std::string> durations;
    for (std::size_t i = 0; i < times.size() && !rows.empty() && i < rows[0].size(); ++i) {
        if (rows[0][i] == "1") {
            durations.push_back(times[i]);
        }
    }
    return durations;
}
