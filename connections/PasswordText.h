#pragma once

#include <string>

// Passwords of connection strings as the dialogs show them and as reports
// leave them out: always "********".

// Whether the string sets a password, also inside a nested string.
bool holdsPassword(const std::string& connectionString);

// The string as a dialog shows it: each password as "********".
std::string shownConnectionString(const std::string& connectionString);

// What the user confirmed of the shown form of stored: stored itself when
// the text is unchanged, else the text with every password left as
// "********" given back its value from stored.
std::string restorePasswords(const std::string& text, const std::string& stored);

// The message with every password of the connection string, and of the
// data link file that it names, replaced by "********".
std::string withoutPasswords(std::string message, const std::string& connectionString);
