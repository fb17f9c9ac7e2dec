#pragma once

#include "dbaccess/odbc/DriverTraits.h"

#include <cstdint>
#include <exception>
#include <string>

// Whether a failure ends a connection or its database's ability to write
// (connection lost, disk full, database read-only and the like), so that
// every later write fails the same way, as opposed to one refused row.
bool endsWriting(const std::string& sqlState, std::int32_t nativeError, DatabaseKind kind);

// The same for an exception; false for one that carries no SQLSTATE.
bool endsWriting(const std::exception& error, DatabaseKind kind);

// Whether a statement gave up waiting for a lock that another session
// holds (the database's lock timeout, see Timeouts.h).
bool lockTimedOut(const std::exception& error, DatabaseKind kind);

// Whether a driver call was given up because its waiter said so (SQLSTATE
// HY008, see SessionCalls).
bool wasCancelled(const std::exception& error);
