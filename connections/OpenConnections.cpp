#include "OpenConnections.h"

#include "ConnectionView.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/TStrings.h"

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
    } catch (...) {
        // The exception's text may name the string's parts; only the fact is shown.
        view.AddMessage("Connecting Source Connection..(Error:ConnectionString)");
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
    } catch (...) {
        view.AddMessage("Connecting Target Connection..(Error:ConnectionString)");
    }
}
