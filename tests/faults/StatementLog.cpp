#include "StatementLog.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

using Engine = TestDatabase::Engine;

namespace {

std::string postgresqlLog() {
    const char* folder = std::getenv("VELBROOK_TEST_PG_SOCKET_DIR");
    if (folder == nullptr) {
        throw std::runtime_error("VELBROOK_TEST_PG_SOCKET_DIR is not set");
    }
    return std::string(folder) + "/server.log";
}

const std::string driverSetUp = "SET DateStyle = 'ISO';SET extra_float_digits = 2;";

// psqlODBC streams a result through a cursor of its own: it sends our
// statement inside "BEGIN;declare ... for <statement>;fetch N in ..." and
// closes it with "close ...;commit". Only the statement inside is ours.
std::string withoutDriverCursor(const std::string& statement) {
    static const std::regex opened(R"(^(BEGIN|SAVEPOINT _EXEC_SVP_\w+);declare "SQL_CUR\w+" )"
                                   R"(cursor with hold for ([\s\S]*);fetch \d+ in "SQL_CUR\w+"$)");
    static const std::regex closed(R"(^close "SQL_CUR\w+"(;commit)?$)");
    std::smatch match;
    if (std::regex_match(statement, match, opened)) {
        return match[2].str();
    }
    return std::regex_match(statement, closed) ? std::string() : statement;
}

std::string upper(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

StatementLog::StatementLog(Engine engine) : engine_(engine) {
    const TestDatabase server = TestDatabase::open(engine);
    if (engine == Engine::PostgreSQL) {
        server.execute("ALTER SYSTEM SET log_statement = 'all';"
                       "ALTER SYSTEM SET log_line_prefix = '%a|';"
                       "SELECT pg_reload_conf();");
        // The postmaster reads the change on its own time; new sessions then have it.
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (server.queryValue("SHOW log_statement;") == "all") {
                break;
            }
        }
    } else if (engine == Engine::MariaDB) {
        server.execute("SET GLOBAL log_output = 'TABLE'; SET GLOBAL general_log = 'ON';");
    }
    mark();
}

void StatementLog::mark() {
    if (engine_ == Engine::PostgreSQL) {
        offset_ = std::filesystem::file_size(postgresqlLog());
    } else if (engine_ == Engine::MariaDB) {
        TestDatabase::open(engine_).execute("TRUNCATE TABLE mysql.general_log;");
    }
}

std::vector<std::string> StatementLog::statements() const {
    std::vector<std::string> found;
    if (engine_ == Engine::PostgreSQL) {
        std::ifstream file(postgresqlLog(), std::ios::binary);
        file.seekg(static_cast<std::streamoff>(offset_));
        std::string line;
        bool continuing = false;
        while (std::getline(file, line)) {
            if (!line.empty() && line[0] == '\t' && continuing) {
                found.back() += "\n" + line.substr(1);
                continue;
            }
            continuing = false;
            // "application|LOG:  statement: ..." or "...LOG:  execute <name>: ..."
            if (line.rfind("psql|", 0) == 0) {
                continue;
            }
            auto at = line.find("LOG:  statement: ");
            // psqlODBC's own set-up of every session.
            if (at != std::string::npos &&
                line.compare(at + 17, driverSetUp.size(), driverSetUp) == 0) {
                continue;
            }
            if (at != std::string::npos) {
                found.push_back(line.substr(at + 17));
                continuing = true;
                continue;
            }
            at = line.find("LOG:  execute ");
            if (at != std::string::npos) {
                const auto colon = line.find(": ", at + 14);
                if (colon != std::string::npos) {
                    found.push_back(line.substr(colon + 2));
                    continuing = true;
                }
            }
        }
    } else if (engine_ == Engine::MariaDB) {
        found = TestDatabase::open(engine_).query(
            "SELECT REPLACE(REPLACE(CONVERT(argument USING utf8mb4), '\\n', ' '), '\\r', ' ') "
            "FROM mysql.general_log WHERE command_type IN ('Query', 'Execute', 'Prepare') "
            "AND argument NOT LIKE '%mysql.general_log%' ORDER BY event_time;");
    }
    return found;
}

std::string foreignSql(const std::string& logged, Engine engine) {
    const std::string statement =
        engine == Engine::PostgreSQL ? withoutDriverCursor(logged) : logged;
    std::string outside;
    for (std::size_t i = 0; i < statement.size(); ++i) {
        const char c = statement[i];
        if (c != '\'' && c != '"' && c != '`') {
            outside += c;
            continue;
        }
        // E'...' in PostgreSQL and every literal in MariaDB take backslash escapes.
        const bool backslashes =
            c == '\'' && (engine == Engine::MariaDB ||
                          (i > 0 && (statement[i - 1] == 'E' || statement[i - 1] == 'e')));
        std::size_t end = i + 1;
        for (; end < statement.size(); ++end) {
            if (backslashes && statement[end] == '\\') {
                ++end;
            } else if (statement[end] == c) {
                if (end + 1 < statement.size() && statement[end + 1] == c) {
                    ++end;
                } else {
                    break;
                }
            }
        }
        if (end >= statement.size()) {
            return "unclosed quote in: " + statement;
        }
        outside += ' ';
        i = end;
    }
    std::string words = outside;
    while (!words.empty() &&
           (std::isspace(static_cast<unsigned char>(words.back())) != 0 || words.back() == ';')) {
        words.pop_back();
    }
    if (words.find(';') != std::string::npos) {
        return "a second statement in: " + statement;
    }
    if (words.find("--") != std::string::npos || words.find("/*") != std::string::npos) {
        return "a comment in: " + statement;
    }
    const std::string upperWords = upper(words);
    for (auto at = upperWords.find("DROP"); at != std::string::npos;
         at = upperWords.find("DROP", at + 1)) {
        const auto wordChar = [&upperWords](std::size_t i) {
            const char c = upperWords[i];
            return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
        };
        if ((at == 0 || !wordChar(at - 1)) && (at + 4 >= upperWords.size() || !wordChar(at + 4))) {
            return "DROP in: " + statement;
        }
    }
    return {};
}
