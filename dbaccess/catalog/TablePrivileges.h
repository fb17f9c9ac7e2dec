#pragma once

#include <string>

class OdbcSession;

// Why the database would refuse an insert into a table for lack of
// privilege, or because the table is a view that takes none (its own
// message), asked without inserting anything; empty when it would accept one
// or cannot tell. Another session's lock that outlasts the lock wait is a
// refusal too: the table's delete and inserts would wait as long.
std::string insertRefusal(OdbcSession& session, const std::string& sqlTableName);
