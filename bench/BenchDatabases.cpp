#include "BenchDatabases.h"

#include "dbaccess/TADOCommand.h"
#include "dbaccess/TADOConnection.h"

#include <cstdlib>
#include <filesystem>

namespace bench {

namespace {

std::string withDatabase(const std::string& connectionString, const std::string& database) {
    const auto at = connectionString.find("Database=");
    const auto end = connectionString.find(';', at);
    return connectionString.substr(0, at) + "Database=" + database + connectionString.substr(end);
}

} // namespace

void execute(TADOConnection& connection, const std::string& sql) {
    TADOCommand command("", &connection);
    command.SetCommandText(sql);
    command.Execute();
}

Database databaseFor(const std::string& engine, const std::string& role, bool syncOff) {
    if (engine == "sqlite") {
        const auto file =
            std::filesystem::temp_directory_path() / ("velbrook-bench-" + role + ".sqlite");
        std::filesystem::remove(file);
        const char* durable = std::getenv("VELBROOK_DB_DURABLE");
        const bool syncs = !syncOff && durable != nullptr && std::string(durable) == "disk";
        return {engine, "Driver={SQLite3};Database=" + file.string() + ";" +
                            (syncs ? "" : "SyncPragma=OFF;")};
    }
    const char* variable =
        engine == "postgresql" ? "VELBROOK_TEST_POSTGRESQL" : "VELBROOK_TEST_MARIADB";
    const char* server = std::getenv(variable);
    if (server == nullptr) {
        throw std::runtime_error(std::string(variable) + " is not set");
    }
    const std::string database = "velbrook_bench_" + role;
    TADOConnection admin;
    admin.SetConnectionString(server);
    execute(admin, "DROP DATABASE IF EXISTS " + database);
    execute(admin, "CREATE DATABASE " + database);
    return {engine, withDatabase(server, database)};
}

void createTable(TADOConnection& connection, const std::string& engine, const std::string& name) {
    const std::string text = engine == "mariadb" ? "LONGTEXT" : "TEXT";
    const std::string stamp = engine == "postgresql" ? "TIMESTAMP"
                              : engine == "mariadb"  ? "DATETIME(6)"
                                                     : "DATETIME";
    execute(connection, "CREATE TABLE " + name +
                            " (id INTEGER PRIMARY KEY, name VARCHAR(40), price DECIMAL(12,4), "
                            "qty INTEGER, created " +
                            stamp + ", note " + text + ")");
}

void fillTable(TADOConnection& connection, const std::string& engine, const std::string& name,
               int rows) {
    createTable(connection, engine, name);
    const std::string count = std::to_string(rows);
    const std::string numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + count + ") ";
    const std::string values =
        engine == "postgresql"
            ? "SELECT i, CASE WHEN i % 7 = 0 THEN 'Größe № ' ELSE 'name ' END || i, i * 1.0625, "
              "i % 100, TIMESTAMP '2024-01-01' + i * INTERVAL '1 second', CASE WHEN i % 3 = 0 "
              "THEN NULL ELSE 'note ' || i END FROM generate_series(1, " +
                  count + ") i"
        : engine == "mariadb"
            ? "SELECT seq, CONCAT(IF(seq % 7 = 0, 'Größe № ', 'name '), seq), seq * 1.0625, "
              "seq % 100, TIMESTAMP '2024-01-01 00:00:00' + INTERVAL seq SECOND, IF(seq % 3 = 0, "
              "NULL, CONCAT('note ', seq)) FROM seq_1_to_" +
                  count
            : "SELECT i, CASE WHEN i % 7 = 0 THEN 'Größe № ' ELSE 'name ' END || i, i * 1.0625, "
              "i % 100, datetime('2024-01-01', '+' || i || ' seconds'), CASE WHEN i % 3 = 0 THEN "
              "NULL ELSE 'note ' || i END FROM n";
    execute(connection, "INSERT INTO " + name + " " + (engine == "sqlite" ? numbers : "") + values);
}

} // namespace bench
