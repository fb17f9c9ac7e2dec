#include "OwnServers.h"

#include <cstdio>
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

int rowsBeforeTheReportedRow(const std::string& memoLine) {
    const std::string named = "Table: a_readings row id=";
    return memoLine.rfind(named, 0) == 0 ? std::atoi(memoLine.c_str() + named.size()) - 1 : 0;
}

void createReadings(const TestDatabase& source, int rows) {
    // Plain SQL that every engine reads.
    std::string values;
    for (int i = 1; i <= rows; ++i) {
        char amount[32];
        std::snprintf(amount, sizeof amount, "%.2f", i * 0.25);
        values += (i == 1 ? "(" : ",(") + std::to_string(i) + ", 'reading " + std::to_string(i) +
                  " " + std::string(128, '0') + "', " + amount + ")";
    }
    source.execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label VARCHAR(200), "
                   "amount DECIMAL(10,2));" +
                   (rows > 0 ? "INSERT INTO a_readings VALUES " + values + ";" : std::string()) +
                   "CREATE TABLE b_after (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20));"
                   "INSERT INTO b_after VALUES (1, 'one');"
                   "INSERT INTO b_after VALUES (2, 'two');");
}

std::string idSpan(const TestDatabase& database, const std::string& table) {
    return database.queryValue("SELECT COUNT(*), MIN(id), MAX(id) FROM " + table + ";");
}
