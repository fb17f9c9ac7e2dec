#include "ScratchDatabase.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <utility>

ScratchDatabase ScratchDatabase::empty(TestDatabase::Engine engine) {
    const TestDatabase server = TestDatabase::open(engine);
    if (engine == TestDatabase::Engine::SQLite) {
        return {server, {}};
    }
    const std::string name = uniqueName("velbrook_scratch_");
    server.execute(engine == TestDatabase::Engine::PostgreSQL
                       ? "CREATE DATABASE " + name + " ENCODING 'UTF8';"
                       : "CREATE DATABASE " + name + " CHARACTER SET utf8mb4;");
    return {server.withDatabase(name), name};
}

ScratchDatabase::ScratchDatabase(TestDatabase database, std::string serverDatabase)
    : database_(std::move(database)), serverDatabase_(std::move(serverDatabase)) {}

ScratchDatabase::ScratchDatabase(ScratchDatabase&& other) noexcept
    : database_(std::move(other.database_)), serverDatabase_(std::move(other.serverDatabase_)),
      owned_(std::exchange(other.owned_, false)) {}

ScratchDatabase::~ScratchDatabase() {
    if (!owned_) {
        return;
    }
    try {
        if (database_.engine() == TestDatabase::Engine::SQLite) {
            std::filesystem::remove(database_.file());
        } else if (!serverDatabase_.empty()) {
            const TestDatabase server = TestDatabase::open(database_.engine());
            server.execute(database_.engine() == TestDatabase::Engine::PostgreSQL
                               ? "DROP DATABASE IF EXISTS " + serverDatabase_ + " WITH (FORCE);"
                               : "DROP DATABASE IF EXISTS " + serverDatabase_ + ";");
        }
    } catch (const std::exception& error) {
        std::cerr << "could not remove a test database: " << error.what() << '\n';
    }
}
