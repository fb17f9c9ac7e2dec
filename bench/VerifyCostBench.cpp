// What the verification after a copy adds to the copy's time, for every pair
// of the databases at hand: SQLite always, PostgreSQL and MariaDB when the
// connection strings of scripts/db-servers are in the environment. Each
// pair copies one table through MoveTable (which verifies it), then verifies
// it once more alone; the cost is verify / (move - verify), as a ratio.
// With VELBROOK_DB_DURABLE=disk (and servers started so) every commit is
// durable, as on a real server.
// Usage: velbrook-bench-verify [--rows N]
#include "QuietMoveView.h"
#include "dbaccess/TADOCommand.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/TStrings.h"
#include "mover/TableMover.h"
#include "mover/TableVerification.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* table = "bench_orders";

struct Database {
    std::string name;
    std::string connectionString;
};

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void execute(TADOConnection& connection, const std::string& sql) {
    TADOCommand command("", &connection);
    command.SetCommandText(sql);
    command.Execute();
}

std::string withDatabase(const std::string& connectionString, const std::string& database) {
    const auto at = connectionString.find("Database=");
    const auto end = connectionString.find(';', at);
    return connectionString.substr(0, at) + "Database=" + database + connectionString.substr(end);
}

// A database of its own on each side, so that the same table name is two tables.
Database databaseFor(const std::string& engine, const std::string& role) {
    if (engine == "sqlite") {
        const auto file =
            std::filesystem::temp_directory_path() / ("velbrook-bench-" + role + ".sqlite");
        std::filesystem::remove(file);
        // Durable commits as the servers make them when asked to.
        const char* durable = std::getenv("VELBROOK_DB_DURABLE");
        const bool syncs = durable != nullptr && std::string(durable) == "disk";
        return {engine, "Driver={SQLite3};Database=" + file.string() + ";" +
                            (syncs ? "" : "SyncPragma=OFF;")};
    }
    const char* variable =
        engine == "postgresql" ? "VELBROOK_TEST_POSTGRESQL" : "VELBROOK_TEST_MARIADB";
    const std::string server = std::getenv(variable);
    const std::string database = "velbrook_bench_" + role;
    TADOConnection admin;
    admin.SetConnectionString(server);
    execute(admin, "DROP DATABASE IF EXISTS " + database);
    execute(admin, "CREATE DATABASE " + database);
    return {engine, withDatabase(server, database)};
}

// The shape of an ordinary table: key, text, price, quantity, time, note.
void fillSource(TADOConnection& connection, const std::string& engine, int rows) {
    const std::string text = engine == "mariadb" ? "LONGTEXT" : "TEXT";
    const std::string stamp = engine == "postgresql" ? "TIMESTAMP" : "DATETIME(6)";
    execute(connection, std::string("CREATE TABLE ") + table +
                            " (id INTEGER PRIMARY KEY, name VARCHAR(40), price DECIMAL(12,4), "
                            "qty INTEGER, created " +
                            (engine == "sqlite" ? "DATETIME" : stamp) + ", note " + text + ")");
    const std::string count = std::to_string(rows);
    const std::string numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + count + ") ";
    const std::string values =
        engine == "postgresql"
            ? "SELECT i, 'name ' || i, i * 1.0625, i % 100, TIMESTAMP '2024-01-01' + i * INTERVAL "
              "'1 second', CASE WHEN i % 3 = 0 THEN NULL ELSE 'note ' || i END FROM "
              "generate_series(1, " +
                  count + ") i"
        : engine == "mariadb"
            ? "SELECT seq, CONCAT('name ', seq), seq * 1.0625, seq % 100, TIMESTAMP "
              "'2024-01-01 00:00:00' + INTERVAL seq SECOND, IF(seq % 3 = 0, NULL, "
              "CONCAT('note ', seq)) FROM seq_1_to_" +
                  count
            : "SELECT i, 'name ' || i, i * 1.0625, i % 100, datetime('2024-01-01', '+' || i || ' "
              "seconds'), CASE WHEN i % 3 = 0 THEN NULL ELSE 'note ' || i END FROM n";
    execute(connection, engine == "sqlite" ? numbers + "INSERT INTO " + table + " " + values
                                           : std::string("INSERT INTO ") + table + " " + values);
}

void runPair(const std::string& sourceEngine, const std::string& targetEngine, int rows) {
    const Database sourceDatabase = databaseFor(sourceEngine, "source");
    const Database targetDatabase = databaseFor(targetEngine, "target");
    TADOConnection source("ADOConnection1");
    TADOConnection target("ADOConnection2");
    source.SetConnectionString(sourceDatabase.connectionString);
    target.SetConnectionString(targetDatabase.connectionString);
    fillSource(source, sourceEngine, rows);

    TADOTable sourceTable("ADOTable1", &source);
    TADOTable targetTable("ADOTable2", &target);
    TADOQuery targetQuery("ADOQuery1", &target);
    TStringList targetTables;
    std::int16_t status = 0;
    MoveContext context{source,      target,       sourceTable, targetTable,
                        targetQuery, targetTables, status};
    QuietMoveView view;
    const double move = secondsOf([&] { MoveTable(context, view, table); });
    const double verify = secondsOf([&] { VerifyTargetTable(context, view, table, table, table); });
    std::printf("%-10s -> %-10s rows %7d  move %8.2f s  verify %7.2f s  verify/copy %5.3f  %s\n",
                sourceEngine.c_str(), targetEngine.c_str(), rows, move, verify,
                verify / (move - verify), view.lastMessage().c_str());
}

} // namespace

int main(int argc, char** argv) {
    int rows = 5000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rows") {
            rows = std::atoi(argv[i + 1]);
        }
    }
    std::vector<std::string> engines{"sqlite"};
    for (const auto& [engine, variable] : {std::pair{"postgresql", "VELBROOK_TEST_POSTGRESQL"},
                                           std::pair{"mariadb", "VELBROOK_TEST_MARIADB"}}) {
        if (std::getenv(variable) != nullptr) {
            engines.emplace_back(engine);
        }
    }
    for (const auto& sourceEngine : engines) {
        for (const auto& targetEngine : engines) {
            runPair(sourceEngine, targetEngine, rows);
        }
    }
    return 0;
}
