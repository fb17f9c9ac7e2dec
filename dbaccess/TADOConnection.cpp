#include "TADOConnection.h"

#include "dbaccess/TADODataSet.h"
#include "dbaccess/catalog/DatabaseTypes.h"
#include "dbaccess/catalog/SchemaRowsets.h"
#include "dbaccess/catalog/TableIdentity.h"
#include "dbaccess/catalog/TablePrivileges.h"
#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/odbc/Failures.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

#include <algorithm>

TADOConnection::TADOConnection(std::string name) : name_(std::move(name)) {}

TADOConnection::~TADOConnection() {
    SetConnected(false);
    for (TCustomADODataSet* dataSet : dataSets_) {
        dataSet->connection_ = nullptr;
    }
}

std::string TADOConnection::ConnectionString() const {
    return combineProvider(provider_, connectionString_);
}

void TADOConnection::SetConnectionString(const std::string& text) {
    // A new string brings its own provider, or none.
    connectionString_ = text;
    provider_ = connectionStringValue(text, "Provider");
}

void TADOConnection::SetProvider(const std::string& provider) {
    provider_ = provider;
}

bool TADOConnection::Connected() const noexcept {
    return session_ != nullptr;
}

void TADOConnection::SetConnected(bool connected) {
    if (connected == Connected()) {
        return;
    }
    if (connected) {
        session_ = std::make_unique<OdbcSession>(toOdbcConnectionString(ConnectionString()),
                                                 connectionTimeout_, callWaiter_, statementTrace_);
        session_->beforeStatement = [this] { parkStreams(); };
        return;
    }
    for (TCustomADODataSet* dataSet : dataSets_) {
        dataSet->Close();
    }
    session_.reset();
    dataTypes_.clear();
}

void TADOConnection::SetCallWaiter(CallWaiter* waiter) {
    callWaiter_ = waiter;
    if (session_) {
        session_->setCallWaiter(waiter);
    }
}

void TADOConnection::SetStatementTrace(StatementTrace* trace) {
    statementTrace_ = trace;
    if (session_) {
        session_->setTrace(trace);
    }
}

bool TADOConnection::Abandoned() const noexcept {
    return session_ != nullptr && session_->abandoned();
}

void TADOConnection::parkStreams(const RowStream* except) {
    for (TCustomADODataSet* dataSet : dataSets_) {
        dataSet->parkStream(except);
    }
}

OdbcSession& TADOConnection::session() {
    SetConnected(true);
    return *session_;
}

DatabaseKind TADOConnection::Kind() {
    return session().traits().kind;
}

std::string TADOConnection::IdentifierQuote() {
    return session().traits().identifierQuote;
}

std::string TADOConnection::DbmsName() {
    return session().traits().dbmsName;
}

int TADOConnection::ServerVersion() {
    return session().traits().serverVersion;
}

NameRules TADOConnection::Names() {
    const DriverTraits& traits = session().traits();
    return {traits.identifierQuote, traits.folding};
}

std::string TADOConnection::SqlIdentifier(const std::string& name) {
    return sqlIdentifier(name, Names());
}

std::string TADOConnection::CreatedIdentifier(const std::string& name) {
    return createdIdentifier(name, Names());
}

std::string TADOConnection::TableKey(const std::string& name) {
    return tableKey(name, session().traits());
}

std::string TADOConnection::UnholdableTableName(const std::string& name) {
    return unholdableTableName(name, session().traits());
}

std::string TADOConnection::InsertRefusal(const std::string& tableName) {
    return insertRefusal(session(), SqlTableName(tableName));
}

bool TADOConnection::EndsWriting(const std::exception& error) const {
    return endsWriting(error, session_ ? session_->traits().kind : DatabaseKind::Other);
}

bool TADOConnection::LockTimedOut(const std::exception& error) const {
    return session_ != nullptr && lockTimedOut(error, session_->traits().kind);
}

bool TADOConnection::Responds(std::string& message) {
    if (!Connected()) {
        message = "Connection is closed";
        return false;
    }
    if (session_->abandoned()) {
        message = "Connection closed: its server did not answer";
        return false;
    }
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(SQLGetConnectAttr(session_->connection(), SQL_ATTR_CONNECTION_DEAD, &dead, 0,
                                        nullptr)) &&
        dead == SQL_CD_TRUE) {
        message = "Connection lost";
        return false;
    }
    try {
        OdbcHandle statement = session_->newStatement();
        // A server that no longer answers is given up after a few seconds.
        SQLSetStmtAttr(statement.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
        executeOn(statement, "SELECT 1");
        return true;
    } catch (const std::exception& error) {
        if (wasCancelled(error)) {
            throw;
        }
        message = error.what();
        return false;
    }
}

const std::vector<DatabaseType>& TADOConnection::DataTypes() {
    if (dataTypes_.empty()) {
        dataTypes_ = readDatabaseTypes(session());
    }
    return dataTypes_;
}

void TADOConnection::ListTableNames(TStrings& list, bool includeSystemTables) {
    SetConnected(true);
    TADODataSet rowset;
    OpenSchemaRowset(SchemaKind::Tables, {}, rowset);
    const TField& typeField = rowset.RequireField("TABLE_TYPE");
    const TField& nameField = rowset.RequireField("TABLE_NAME");
    struct UpdateGuard {
        TStrings& list;
        explicit UpdateGuard(TStrings& strings) : list(strings) { list.BeginUpdate(); }
        ~UpdateGuard() { list.EndUpdate(); }
        UpdateGuard(const UpdateGuard&) = delete;
        UpdateGuard& operator=(const UpdateGuard&) = delete;
    } guard(list);
    list.Clear();
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        const std::string type = typeField.AsString();
        if (type == "TABLE" || type == "VIEW" || (includeSystemTables && type == "SYSTEM TABLE")) {
            list.Add(nameField.AsString());
        }
    }
}

void TADOConnection::OpenSchemaRowset(SchemaKind kind, const std::vector<Variant>& restrictions,
                                      TADODataSet& rowset) {
    SetConnected(true);
    rowset.Close();
    rowset.attachResult(buildSchemaRowset(session(), kind, restrictions));
}

void TADOConnection::attach(TCustomADODataSet* dataSet) {
    dataSets_.push_back(dataSet);
}

void TADOConnection::detach(TCustomADODataSet* dataSet) noexcept {
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}
