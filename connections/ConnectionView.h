#pragma once

#include <string>

class TADOConnection;
class TStrings;

enum class ConnectionSide { Source, Target };

// What opening a connection needs of the main window.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    virtual TADOConnection& Connection(ConnectionSide side) = 0;
    virtual void AddMessage(const std::string& text) = 0;
    // Shows image list entry index in the side's header: 0 not connected, 1 connected.
    virtual void ShowConnectionState(int index, ConnectionSide side) = 0;
    // The items of the source check list, and the target's table names.
    virtual TStrings& SourceTables() = 0;
    virtual TStrings& TargetTables() = 0;
    // Enables Select All and UnSelect.
    virtual void EnableSourceSelection() = 0;
    // Runs the connection string editor on the connection; true when it
    // replaced the connection's string.
    virtual bool EditConnectionString(TADOConnection& connection) = 0;
};
