#include "TADOQuery.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/catalog/ColumnRefinement.h"
#include "dbaccess/odbc/OdbcResultReader.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ResultSet.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

void TSQLStrings::Clear() {
    TStringList::Clear();
    query_.sqlChanged();
}

void TSQLStrings::Add(const std::string& text) {
    TStringList::Add(text);
    query_.sqlChanged();
}

void TSQLStrings::SetStrings(int index, const std::string& text) {
    TStringList::SetStrings(index, text);
    query_.sqlChanged();
}

std::string TSQLStrings::Text() const {
    std::string text;
    for (const auto& line : items()) {
        text += line + "\r\n";
    }
    return text;
}

TADOQuery::TADOQuery(std::string name, TADOConnection* connection)
    : TCustomADODataSet(std::move(name), connection), sql_(*this) {}

void TADOQuery::sqlChanged() {
    Close();
}

void TADOQuery::SetMaxRecords(int maxRecords) {
    if (maxRecords == maxRecords_) {
        return;
    }
    checkInactive();
    maxRecords_ = maxRecords;
}

std::string TADOQuery::statementText() const {
    const std::string text = sql_.Text();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        raise("Missing SQL property");
    }
    return replaceParameterMarkers(text);
}

std::unique_ptr<ResultSet> TADOQuery::openResult() {
    std::string text = statementText();
    TADOConnection& connection = requireConnection();
    OdbcHandle statement = connection.session().newStatement();
    if (maxRecords_ > 0) {
        SQLSetStmtAttr(statement.get(), SQL_ATTR_MAX_ROWS,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(maxRecords_)), 0);
    }
    const auto execute = [&statement, &text] { executeOn(statement, text); };
    execute();
    auto columns = describeResultColumns(statement);
    if (columns.empty()) {
        raise("CommandText does not return a result set");
    }
    refineResultColumns(connection.session(), statement, columns, std::string());
    return fetchResult(statement, std::move(columns), maxRecords_, execute);
}

int TADOQuery::ExecuteStatement() {
    const std::string text = statementText();
    const OdbcHandle statement = executeDirect(requireConnection().session(), text);
    return affectedRows(statement);
}
