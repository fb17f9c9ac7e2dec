#pragma once

#include "TestDatabase.h"

#include <string>

// A database of one test's own, removed when the object goes: a SQLite file,
// or a database on the engine's server, so that tests can run side by side.
class ScratchDatabase {
public:
    // A new, empty database (UTF-8 text on the servers).
    static ScratchDatabase empty(TestDatabase::Engine engine);
    // Takes over a database that already exists: the SQLite file of
    // `database`, or `serverDatabase` on its server.
    ScratchDatabase(TestDatabase database, std::string serverDatabase);
    ~ScratchDatabase();
    ScratchDatabase(ScratchDatabase&& other) noexcept;
    ScratchDatabase& operator=(ScratchDatabase&&) = delete;
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const TestDatabase& database() const noexcept { return database_; }
    const TestDatabase* operator->() const noexcept { return &database_; }

private:
    TestDatabase database_;
    std::string serverDatabase_;
    bool owned_ = true;
};
