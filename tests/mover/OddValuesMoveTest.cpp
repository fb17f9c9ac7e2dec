#include "MoverRun.h"
#include "TableCheck.h"
#include "tests/support/ScratchDatabase.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine = TestDatabase::Engine;

// Names with a blank; PostgreSQL's own habit is lower case.
std::string oddTableName(Engine engine) {
    return engine == Engine::PostgreSQL ? "odd values" : "Odd Values";
}

// A table with NULL in every column type, wide text, the bigint limits, a
// long decimal, binary data with NUL bytes and columns named by reserved words.
void createOddValues(const TestDatabase& database, bool withSQLite) {
    const Engine engine = database.engine();
    const std::string table = database.quoted(oddTableName(engine));
    const std::string select = database.quoted("select");
    const std::string order = database.quoted("order");
    std::string types;
    switch (engine) {
    case Engine::SQLite:
        types = "note TEXT, big BIGINT, amount DECIMAL(20,6), ratio DOUBLE, flag BOOLEAN, "
                "born DATE, stamp DATETIME, data BLOB, ";
        break;
    case Engine::PostgreSQL:
        types = "note TEXT, big BIGINT, amount NUMERIC(20,6), ratio DOUBLE PRECISION, "
                "flag BOOLEAN, born DATE, stamp TIMESTAMP, data BYTEA, ";
        break;
    case Engine::MariaDB:
        types = "note LONGTEXT, big BIGINT, amount DECIMAL(20,6), ratio DOUBLE, flag BOOLEAN, "
                "born DATE, stamp DATETIME, data LONGBLOB, ";
        break;
    }
    const auto blob = [engine](const std::string& hex) {
        return engine == Engine::PostgreSQL ? "'\\x" + hex + "'::bytea" : "X'" + hex + "'";
    };
    const std::string yes = engine == Engine::PostgreSQL ? "TRUE" : "1";
    const std::string no = engine == Engine::PostgreSQL ? "FALSE" : "0";
    // SQLite keeps a decimal column's value as a double, that is to 15
    // significant digits; where it takes part the long decimals have 15.
    const std::string large = withSQLite ? "123456789.123456" : "12345678901234.123456";
    const std::string negative = withSQLite ? "-987654321.654321" : "-99999999999999.999999";

    const std::vector<std::string> rows = {
        "1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL",
        "2, '繁體中文 😀', 'emoji 🎉🚀 and 中文', 9223372036854775807, " + large + ", 1.25, " + yes +
            ", '1999-12-31', '2024-02-29 23:59:58', " + blob("00FF000102000000") + ", 7",
        // An empty text is a value, not a NULL.
        "3, 'tab\there|pipe ''quoted''\nsecond line', '', -9223372036854775807 - 1, " + negative +
            ", -0.5, " + no + ", '1900-01-01', '1970-01-01 00:00:00', " + blob("000000") + ", -1",
        "4, 'plain', 'last row', 0, 0.000001, 0, " + no +
            ", '2000-02-29', '2038-01-19 03:14:08', " + blob("41") + ", 0"};
    std::string sql = "CREATE TABLE " + table + " (id INTEGER NOT NULL PRIMARY KEY, " + select +
                      " VARCHAR(100), " + types + order + " INTEGER)" +
                      (engine == Engine::MariaDB ? " CHARACTER SET utf8mb4;" : ";");
    for (const auto& row : rows) {
        sql += "INSERT INTO " + table + " VALUES (" + row + ");";
    }
    database.execute(sql);
}

// A table whose second row the target refuses: its code repeats, and the
// target's copy has a unique key on the code.
void createCodes(const TestDatabase& database) {
    database.execute("CREATE TABLE codes (id INTEGER NOT NULL PRIMARY KEY, code VARCHAR(10) NOT "
                     "NULL, label VARCHAR(20));"
                     "INSERT INTO codes VALUES (1, 'A', 'first');"
                     "INSERT INTO codes VALUES (2, 'A', 'refused');"
                     "INSERT INTO codes VALUES (3, 'B', 'after');"
                     "INSERT INTO codes VALUES (4, 'C', 'last');");
}

const RecordingMoveView::ResultLine* resultFor(const MoveRunRecord& run, const std::string& name) {
    for (const auto& line : run.view.results) {
        if (line.text.rfind(name + " ", 0) == 0) {
            return &line;
        }
    }
    return nullptr;
}

class OddValuesMoveTest : public ::testing::TestWithParam<CopyPair> {
protected:
    bool withSQLite() const {
        return GetParam().source == Engine::SQLite || GetParam().target == Engine::SQLite;
    }

    void expectOddValuesCopied(const TestDatabase& source, const TestDatabase& target,
                               const MoveRunRecord& run) {
        const std::string feedback = describeRun(run);
        const std::string name = oddTableName(source.engine());
        const std::string copy = findTable(target, name);
        ASSERT_NE(copy, "") << name << " missing in the target\n" << feedback;
        const TableComparison comparison = compareTables(source, name, target, copy);
        EXPECT_TRUE(comparison.differences.empty())
            << ::testing::PrintToString(comparison.differences) << "\n"
            << feedback;
        EXPECT_EQ(comparison.targetRows, 4);
        const auto* result = resultFor(run, "odd values");
        ASSERT_NE(result, nullptr) << feedback;
        EXPECT_EQ(result->text, "odd values  Records: 4");
        EXPECT_TRUE(result->ticked) << feedback;
    }
};

TEST_P(OddValuesMoveTest, CreatesTheTableInAnEmptyTargetWithEveryValue) {
    const ScratchDatabase source = ScratchDatabase::empty(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
    createOddValues(source.database(), withSQLite());

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    EXPECT_EQ(run.escaped, "") << describeRun(run);
    EXPECT_TRUE(run.view.memo.empty()) << describeRun(run);
    expectOddValuesCopied(source.database(), target.database(), run);
}

// A name that needs quotes is created in the letter case the target gives
// unquoted names, so that it stands beside the others.
TEST_P(OddValuesMoveTest, CreatesQuotedNamesInTheTargetsLetterCase) {
    const ScratchDatabase source = ScratchDatabase::empty(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
    source->execute("CREATE TABLE " + source->quoted("Order Items") +
                    " (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20));"
                    "CREATE TABLE Customers (id INTEGER NOT NULL PRIMARY KEY);");

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    EXPECT_EQ(run.escaped, "") << describeRun(run);
    // MariaDB keeps the letter case of the source's own spelling.
    std::vector<std::string> expected = GetParam().target == Engine::PostgreSQL
                                            ? std::vector<std::string>{"customers", "order items"}
                                        : GetParam().target == Engine::SQLite
                                            ? std::vector<std::string>{"CUSTOMERS", "ORDER ITEMS"}
                                            : tableNames(source.database());
    std::vector<std::string> created = tableNames(target.database());
    std::sort(created.begin(), created.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(created, expected) << describeRun(run);
}

TEST_P(OddValuesMoveTest, ReportsARefusedRowOnceAndCopiesTheRowsAfterIt) {
    const ScratchDatabase source = ScratchDatabase::empty(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
    createOddValues(source.database(), withSQLite());
    createCodes(source.database());
    for (const auto& table : tableNames(source.database())) {
        createTableLike(target.database(), table, describeTable(source.database(), table));
    }
    target->execute("CREATE UNIQUE INDEX codes_code ON codes (code);");

    const MoveRunRecord run = moveAllTables(source.database(), target.database());
    const std::string feedback = describeRun(run);

    EXPECT_EQ(run.escaped, "") << feedback;
    expectOddValuesCopied(source.database(), target.database(), run);

    const auto* result = resultFor(run, "codes");
    ASSERT_NE(result, nullptr) << feedback;
    EXPECT_EQ(result->text, "codes Append Error! Records: 4");
    EXPECT_FALSE(result->ticked);
    // The refusal, then the verification's finding of the row it cost.
    ASSERT_EQ(run.view.memo.size(), 2U) << feedback;
    EXPECT_EQ(run.view.memo[1], "Table: codes row id=2: missing in the target");
    // The memo names the refused row by its key.
    const std::string prefix = "Table: codes row id=2: ";
    ASSERT_EQ(run.view.memo[0].rfind(prefix, 0), 0U) << feedback;
    const std::string refusal = run.view.memo[0].substr(prefix.size());
    EXPECT_NE(refusal, "");
    EXPECT_EQ(std::count(run.view.messages.begin(), run.view.messages.end(), refusal), 1)
        << feedback;
    EXPECT_EQ(target->query("SELECT id, code, label FROM codes ORDER BY id;"),
              (std::vector<std::string>{"1|A|first", "3|B|after", "4|C|last"}))
        << feedback;
}

INSTANTIATE_TEST_SUITE_P(, OddValuesMoveTest, ::testing::ValuesIn(copyPairs()),
                         [](const auto& pairInfo) { return pairName(pairInfo.param); });

} // namespace
