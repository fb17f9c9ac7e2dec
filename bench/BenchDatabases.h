#pragma once

#include <string>

class TADOConnection;

// The benchmarks' databases and their table of the shape of an ordinary
// table: key, text, price, quantity, time and note.
namespace bench {

constexpr const char* table = "bench_orders";

struct Database {
    std::string engine;
    std::string connectionString;
};

// A database of its own for role ("source", "target") on engine ("sqlite",
// "postgresql", "mariadb"), empty. SQLite files sync their commits as durable
// servers do when VELBROOK_DB_DURABLE=disk, unless syncOff.
Database databaseFor(const std::string& engine, const std::string& role, bool syncOff = false);

void execute(TADOConnection& connection, const std::string& sql);

// Creates name with the shape of the benchmark table.
void createTable(TADOConnection& connection, const std::string& engine, const std::string& name);
// Creates name and fills it with rows rows: a third of the notes NULL,
// every seventh name not ASCII.
void fillTable(TADOConnection& connection, const std::string& engine, const std::string& name,
               int rows);

} // namespace bench
