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

std::string integer(const std::string& column) {
    return "CASE WHEN typeof(" + column + ") = 'integer' THEN " + column + " END";
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
                  longest(column, "'blob'") + ", min(" + integer(column) + "), max(" +
                  integer(column) + ")";
    }
    const auto rows =
        queryRows(session, "SELECT " + select + " FROM " + quoteIdentifier(table, quote), {});
    constexpr std::size_t facts = 9;
    std::vector<SQLiteColumnValues> values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SQLiteColumnValues column;
        column.name = columns[i];
        if (!rows.empty() && rows[0].size() >= (i + 1) * facts) {
            const auto* row = &rows[0][i * facts];
            column.integers = number(row[0]);
            column.reals = number(row[1]);
            column.texts = number(row[2]);
            column.blobs = number(row[3]);
            column.longestText = number(row[4]);
            column.longestNumber = number(row[5]);
            column.longestBlob = number(row[6]);
            column.smallestInteger = number(row[7]);
            column.largestInteger = number(row[8]);
        }
        values.push_back(std::move(column));
    }
    return values;
}
