#pragma once

#include <string>

class TADOConnection;

// Runs a statement that returns no rows.
class TADOCommand {
public:
    explicit TADOCommand(std::string name = {}, TADOConnection* connection = nullptr)
        : name_(std::move(name)), connection_(connection) {}

    const std::string& Name() const noexcept { return name_; }
    TADOConnection* Connection() const noexcept { return connection_; }
    void SetConnection(TADOConnection* connection) noexcept { connection_ = connection; }
    const std::string& CommandText() const noexcept { return commandText_; }
    void SetCommandText(std::string text) { commandText_ = std::move(text); }

    // The number of rows affected.
    int Execute();

private:
    std::string name_;
    TADOConnection* connection_;
    std::string commandText_;
};
