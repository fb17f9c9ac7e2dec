#include "OwnServers.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : value;
}

} // namespace

void serverCommand(const std::string& command, TestDatabase::Engine engine) {
    const std::string line = "'" + environment("VELBROOK_DB_SERVERS_SCRIPT") + "' " + command +
                             " '" + environment("VELBROOK_OWN_SERVERS") + "' " + engineName(engine);
    if (std::system(line.c_str()) != 0) {
        throw std::runtime_error("failed: " + line);
    }
}

bool haveOwnServers() {
    return !environment("VELBROOK_OWN_SERVERS").empty();
}

CrashedServer::~CrashedServer() {
    try {
        resume();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
    }
}

void CrashedServer::crash() {
    if (!crashed_) {
        serverCommand(fault_ == Fault::Crash ? "crash" : "freeze", engine_);
        crashed_ = true;
    }
}

void CrashedServer::resume() {
    if (crashed_) {
        serverCommand(fault_ == Fault::Crash ? "resume" : "thaw", engine_);
        crashed_ = false;
    }
}

void createReadings(const TestDatabase& source, int rows) {
    source.execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label VARCHAR(200), "
                   "amount DECIMAL(10,2));"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                   std::to_string(rows) +
                   ") INSERT INTO a_readings SELECT i, 'reading ' || i || ' ' || "
                   "hex(zeroblob(64)), i * 0.25 FROM n;"
                   "CREATE TABLE b_after (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20));"
                   "INSERT INTO b_after VALUES (1, 'one');"
                   "INSERT INTO b_after VALUES (2, 'two');");
}

std::string idSpan(const TestDatabase& database, const std::string& table) {
    return database.queryValue("SELECT COUNT(*), MIN(id), MAX(id) FROM " + table + ";");
}
