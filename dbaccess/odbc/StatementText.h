#pragma once

#include <string>
#include <vector>

// Replaces parameter markers (":" and a name, outside quoted text) by "?" and
// reduces a doubled "::" to one ":".
std::string replaceParameterMarkers(const std::string& text);

class OdbcHandle;
class OdbcSession;

// Runs a statement directly on a handle.
void executeOn(const OdbcHandle& statement, const std::string& text);

// Runs a statement directly on a new handle of the session.
OdbcHandle executeDirect(OdbcSession& session, const std::string& text);

// Rows affected by the statement last executed on the handle (0 when unknown).
int affectedRows(const OdbcHandle& statement);

// A query's rows as text (NULL as empty text), the parameters bound as text.
std::vector<std::vector<std::string>> queryRows(OdbcSession& session, const std::string& text,
                                                const std::vector<std::string>& parameters);
// The first column of a query's rows as text, the parameters bound as text.
std::vector<std::string> queryFirstColumn(OdbcSession& session, const std::string& text,
                                          const std::vector<std::string>& parameters);
