#include "ChinookData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// The sample travels with the program's demo; its scripts for the servers
// with the tests.
const std::filesystem::path chinookSQLite = VELBROOK_CHINOOK_SQLITE;
const std::filesystem::path chinookScripts = VELBROOK_CHINOOK_SCRIPTS;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos) {
        throw std::runtime_error("Chinook script without \"" + from + "\"");
    }
    text.replace(at, from.size(), to);
}

} // namespace

ScratchDatabase loadChinook(TestDatabase::Engine engine) {
    const TestDatabase server = TestDatabase::open(engine);
    if (engine == TestDatabase::Engine::SQLite) {
        std::filesystem::copy_file(chinookSQLite, server.file());
        std::filesystem::permissions(server.file(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        return {server, {}};
    }
    // The scripts drop, create and enter a database of their own; each test
    // gets its own name for it.
    const std::string name = uniqueName("velbrook_chinook_");
    std::string script;
    if (engine == TestDatabase::Engine::PostgreSQL) {
        script = readFile(chinookScripts / "Chinook_PostgreSql.sql");
        replaceOnce(script, "DROP DATABASE IF EXISTS chinook;",
                    "DROP DATABASE IF EXISTS " + name + ";");
        replaceOnce(script, "CREATE DATABASE chinook;", "CREATE DATABASE " + name + ";");
        replaceOnce(script, "\\c chinook;", "\\c " + name);
        script = "SET client_min_messages = warning;\n" + script;
    } else {
        script = readFile(chinookScripts / "Chinook_MySql.sql");
        replaceOnce(script, "DROP DATABASE IF EXISTS `Chinook`;",
                    "DROP DATABASE IF EXISTS `" + name + "`;");
        replaceOnce(script, "CREATE DATABASE `Chinook`;", "CREATE DATABASE `" + name + "`;");
        replaceOnce(script, "USE `Chinook`;", "USE `" + name + "`;");
    }
    ScratchDatabase database(server.withDatabase(name), name);
    server.execute(script);
    return database;
}
