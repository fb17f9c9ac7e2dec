#pragma once

#include <string>

class OdbcSession;

// How long a statement waits for a lock that another session holds before
// it fails with the database's lock timeout error, naming the lock.
constexpr int lockWaitSeconds = 5;

// The connection string with the options that bound the login to the
// timeout and, for SQLite, lock waits to lockWaitSeconds, where the user
// did not set them.
std::string withTimeoutOptions(const std::string& odbcConnectionString, int loginTimeoutSeconds);

// Bounds the lock waits of an open PostgreSQL or MariaDB session.
void boundLockWaits(OdbcSession& session);
