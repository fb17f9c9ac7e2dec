#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <string>

class MessageDialogs;

// The message of an escaping exception as the default error report shows it:
// a full stop is appended when the byte value of the last character is
// greater than that of '.'.
QString errorReportText(const std::string& message);
std::string exceptionMessage(const std::exception& error);

// Runs one event handler. An exception that leaves it is shown by the default
// error report, captioned with the program's caption, and the handler returns
// normally to the event loop.
void runHandler(MessageDialogs& dialogs, const std::function<void()>& handler) noexcept;
