#pragma once

#include <string>
#include <vector>

// One of the databases every database test runs on, with an independent
// command-line client to set up and check data beside the layer.
class TestDatabase {
public:
    enum class Engine { SQLite, PostgreSQL, MariaDB };

    // The database of an engine: a fresh SQLite file, or the server that the
    // test command started (its connection string in the environment).
    static TestDatabase open(Engine engine);
    // A SQLite database in an existing file.
    static TestDatabase sqliteFile(const std::string& path);
    // Another database on the same server: the connection string's Database
    // value and the client's database are replaced.
    TestDatabase withDatabase(const std::string& databaseName) const;
    // The same database with options in front of its connection string (the
    // drivers take the first of a repeated key); the client is unchanged.
    TestDatabase withOptions(const std::string& options) const;
    // The same database reached as another user; the client stays the owner's.
    TestDatabase asUser(const std::string& user, const std::string& password) const;

    Engine engine() const noexcept { return engine_; }
    const std::string& name() const noexcept { return name_; }
    const std::string& connectionString() const noexcept { return connectionString_; }
    // The SQLite file, empty for the servers.
    const std::string& file() const noexcept { return sqliteFile_; }

    // The engine's own client as a shell command, and what it reads to run
    // sql on this database.
    std::string clientCommand() const;
    std::string clientScript(const std::string& sql) const;
    // Runs statements through the engine's own client; raises on failure.
    void execute(const std::string& sql) const;
    // Rows of a query through the client, columns joined with "|".
    std::vector<std::string> query(const std::string& sql) const;
    std::string queryValue(const std::string& sql) const;

    void dropTable(const std::string& name) const;
    // The engine's spelling of an identifier in quotes.
    std::string quoted(const std::string& name) const;
    // A hex rendering of a binary column for query().
    std::string hexExpression(const std::string& column) const;

private:
    std::string run(const std::string& sql) const;

    Engine engine_ = Engine::SQLite;
    std::string name_;
    std::string connectionString_;
    std::string sqliteFile_;
    std::string serverDatabase_;
};

// The connection string with its Database value replaced (added when absent).
std::string replaceDatabase(const std::string& connectionString, const std::string& database);
// A name no other test run uses at the same time: prefix, then random digits.
std::string uniqueName(const std::string& prefix);

std::string engineName(TestDatabase::Engine engine);
std::vector<TestDatabase::Engine> allEngines();
