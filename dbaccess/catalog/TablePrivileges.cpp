#include "TablePrivileges.h"

#include "dbaccess/odbc/Failures.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

namespace {

bool isPrivilegeFailure(const EOleException& error, DatabaseKind kind) {
    return (kind == DatabaseKind::PostgreSQL && error.SqlState() == "42501") ||
           (kind == DatabaseKind::MariaDB &&
            (error.NativeError() == 1142 || error.NativeError() == 1044));
}

constexpr std::int32_t sqliteError = 1;

// SQLite compiles a statement without running it under EXPLAIN: a view
// without INSTEAD OF triggers refuses the delete and the inserts there.
std::string sqliteRefusal(OdbcSession& session, const std::string& sqlTableName) {
    for (const std::string& statement : {"EXPLAIN DELETE FROM " + sqlTableName,
                                         "EXPLAIN INSERT INTO " + sqlTableName + " SELECT * FROM " +
                                             sqlTableName + " WHERE 1 = 0"}) {
        try {
            executeDirect(session, statement);
        } catch (const EOleException& error) {
            // SQLITE_ERROR: the statement itself is refused, not the moment.
            if (error.NativeError() == sqliteError) {
                return error.Message();
            }
        }
    }
    return {};
}

} // namespace

std::string insertRefusal(OdbcSession& session, const std::string& sqlTableName) {
    const DatabaseKind kind = session.traits().kind;
    if (kind == DatabaseKind::SQLite) {
        return sqliteRefusal(session, sqlTableName);
    }
    if (kind != DatabaseKind::PostgreSQL && kind != DatabaseKind::MariaDB) {
        return {};
    }
    // The plan of an insert checks its privileges; nothing runs, no trigger fires.
    try {
        executeDirect(session, "EXPLAIN INSERT INTO " + sqlTableName + " SELECT * FROM " +
                                   sqlTableName + " WHERE 1 = 0");
    } catch (const EOleException& error) {
        // Another session's lock would hold the delete and the inserts as long.
        if (isPrivilegeFailure(error, kind) || lockTimedOut(error, kind)) {
            return error.Message();
        }
    }
    return {};
}
