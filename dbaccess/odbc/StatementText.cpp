#include "StatementText.h"

#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <cctype>

namespace {

bool endsName(char c) {
    return c == '\n' || c == '\r' || c == ' ' || c == ')' || c == ',' || c == ';';
}

} // namespace

std::string replaceParameterMarkers(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            result += c;
            if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '\'' || c == '"' || c == '`') {
            quote = c;
            result += c;
            continue;
        }
        if (c == ':' && i + 1 < text.size()) {
            if (text[i + 1] == ':') {
                result += ':';
                ++i;
                continue;
            }
            if (!endsName(text[i + 1])) {
                std::size_t end = i + 1;
                while (end < text.size() && !endsName(text[end])) {
                    ++end;
                }
                result += '?';
                i = end - 1;
                continue;
            }
        }
        result += c;
    }
    return result;
}

void executeOn(const OdbcHandle& statement, const std::string& text) {
    std::string sql = text;
    checkStatement(statement, text, [&] {
        return SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()),
                             static_cast<SQLINTEGER>(sql.size()));
    });
}

namespace {

bool beginsWithWith(const std::string& text) {
    const auto start = text.find_first_not_of(" \t\r\n");
    return start != std::string::npos && text.size() - start > 4 &&
           sameTextIgnoringCase(text.substr(start, 4), "with") &&
           std::isspace(static_cast<unsigned char>(text[start + 4])) != 0;
}

} // namespace

OdbcHandle executeDirect(OdbcSession& session, const std::string& text) {
    OdbcHandle statement = session.newStatement();
    executeOn(statement, text);
    // SQLite's driver, stepping through results, takes a statement that
    // begins with WITH for a query and leaves it unrun when it returns no rows.
    SQLSMALLINT columns = 0;
    if (session.traits().kind == DatabaseKind::SQLite && beginsWithWith(text) &&
        SQL_SUCCEEDED(SQLNumResultCols(statement.get(), &columns)) && columns == 0) {
        throw EOleException("SQLite's driver does not run a statement that begins with WITH "
                            "and returns no rows; begin it with INSERT, UPDATE or DELETE",
                            0);
    }
    return statement;
}

int affectedRows(const OdbcHandle& statement) {
    SQLLEN rows = 0;
    if (!SQL_SUCCEEDED(SQLRowCount(statement.get(), &rows)) || rows < 0) {
        return 0;
    }
    return static_cast<int>(rows);
}

std::vector<std::vector<std::string>> queryRows(OdbcSession& session, const std::string& text,
                                                const std::vector<std::string>& parameters) {
    OdbcHandle statement = session.newStatement();
    std::vector<std::string> values = parameters;
    std::vector<SQLLEN> lengths(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        lengths[i] = static_cast<SQLLEN>(values[i].size());
        checkOdbc(SQLBindParameter(statement.get(), static_cast<SQLUSMALLINT>(i + 1),
                                   SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                   std::max<SQLULEN>(values[i].size(), 1), 0, values[i].data(),
                                   lengths[i], &lengths[i]),
                  statement);
    }
    executeOn(statement, text);
    SQLSMALLINT columns = 0;
    checkOdbc(SQLNumResultCols(statement.get(), &columns), statement);
    std::vector<std::vector<std::string>> rows;
    while (fetchRow(statement) != SQL_NO_DATA) {
        auto& row = rows.emplace_back();
        for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(columns); ++column) {
            char value[1024] = {};
            SQLLEN indicator = 0;
            checkOdbc(
                SQLGetData(statement.get(), column, SQL_C_CHAR, value, sizeof value, &indicator),
                statement);
            row.emplace_back(indicator == SQL_NULL_DATA ? "" : value);
        }
    }
    return rows;
}

std::vector<std::string> queryFirstColumn(OdbcSession& session, const std::string& text,
                                          const std::vector<std::string>& parameters) {
    std::vector<std::string> values;
    for (auto& row : queryRows(session, text, parameters)) {
        values.push_back(row.empty() ? std::string() : std::move(row.front()));
    }
    return values;
}
