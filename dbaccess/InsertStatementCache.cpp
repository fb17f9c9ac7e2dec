#include "InsertStatementCache.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ParameterBinding.h"
#include "dbaccess/values/Exceptions.h"

InsertStatementCache::InsertStatementCache(TADOConnection& connection, std::string tableName,
                                           std::vector<ColumnInfo> columns)
    : connection_(connection), tableName_(std::move(tableName)), columns_(std::move(columns)) {}

InsertStatementCache::~InsertStatementCache() {
    if (!statements_.empty() && statements_.begin()->second.statement.abandoned()) {
        // An insert left behind may still read the values bound to it.
        auto kept = std::make_shared<decltype(statements_)>(std::move(statements_));
        kept->begin()->second.statement.keepBound(kept);
    }
}

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

InsertStatementCache::Prepared&
InsertStatementCache::prepared(const std::vector<std::size_t>& columns) {
    if (last_ != nullptr && *lastColumns_ == columns) {
        return *last_;
    }
    auto found = statements_.find(columns);
    if (found == statements_.end()) {
        OdbcHandle statement = connection_.session().newStatement();
        std::string text = statementText(columns);
        checkStatement(statement, "Prepare " + text, [&] {
            return SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                              static_cast<SQLINTEGER>(text.size()));
        });
        // The buffers never move once bound.
        found = statements_
                    .emplace(columns, Prepared{std::move(statement),
                                               std::vector<ParameterBuffer>(columns.size()),
                                               std::move(text)})
                    .first;
    }
    lastColumns_ = &found->first;
    last_ = &found->second;
    return found->second;
}

void InsertStatementCache::insert(const std::vector<std::size_t>& columns,
                                  const std::vector<const Variant*>& values) {
    Prepared& prepared = this->prepared(columns);
    const DatabaseKind kind = connection_.Kind();
    connection_.parkStreams();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        bindParameter(prepared.statement, static_cast<SQLUSMALLINT>(i + 1), columns_[columns[i]],
                      kind, *values[i], prepared.buffers[i]);
    }
    if (kind == DatabaseKind::MariaDB) {
        refuseOversizedRow(columns, prepared.buffers);
    }
    const OdbcHandle& statement = prepared.statement;
    const SQLRETURN rc = checkStatement(statement, prepared.text,
                                        [&statement] { return SQLExecute(statement.get()); });
    // A server may refuse a row with a warning's state (MariaDB's 01000 "Data
    // truncated" for a label its ENUM lacks): a row that did not arrive failed.
    if (rc != SQL_SUCCESS_WITH_INFO) {
        return;
    }
    // Asking for the count clears what the driver said: read it first.
    const auto said = readDiagnostics(SQL_HANDLE_STMT, statement.get());
    SQLLEN inserted = -1;
    if (SQL_SUCCEEDED(SQLRowCount(statement.get(), &inserted)) && inserted == 0) {
        if (said.empty()) {
            throw EOleException("The row was not inserted", static_cast<std::int32_t>(0x80004005),
                                "HY000");
        }
        raiseFromRecords(SQL_ERROR, said);
    }
}

// MariaDB ends the connection on a statement larger than its
// max_allowed_packet: such a row is refused before it is sent.
void InsertStatementCache::refuseOversizedRow(const std::vector<std::size_t>& columns,
                                              const std::vector<ParameterBuffer>& buffers) {
    if (packetLimit_ < 0) {
        std::string text = "SELECT @@SESSION.max_allowed_packet";
        OdbcHandle statement = connection_.session().newStatement();
        checkStatement(statement, text, [&] {
            return SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                 static_cast<SQLINTEGER>(text.size()));
        });
        SQLBIGINT limit = 0;
        SQLLEN indicator = 0;
        packetLimit_ = SQLFetch(statement.get()) == SQL_SUCCESS &&
                               SQL_SUCCEEDED(SQLGetData(statement.get(), 1, SQL_C_SBIGINT, &limit,
                                                        sizeof limit, &indicator))
                           ? limit
                           : 0;
    }
    // The statement's own bytes and each value's type and length.
    std::size_t total = 64;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        total += buffers[i].data.size() + 16;
        if (buffers[i].data.size() > buffers[largest].data.size()) {
            largest = i;
        }
    }
    if (packetLimit_ <= 0 || total <= static_cast<std::size_t>(packetLimit_)) {
        return;
    }
    throw EDatabaseError("Value for field '" + columns_[columns[largest]].name + "' (" +
                         std::to_string(buffers[largest].data.size()) +
                         " bytes) does not fit the server's max_allowed_packet (" +
                         std::to_string(packetLimit_) + " bytes): the row is not sent");
}
