#include "SQLiteColumnValues.h"

#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"

namespace {

std::int64_t number(const std::string& text) {
    return text.empty() ? 0 : std::stoll(text);
}

// length() counts the characters before a NUL; with one, the bytes count.
std::string longest(const std::string& column, const char* type) {
    const std::string bytes = "length(CAST(" + column + " AS BLOB))";
    return "max(CASE WHEN typeof(" + column + ") IN (" + type + ") THEN CASE WHEN instr(CAST(" +
           column + " AS BLOB), x'00') > 0 THEN " + bytes + " ELSE length(" + column + ") END END)";
}

} // namespace

std::vector<SQLiteColumnValues> sqliteColumnValues(OdbcSession& session, const std::string& table,
                                                   const std::vector<std::string>& columns) {
    if (columns.empty()) {
        return {};
    }
    const std::string quote = session.traits().identifierQuote;
    std::string select;
    for (const std::string& name : columns) {
        const std::string column = quoteIdentifier(name, quote);
        const auto count = [&column](const char* type) {
            return "sum(typeof(" + column + ") = '" + type + "')";
        };
        select += std::string(select.empty() ? "" : ", ") + count("integer") + ", " +
                  count("real") + ", " + count("text") + ", " + count("blob") + ", " +
                  longest(column, "'text'") + ", " + longest(column, "'integer', 'real'") + ", " +
                  longest(column, "'blob'");
    }
    const auto rows =
        queryRows(session, "SELECT " + select + " FROM " + quoteIdentifier(table, quote), {});
    std::vector<SQLiteColumnValues> values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SQLiteColumnValues column;
        column.name = columns[i];
        if (!rows.empty() && rows[0].size() >= (i + 1) * 7) {
            const auto* row = &rows[0][i * 7];
            column.integers = number(row[0]);
            column.reals = number(row[1]);
            column.texts = number(row[2]);
            column.blobs = number(row[3]);
            column.longestText = number(row[4]);
            column.longestNumber = number(row[5]);
            column.longestBlob = number(row[6]);
        }
        values.push_back(std::move(column));
    }
    return values;
}
