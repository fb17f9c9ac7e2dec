#include "Failures.h"

#include "dbaccess/values/Exceptions.h"

#include <algorithm>
#include <array>

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// SQLSTATEs whatever the database: connection exceptions (class 08),
// insufficient resources (53: disk full, out of memory), operator
// intervention (57P: shutdown), system errors (58: input/output), a
// read-only transaction, a connection timeout and a missing privilege.
bool sqlStateEndsWriting(const std::string& state) {
    return startsWith(state, "08") || startsWith(state, "53") || startsWith(state, "57P") ||
           startsWith(state, "58") || state == "25006" || state == "HYT01" || state == "42501";
}

// SQLite's primary result codes: read-only, input/output error, corrupt,
// full, cannot open, not a database.
bool sqliteEndsWriting(std::int32_t code) {
    constexpr std::array<std::int32_t, 6> codes = {8, 10, 11, 13, 14, 26};
    return std::find(codes.begin(), codes.end(), code & 0xff) != codes.end();
}

// MariaDB's server and client errors: disk full, table full, read-only
// table or server, storage engine and file write failures, a missing
// privilege, and the lost or refused connections (2002 to 2013, 2055).
bool mariadbEndsWriting(std::int32_t code) {
    constexpr std::array<std::int32_t, 10> codes = {1021, 1030, 1036, 1114, 1290,
                                                    1792, 3,    2055, 1927, 1142};
    return std::find(codes.begin(), codes.end(), code) != codes.end() ||
           (code >= 2002 && code <= 2013);
}

// The SQLSTATE and native error an exception carries; false when it has none.
bool diagnosticsOf(const std::exception& error, std::string& sqlState, std::int32_t& nativeError) {
    if (const auto* refused = dynamic_cast<const EDatabaseError*>(&error)) {
        sqlState = refused->SqlState();
        nativeError = refused->NativeError();
    } else if (const auto* provider = dynamic_cast<const EOleException*>(&error)) {
        sqlState = provider->SqlState();
        nativeError = provider->NativeError();
    }
    return !sqlState.empty();
}

} // namespace

bool endsWriting(const std::string& sqlState, std::int32_t nativeError, DatabaseKind kind) {
    if (sqlStateEndsWriting(sqlState)) {
        return true;
    }
    switch (kind) {
    case DatabaseKind::SQLite:
        return sqliteEndsWriting(nativeError);
    case DatabaseKind::MariaDB:
        return mariadbEndsWriting(nativeError);
    default:
        return false;
    }
}

bool endsWriting(const std::exception& error, DatabaseKind kind) {
    std::string state;
    std::int32_t native = 0;
    return diagnosticsOf(error, state, native) && endsWriting(state, native, kind);
}

bool lockTimedOut(const std::exception& error, DatabaseKind kind) {
    std::string state;
    std::int32_t native = 0;
    if (!diagnosticsOf(error, state, native)) {
        return false;
    }
    switch (kind) {
    case DatabaseKind::PostgreSQL:
        return state == "55P03";
    case DatabaseKind::MariaDB:
        return native == 1205;
    case DatabaseKind::SQLite:
        // Busy and locked, with or without an extended code.
        return (native & 0xff) == 5 || (native & 0xff) == 6;
    default:
        return false;
    }
}

bool wasCancelled(const std::exception& error) {
    std::string state;
    std::int32_t native = 0;
    return diagnosticsOf(error, state, native) && state == "HY008";
}
