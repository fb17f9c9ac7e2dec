#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/odbc/StatementTrace.h"
#include "dbaccess/values/Exceptions.h"
#include "tests/support/DatabaseTest.h"

#include <string>
#include <vector>

namespace {

// Tables of more rows than a block holds are read a block at a time.
class TableStreamTest : public DatabaseTest {
protected:
    static constexpr int rows = 1300;

    void SetUp() override {
        DatabaseTest::SetUp();
        big = tableName("big");
        database.dropTable(big);
        std::string sql = "CREATE TABLE " + big + " (n INTEGER PRIMARY KEY, t VARCHAR(20));";
        for (int first = 1; first <= rows; first += 100) {
            sql += "INSERT INTO " + big + " (n, t) VALUES ";
            for (int n = first; n < first + 100; ++n) {
                sql += (n == first ? "" : ",") + std::string("(") + std::to_string(n) + ", 'row " +
                       std::to_string(n) + "')";
            }
            sql += ";";
        }
        database.execute(sql);
        table.SetTableName(big);
    }
    void TearDown() override {
        table.Close();
        database.dropTable(big);
    }

    // The n of every row from the current one to the end.
    std::vector<int> readToEnd() {
        std::vector<int> seen;
        for (; !table.AtEnd(); table.Advance()) {
            seen.push_back(table.RequireField("n").AsInteger());
        }
        return seen;
    }

    static std::vector<int> numbers(int first, int last) {
        std::vector<int> values;
        for (int n = first; n <= last; ++n) {
            values.push_back(n);
        }
        return values;
    }

    std::string big;
    TADOTable table{"ADOTable1", &connection};
};

TEST_P(TableStreamTest, RecordCountIsExactAndEveryRowComesOnceInOrder) {
    table.Open();
    EXPECT_EQ(table.RecordCount(), rows);
    EXPECT_EQ(readToEnd(), numbers(1, rows));
    // Past the end the cursor stays on the last row.
    EXPECT_EQ(table.RequireField("n").AsInteger(), rows);
    EXPECT_EQ(table.RequireField("t").AsString(), "row " + std::to_string(rows));
    table.Rewind();
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(table.RequireField("n").AsInteger(), 1);
    EXPECT_EQ(readToEnd().size(), static_cast<std::size_t>(rows));
}

TEST_P(TableStreamTest, OtherStatementsOnTheConnectionMayRunBetweenTwoRows) {
    table.Open();
    for (int i = 0; i < 700; ++i) {
        table.Advance();
    }
    TADOQuery query("", &connection);
    query.SQL().Add("select count(*) as c from " + big);
    query.Open();
    EXPECT_EQ(query.Fields(0).AsInteger(), rows);
    EXPECT_EQ(readToEnd(), numbers(701, rows));
}

TEST_P(TableStreamTest, ATargetHoldingOldRowsIsEmptiedAndFilled) {
    table.Open();
    TADOQuery remove("ADOQuery1", &connection);
    remove.SQL().Add("delete from " + big);
    remove.ExecuteStatement();
    for (int n = 1; n <= 3; ++n) {
        table.Append();
        table.RequireField("n").SetValue(Variant(std::int32_t{n}));
        table.Post();
        EXPECT_EQ(table.RequireField("n").AsInteger(), n) << "the posted row is the current one";
    }
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + big + ";"), "3");
    table.Close();
    table.Open();
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(readToEnd(), numbers(1, 3));
}

RUN_ON_EVERY_DATABASE(TableStreamTest);

// A MariaDB table of 3000 rows: its key, the order the key gives, and how
// many statements of a block of keys its reading runs (none: read whole).
struct KeyedTable {
    const char* name;
    const char* columns;
    const char* values;
    const char* order;
    int blocks;
};

class MariaDBKeyOrder : public ::testing::TestWithParam<KeyedTable>, public StatementTrace {
    void statementRan(const std::string& text, std::chrono::steady_clock::duration) override {
        blocks += text.find(" LIMIT 1000") != std::string::npos ? 1 : 0;
    }
    void driverSaid(const std::string&) override {}

protected:
    int blocks = 0;
};

TEST_P(MariaDBKeyOrder, EveryRowComesOnceInKeyOrderFromOneSnapshot) {
    const KeyedTable& keyed = GetParam();
    const TestDatabase database = TestDatabase::open(TestDatabase::Engine::MariaDB);
    const std::string name = std::string("keyed_") + keyed.name;
    database.dropTable(name);
    database.execute("CREATE TABLE " + name + " (" + keyed.columns + ", v INT NOT NULL);" +
                     "INSERT INTO " + name + " SELECT " + keyed.values +
                     ", seq FROM seq_1_to_3000;");
    const auto expected = database.query("SELECT v FROM " + name + " " + keyed.order);
    TADOConnection connection;
    connection.SetConnectionString(database.connectionString());
    connection.SetStatementTrace(this);
    TADOTable table("ADOTable1", &connection);
    table.SetTableName(name);
    table.Open();
    // Rows added after the reading began are not part of it.
    database.execute("INSERT INTO " + name + " SELECT " + keyed.values +
                     ", seq FROM seq_3001_to_3002;");
    std::vector<std::string> seen;
    for (; !table.AtEnd(); table.Advance()) {
        seen.push_back(table.RequireField("v").AsString());
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(table.RecordCount(), 3000);
    EXPECT_EQ(blocks, keyed.blocks);
    table.Close();
    database.dropTable(name);
}

INSTANTIATE_TEST_SUITE_P(
    , MariaDBKeyOrder,
    ::testing::Values(
        KeyedTable{
            "composite", "a INT, b VARCHAR(9) COLLATE utf8mb4_general_ci, PRIMARY KEY (a, b)",
            "CAST(seq AS SIGNED) % 7 - 3, CONCAT(IF(seq % 2, 'K', 'k'), seq)", "ORDER BY a, b", 4},
        KeyedTable{"text", "k VARCHAR(9) COLLATE utf8mb4_unicode_ci PRIMARY KEY",
                   "CONCAT(ELT(seq % 4 + 1, 'ä', 'A', 'b', 'Z '), seq)", "ORDER BY k", 4},
        KeyedTable{"negative", "k BIGINT NOT NULL UNIQUE, a INT UNIQUE",
                   "CAST(seq AS SIGNED) * -3037000499, seq", "ORDER BY k", 4},
        KeyedTable{"bytes", "k VARBINARY(4) PRIMARY KEY",
                   "UNHEX(LPAD(HEX(seq * 2654435761 % 4294967296), 8, '0'))", "ORDER BY k", 4},
        KeyedTable{"nokey", "k INT, n INT UNIQUE", "seq % 5, seq", "", 0}),
    [](const ::testing::TestParamInfo<KeyedTable>& keyedInfo) {
        return std::string(keyedInfo.param.name);
    });

TEST(SQLiteSteps, AChangeThatBeginsWithWithIsRefusedNotSkipped) {
    const TestDatabase database = TestDatabase::open(TestDatabase::Engine::SQLite);
    database.execute("CREATE TABLE w (i INTEGER);");
    TADOConnection connection;
    connection.SetConnectionString(database.connectionString());
    TADOQuery query("", &connection);
    query.SQL().Add("WITH n(i) AS (SELECT 1) INSERT INTO w SELECT i FROM n");
    EXPECT_THROW(query.ExecuteStatement(), EOleException);
    query.SQL().Clear();
    query.SQL().Add("INSERT INTO w WITH n(i) AS (SELECT 1) SELECT i FROM n");
    query.ExecuteStatement();
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM w;"), "1");
}

} // namespace
