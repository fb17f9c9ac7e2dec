#include "InsertStatementCache.h"

#include "OdbcSession.h"
#include "ParameterBinding.h"
#include "TADOConnection.h"
#include "TADOTable.h"

InsertStatementCache::InsertStatementCache(TADOConnection& connection, std::string tableName,
                                           std::vector<ColumnInfo> columns)
    : connection_(connection), tableName_(std::move(tableName)), columns_(std::move(columns)) {}

std::string InsertStatementCache::statementText(const std::vector<std::size_t>& columns) const {
    const NameRules rules = connection_.Names();
    std::string text = "INSERT INTO " + sqlIdentifier(tableName_, rules);
    if (columns.empty()) {
        return text +
               (connection_.Kind() == DatabaseKind::MariaDB ? " () VALUES ()" : " DEFAULT VALUES");
    }
    std::string names, markers;
    for (const std::size_t column : columns) {
        names += (names.empty() ? "" : ", ") + sqlIdentifier(columns_[column].name, rules);
        markers += markers.empty() ? "?" : ", ?";
    }
    return text + " (" + names + ") VALUES (" + markers + ")";
}

OdbcHandle& InsertStatementCache::prepared(const std::vector<std::size_t>& columns) {
    if (const auto found = statements_.find(columns); found != statements_.end()) {
        return found->second;
    }
    OdbcHandle statement = connection_.session().newStatement();
    std::string text = statementText(columns);
    checkOdbc(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                         static_cast<SQLINTEGER>(text.size())),
              statement);
    return statements_.emplace(columns, std::move(statement)).first->second;
}

void InsertStatementCache::insert(const std::vector<std::size_t>& columns,
                                  const std::vector<const Variant*>& values) {
    OdbcHandle& statement = prepared(columns);
    std::vector<ParameterBuffer> buffers(columns.size());
    SQLFreeStmt(statement.get(), SQL_RESET_PARAMS);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        bindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), columns_[columns[i]],
                      connection_.Kind(), *values[i], buffers[i]);
    }
    checkOdbc(SQLExecute(statement.get()), statement);
    SQLFreeStmt(statement.get(), SQL_CLOSE);
}
