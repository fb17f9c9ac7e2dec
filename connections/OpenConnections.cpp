#include "OpenConnections.h"

#include "ConnectionView.h"
#include "PasswordText.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <exception>

namespace {

// Closes the connection and runs the editor; the connection is opened next
// whether the user confirmed or cancelled.
TADOConnection& prepare(ConnectionView& view, ConnectionSide side) {
    TADOConnection& connection = view.Connection(side);
    if (connection.Connected()) {
        connection.SetConnected(false);
    }
    view.ShowConnectionState(0, side);
    view.EditConnectionString(connection);
    return connection;
}

// After the error line, the driver's own words on one line, without the
// connection's passwords.
void reportFailure(ConnectionView& view, const TADOConnection& connection, const char* line,
                   const std::exception* error) {
    view.AddMessage(line);
    if (error == nullptr) {
        return;
    }
    std::string message = withoutPasswords(error->what(), connection.ConnectionString());
    std::replace_if(
        message.begin(), message.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    if (!trimmed(message).empty()) {
        view.AddMessage(trimmed(message));
    }
}

} // namespace

void btnOpenSourceClick(ConnectionView& view) {
    TADOConnection& connection = prepare(view, ConnectionSide::Source);
    try {
        view.AddMessage("Connecting Source Connection");
        connection.SetConnected(true);
        connection.ListTableNames(view.SourceTables(), false);
        view.EnableSourceSelection();
        view.ShowConnectionState(1, ConnectionSide::Source);
        view.AddMessage("Connected Source Connection");
    } catch (const std::exception& error) {
        reportFailure(view, connection, "Connecting Source Connection..(Error:ConnectionString)",
                      &error);
    } catch (...) {
        reportFailure(view, connection, "Connecting Source Connection..(Error:ConnectionString)",
                      nullptr);
    }
}

void btnOpenTargetClick(ConnectionView& view) {
    TADOConnection& connection = prepare(view, ConnectionSide::Target);
    try {
        view.AddMessage("Connecting Target Connection");
        connection.SetConnected(true);
        TStrings& tables = view.TargetTables();
        connection.ListTableNames(tables, false);
        for (int i = 0; i < tables.Count(); ++i) {
            tables.SetStrings(i, lowerCase(tables.Strings(i)));
        }
        view.ShowConnectionState(1, ConnectionSide::Target);
        view.AddMessage("Connected Target Connection");
    } catch (const std::exception& error) {
        reportFailure(view, connection, "Connecting Target Connection..(Error:ConnectionString)",
                      &error);
    } catch (...) {
        reportFailure(view, connection, "Connecting Target Connection..(Error:ConnectionString)",
                      nullptr);
    }
}
