#pragma once

#include "dbaccess/catalog/DatabaseTypes.h"
#include "dbaccess/catalog/SchemaRowsets.h"
#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/odbc/DriverTraits.h"
#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/Variant.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

class CallWaiter;
class StatementTrace;
class TCustomADODataSet;
class TADODataSet;
class OdbcSession;
class RowStream;

// A connection to one database, opened with an OLE DB style connection string.
class TADOConnection {
public:
    explicit TADOConnection(std::string name = {});
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    const std::string& Name() const noexcept { return name_; }

    // With a separate Provider set, the string reports "Provider=<provider>;"
    // in front, and a bare word stands for "Data Source=<word>".
    std::string ConnectionString() const;
    void SetConnectionString(const std::string& text);
    const std::string& Provider() const noexcept { return provider_; }
    void SetProvider(const std::string& provider);

    bool LoginPrompt() const noexcept { return loginPrompt_; }
    void SetLoginPrompt(bool prompt) noexcept { loginPrompt_ = prompt; }

    // Seconds that opening the connection may take; 15 as in ADO.
    int ConnectionTimeout() const noexcept { return connectionTimeout_; }
    void SetConnectionTimeout(int seconds) noexcept { connectionTimeout_ = seconds; }

    bool Connected() const noexcept;
    void SetConnected(bool connected);

    // What waits while a driver call of this connection takes longer than a
    // moment (see SessionCalls); none by default, and calls run inline.
    void SetCallWaiter(CallWaiter* waiter);
    // Told of every statement the connection runs from now on; null for none.
    void SetStatementTrace(StatementTrace* trace);
    // Whether the open session left a call behind that its server never
    // answered: nothing more goes to it, and it must be closed.
    bool Abandoned() const noexcept;

    void ListTableNames(TStrings& list, bool includeSystemTables);
    void OpenSchemaRowset(SchemaKind kind, const std::vector<Variant>& restrictions,
                          TADODataSet& rowset);

    // Facts about the open database; each opens the connection when needed.
    DatabaseKind Kind();
    std::string IdentifierQuote();
    std::string DbmsName();
    // The server's version as major * 10000 + minor * 100 + patch.
    int ServerVersion();
    // The quote character, folding and reserved words of the database.
    NameRules Names();
    // Names as SQL text for this database, see sqlIdentifier: a table name is
    // one identifier, whatever dots it holds.
    std::string SqlTableName(const std::string& name) { return SqlIdentifier(name); }
    std::string SqlIdentifier(const std::string& name);
    // A name for a new table or column, see createdIdentifier.
    std::string CreatedIdentifier(const std::string& name);
    // The key under which the database tells tables apart, see tableKey.
    std::string TableKey(const std::string& name);
    // Why the database cannot hold a table of this name; empty when it can.
    std::string UnholdableTableName(const std::string& name);
    // The database's reason for refusing inserts into a table for lack of
    // privilege or because it is a view that takes none, asked without
    // inserting, or another session's lock on it; empty when it accepts them
    // or cannot tell.
    std::string InsertRefusal(const std::string& tableName);

    // Whether a failure on this connection ends it or its database's ability
    // to write (see endsWriting); never opens the connection.
    bool EndsWriting(const std::exception& error) const;
    // Whether a failure on this connection is a lock wait that timed out.
    bool LockTimedOut(const std::exception& error) const;
    // Whether the open connection still answers a statement; false when it
    // is closed. On false, message holds the failure.
    bool Responds(std::string& message);
    // The database's data types, in the driver's order of preference.
    const std::vector<DatabaseType>& DataTypes();

    // The open session; opens the connection when it is closed.
    OdbcSession& session();

    // Tables of this connection that are read in blocks let go of their
    // statements, all but except's, before another statement runs.
    void parkStreams(const RowStream* except = nullptr);

private:
    friend class TCustomADODataSet;
    void attach(TCustomADODataSet* dataSet);
    void detach(TCustomADODataSet* dataSet) noexcept;

    std::string name_;
    std::string connectionString_;
    std::string provider_;
    bool loginPrompt_ = true;
    int connectionTimeout_ = 15;
    CallWaiter* callWaiter_ = nullptr;
    StatementTrace* statementTrace_ = nullptr;
    std::unique_ptr<OdbcSession> session_;
    std::vector<DatabaseType> dataTypes_;
    std::vector<TCustomADODataSet*> dataSets_;
};
