#include "OwnServers.h"
#include "StatementLog.h"
#include "dbaccess/values/TStrings.h"
#include "tests/mover/MoverRun.h"
#include "tests/mover/TableCheck.h"
#include "tests/support/ScratchDatabase.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Engine = TestDatabase::Engine;

// Quotes, a statement after a semicolon, a comment, blanks, a dot that would
// reach another schema or database, reserved words and non-ASCII letters.
// Names that read as functions or keywords wherever they stand unquoted.
const std::vector<std::string> hostileNames = {"it's \"quoted\"",
                                               "x; DROP TABLE victim; --",
                                               "other.victim",
                                               "select",
                                               "Order",
                                               "Größe 表",
                                               "back`tick",
                                               "current_catalog",
                                               "current_schema",
                                               "current_role",
                                               "localtimestamp",
                                               "limit",
                                               "offset",
                                               "window",
                                               "rows",
                                               "lateral"};

std::string quotedName(const TestDatabase& database, const std::string& name) {
    const char quote = database.engine() == Engine::MariaDB ? '`' : '"';
    std::string text(1, quote);
    for (const char c : name) {
        text += c;
        if (c == quote) {
            text += c;
        }
    }
    return text + quote;
}

void createHostileTables(const TestDatabase& source) {
    std::string sql;
    for (const auto& name : hostileNames) {
        const std::string table = quotedName(source, name);
        sql += "CREATE TABLE " + table + " (id INTEGER NOT NULL PRIMARY KEY, " +
               quotedName(source, "from") + " VARCHAR(40));" + "INSERT INTO " + table +
               " VALUES (1, 'it''s; --');" + "INSERT INTO " + table + " VALUES (2, '表');";
    }
    source.execute(sql);
}

// Tables that unquoted names would reach: victim beside the copies, and
// victim in the schema (PostgreSQL) or database (MariaDB) named other.
void createVictims(const TestDatabase& target) {
    std::string sql = "CREATE TABLE victim (id INTEGER);INSERT INTO victim VALUES (1);";
    if (target.engine() == Engine::PostgreSQL) {
        sql += "CREATE SCHEMA other;CREATE TABLE other.victim (id INTEGER);"
               "INSERT INTO other.victim VALUES (1);";
    } else if (target.engine() == Engine::MariaDB) {
        sql += "CREATE DATABASE IF NOT EXISTS other;CREATE TABLE IF NOT EXISTS other.victim (id "
               "INTEGER);DELETE FROM other.victim;INSERT INTO other.victim VALUES (1);";
    }
    target.execute(sql);
}

void expectVictimsUntouched(const TestDatabase& target) {
    EXPECT_EQ(target.queryValue("SELECT COUNT(*) FROM victim;"), "1");
    if (target.engine() != Engine::SQLite) {
        EXPECT_EQ(target.queryValue("SELECT COUNT(*) FROM other.victim;"), "1");
    }
}

class HostileNamesTest : public ::testing::TestWithParam<CopyPair> {
protected:
    static void SetUpTestSuite() {
        if (haveOwnServers()) {
            logs.push_back(std::make_unique<StatementLog>(Engine::PostgreSQL));
            logs.push_back(std::make_unique<StatementLog>(Engine::MariaDB));
        }
    }
    static void TearDownTestSuite() { logs.clear(); }

    void SetUp() override {
        if (!haveOwnServers()) {
            GTEST_FAIL() << "run through tests/faults/with-own-servers";
        }
    }

    static std::vector<std::unique_ptr<StatementLog>> logs;
};

std::vector<std::unique_ptr<StatementLog>> HostileNamesTest::logs;

TEST_P(HostileNamesTest, MoveAsTheirOwnTablesAndRunNothingElse) {
    const ScratchDatabase source = ScratchDatabase::empty(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
    createHostileTables(source.database());
    createVictims(target.database());
    for (const auto& log : logs) {
        log->mark();
    }

    const MoveRunRecord run = moveAllTables(source.database(), target.database());
    const std::string feedback = describeRun(run);

    EXPECT_EQ(run.escaped, "") << feedback;
    EXPECT_TRUE(run.view.memo.empty()) << feedback;
    EXPECT_EQ(run.view.results.size(), hostileNames.size()) << feedback;
    for (const auto& line : run.view.results) {
        EXPECT_TRUE(line.ticked) << line.text << "\n" << feedback;
    }
    for (const auto& name : hostileNames) {
        const std::string copy = findTable(target.database(), name);
        ASSERT_NE(copy, "") << name << " missing in the target\n" << feedback;
        EXPECT_EQ(target->query("SELECT id, " + quotedName(target.database(), "from") + " FROM " +
                                quotedName(target.database(), copy) + " ORDER BY id;"),
                  (std::vector<std::string>{"1|it's; --", "2|表"}))
            << name;
    }
    expectVictimsUntouched(target.database());
    for (std::size_t i = 0; i < logs.size(); ++i) {
        const Engine engine = i == 0 ? Engine::PostgreSQL : Engine::MariaDB;
        const auto statements = logs[i]->statements();
        if (GetParam().source == engine || GetParam().target == engine) {
            EXPECT_FALSE(statements.empty()) << "no statement logged by " << engineName(engine);
        }
        for (const auto& statement : statements) {
            EXPECT_EQ(foreignSql(statement, engine), "") << engineName(engine);
        }
    }
}

// Two source tables that one target table could hold; the second is refused
// before anything is deleted. Outcomes by target engine.
enum class Outcome { Apart, SecondRefused, BothRefused };

struct NamePair {
    std::string first;
    std::string second;
    std::vector<Engine> sources;
    std::array<Outcome, 3> onTarget;
};

const std::string longName = "monthly_sales_summary_by_region_and_product_category_fy2023_jan_";

const std::vector<NamePair> namePairs = {
    {"Users",
     "users",
     {Engine::PostgreSQL, Engine::MariaDB},
     {Outcome::SecondRefused, Outcome::SecondRefused, Outcome::SecondRefused}},
    // PostgreSQL keeps 63 bytes of a name; MariaDB takes 64 characters.
    {longName + "north",
     longName + "south",
     {Engine::SQLite},
     {Outcome::Apart, Outcome::SecondRefused, Outcome::BothRefused}},
    {"ÄBC",
     "äbc",
     {Engine::SQLite, Engine::PostgreSQL, Engine::MariaDB},
     {Outcome::Apart, Outcome::Apart, Outcome::Apart}},
    {"ends with a blank ",
     "line\nbreak",
     {Engine::SQLite, Engine::PostgreSQL},
     {Outcome::Apart, Outcome::Apart, Outcome::BothRefused}},
};

TEST_P(HostileNamesTest, OneTargetTableNeverTakesTwoSourceTables) {
    for (const NamePair& names : namePairs) {
        if (std::find(names.sources.begin(), names.sources.end(), GetParam().source) ==
            names.sources.end()) {
            continue;
        }
        const ScratchDatabase source = ScratchDatabase::empty(GetParam().source);
        const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
        for (const auto& [name, rows] : {std::pair{names.first, 3}, {names.second, 2}}) {
            const std::string table = quotedName(source.database(), name);
            source->execute("CREATE TABLE " + table + " (id INTEGER PRIMARY KEY);");
            for (int id = 1; id <= rows; ++id) {
                source->execute("INSERT INTO " + table + " VALUES (" + std::to_string(id) + ");");
            }
        }
        const MoveRunRecord run = moveAllTables(source.database(), target.database());
        const std::string feedback = names.first + "\n" + describeRun(run);
        const Outcome outcome = names.onTarget[static_cast<std::size_t>(GetParam().target)];
        EXPECT_EQ(run.escaped, "") << feedback;
        ASSERT_EQ(run.view.results.size(), 2U) << feedback;
        // The tables come in the source list's order: whichever comes first is kept.
        for (std::size_t i = 0; i < 2; ++i) {
            const auto& line = run.view.results[i];
            const bool refused =
                outcome == Outcome::BothRefused || (outcome == Outcome::SecondRefused && i == 1);
            EXPECT_EQ(line.ticked, !refused) << feedback;
            if (refused) {
                EXPECT_NE(line.text.find("Target Table Open Error!!"), std::string::npos)
                    << feedback;
            }
        }
        if (outcome == Outcome::SecondRefused) {
            const bool firstKept = feedback.find("already holds source table '" + names.first +
                                                 "'") != std::string::npos;
            const std::string& kept = firstKept ? names.first : names.second;
            const std::string& left = firstKept ? names.second : names.first;
            EXPECT_NE(feedback.find("source table '" + left + "' is not copied"), std::string::npos)
                << feedback;
            // PostgreSQL keeps 63 bytes of a name.
            std::string copy = findTable(target.database(), kept);
            copy = copy.empty() ? lowerCase(kept).substr(0, 63) : copy;
            EXPECT_EQ(target->queryValue("SELECT COUNT(*) FROM " +
                                         quotedName(target.database(), copy) + ";"),
                      firstKept ? "3" : "2")
                << feedback;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, HostileNamesTest, ::testing::ValuesIn(allCopyPairs()),
                         [](const auto& pairInfo) { return pairName(pairInfo.param); });

} // namespace
