#pragma once

#include "tests/support/TestDatabase.h"

#include <string>

// The servers of tests/faults/with-own-servers, which these tests may crash
// and start again; the shared servers of the other tests are never touched.
bool haveOwnServers();
// Runs scripts/db-servers COMMAND on the server of the engine.
void serverCommand(const std::string& command, TestDatabase::Engine engine);

// Starts a crashed server again when it goes, however the test ends; with
// Fault::Freeze it stops the server's processes instead and lets them go on.
class CrashedServer {
public:
    enum class Fault { Crash, Freeze };
    explicit CrashedServer(TestDatabase::Engine engine, Fault fault = Fault::Crash)
        : engine_(engine), fault_(fault) {}
    ~CrashedServer();
    CrashedServer(const CrashedServer&) = delete;
    CrashedServer& operator=(const CrashedServer&) = delete;

    void crash();
    void resume();
    bool crashed() const noexcept { return crashed_; }

private:
    TestDatabase::Engine engine_;
    Fault fault_;
    bool crashed_ = false;
};

// A table a_readings of `rows` rows (id from 1, a label of about 140
// characters, an amount) and a small table b_after, in a SQLite source.
void createReadings(const TestDatabase& source, int rows);

// The rows of a_readings before the one a memo line names ("Table:
// a_readings row id=N: …"): the rows that must have arrived; 0 for none named.
int rowsBeforeTheReportedRow(const std::string& memoLine);

// "count|min|max" of a table's ids through the client.
std::string idSpan(const TestDatabase& database, const std::string& table);
