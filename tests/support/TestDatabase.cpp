#include "TestDatabase.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the tests through scripts/test, which starts "
                                 "the database servers");
    }
    return value;
}

std::string temporaryPath(const std::string& suffix) {
    std::random_device device;
    const auto directory = std::filesystem::temp_directory_path() / "velbrook-tests";
    std::filesystem::create_directories(directory);
    return (directory / ("db-" + std::to_string(device()) + std::to_string(device()) + suffix))
        .string();
}

// Runs a shell command with text on its standard input; its standard output.
std::string runCommand(const std::string& command, const std::string& input) {
    const std::string inputFile = temporaryPath(".sql");
    const std::string outputFile = temporaryPath(".out");
    {
        std::ofstream file(inputFile, std::ios::binary);
        file << input;
    }
    const std::string full = command + " < '" + inputFile + "' > '" + outputFile + "' 2>&1";
    const int status = std::system(full.c_str());
    std::ifstream result(outputFile, std::ios::binary);
    std::stringstream output;
    output << result.rdbuf();
    std::filesystem::remove(inputFile);
    std::filesystem::remove(outputFile);
    if (status != 0) {
        throw std::runtime_error("client failed: " + command + "\n" + input + "\n" + output.str());
    }
    return output.str();
}

} // namespace

std::string engineName(TestDatabase::Engine engine) {
    switch (engine) {
    case TestDatabase::Engine::SQLite:
        return "sqlite";
    case TestDatabase::Engine::PostgreSQL:
        return "postgresql";
    case TestDatabase::Engine::MariaDB:
        return "mariadb";
    }
    return "unknown";
}

std::vector<TestDatabase::Engine> allEngines() {
    return {TestDatabase::Engine::SQLite, TestDatabase::Engine::PostgreSQL,
            TestDatabase::Engine::MariaDB};
}

TestDatabase TestDatabase::open(Engine engine) {
    TestDatabase database;
    database.engine_ = engine;
    database.name_ = engineName(engine);
    switch (engine) {
    case Engine::SQLite:
        database.sqliteFile_ = temporaryPath(".sqlite");
        database.connectionString_ = "Driver={SQLite3};Database=" + database.sqliteFile_ + ";";
        break;
    case Engine::PostgreSQL:
        database.connectionString_ = environment("VELBROOK_TEST_POSTGRESQL");
        break;
    case Engine::MariaDB:
        database.connectionString_ = environment("VELBROOK_TEST_MARIADB");
        break;
    }
    return database;
}

TestDatabase TestDatabase::sqliteFile(const std::string& path) {
    TestDatabase database;
    database.name_ = engineName(Engine::SQLite);
    database.sqliteFile_ = path;
    database.connectionString_ = "Driver={SQLite3};Database=" + path + ";";
    return database;
}

TestDatabase TestDatabase::withDatabase(const std::string& databaseName) const {
    TestDatabase database = *this;
    database.serverDatabase_ = databaseName;
    database.connectionString_ = replaceDatabase(connectionString_, databaseName);
    return database;
}

TestDatabase TestDatabase::withOptions(const std::string& options) const {
    TestDatabase database = *this;
    database.connectionString_ = options + connectionString_;
    return database;
}

static std::string replaceKey(const std::string& connectionString, const std::string& key,
                              const std::string& value) {
    std::string result;
    bool replaced = false;
    std::istringstream parts(connectionString);
    std::string part;
    while (std::getline(parts, part, ';')) {
        if (part.empty()) {
            continue;
        }
        std::string partKey = part.substr(0, part.find('='));
        for (auto& c : partKey) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (partKey == key) {
            part = part.substr(0, part.find('=')) + "=" + value;
            replaced = true;
        }
        result += part + ";";
    }
    return replaced ? result : result + key + "=" + value + ";";
}

std::string replaceDatabase(const std::string& connectionString, const std::string& database) {
    return replaceKey(connectionString, "database", database);
}

TestDatabase TestDatabase::asUser(const std::string& user, const std::string& password) const {
    TestDatabase database = *this;
    database.connectionString_ =
        replaceKey(replaceKey(connectionString_, "uid", user), "pwd", password);
    return database;
}

std::string uniqueName(const std::string& prefix) {
    std::random_device device;
    return prefix + std::to_string(device() % 100000) + std::to_string(device() % 100000);
}

std::string TestDatabase::run(const std::string& sql) const {
    return runCommand(clientCommand(), clientScript(sql));
}

std::string TestDatabase::clientCommand() const {
    switch (engine_) {
    case Engine::SQLite:
        return "sqlite3 -batch -bail -noheader -separator '|' '" + sqliteFile_ + "'";
    case Engine::PostgreSQL:
        return environment("VELBROOK_TEST_PSQL") + " -v ON_ERROR_STOP=1 -At -F '|'";
    case Engine::MariaDB:
        return environment("VELBROOK_TEST_MARIADB_CLIENT") +
               " --default-character-set=utf8mb4 -N -B -r";
    }
    return {};
}

std::string TestDatabase::clientScript(const std::string& sql) const {
    if (serverDatabase_.empty()) {
        return sql;
    }
    // The clients are started on the server's default database.
    return (engine_ == Engine::PostgreSQL ? "\\c \"" + serverDatabase_ + "\"\n"
                                          : "USE `" + serverDatabase_ + "`;\n") +
           sql;
}

void TestDatabase::execute(const std::string& sql) const {
    run(sql);
}

std::vector<std::string> TestDatabase::query(const std::string& sql) const {
    std::vector<std::string> rows;
    std::istringstream lines(run(sql));
    std::string line;
    while (std::getline(lines, line)) {
        if (engine_ == Engine::MariaDB) {
            for (auto& c : line) {
                if (c == '\t') {
                    c = '|';
                }
            }
        }
        rows.push_back(line);
    }
    return rows;
}

std::string TestDatabase::queryValue(const std::string& sql) const {
    const auto rows = query(sql);
    return rows.empty() ? std::string() : rows.front();
}

std::string TestDatabase::quoted(const std::string& name) const {
    const char quote = engine_ == Engine::MariaDB ? '`' : '"';
    return std::string(1, quote) + name + quote;
}

void TestDatabase::dropTable(const std::string& name) const {
    execute("DROP TABLE IF EXISTS " + quoted(name) + ";");
}

std::string TestDatabase::hexExpression(const std::string& column) const {
    switch (engine_) {
    case Engine::PostgreSQL:
        return "upper(encode(" + column + ", 'hex'))";
    default:
        return "hex(" + column + ")";
    }
}
