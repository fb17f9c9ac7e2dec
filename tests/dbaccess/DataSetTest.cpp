#include "dbaccess/TADOCommand.h"
#include "dbaccess/TADODataSet.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/Exceptions.h"
#include "tests/support/DatabaseTest.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <unistd.h>

namespace {

template <typename Error, typename Action> std::string messageOf(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return std::string("wrong class: ") + error.what();
    }
    return "no error";
}

class DataSetTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        orders = tableName("orders");
        database.dropTable(orders);
        database.execute(
            "CREATE TABLE " + orders +
            " (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(40), qty INTEGER DEFAULT 7);"
            "INSERT INTO " +
            orders +
            " (id, note, qty) VALUES (1, 'one', 10), (2, 'two', 20),"
            " (3, NULL, 30);");
    }
    void TearDown() override { database.dropTable(orders); }

    std::string orders;
};

TEST_P(DataSetTest, TableCursorReadsEveryRowAndNavigates) {
    TADOTable table("ADOTable1", &connection);
    table.SetTableName(orders);
    table.Open();
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.RecordCount(), 3);
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_FALSE(table.AtEnd());
    std::vector<std::string> notes;
    for (table.Rewind(); !table.AtEnd(); table.Advance()) {
        notes.push_back(table.RequireField("NOTE").AsString());
    }
    EXPECT_EQ(notes, (std::vector<std::string>{"one", "two", ""}));
    // Advance past the end stays on the last row.
    EXPECT_EQ(table.Fields(0).AsInteger(), 3);
    EXPECT_TRUE(table.Fields(1).IsNull());
    table.Rewind();
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(table.Fields(0).AsInteger(), 1);
    table.Close();
    EXPECT_EQ(table.State(), dsInactive);
    EXPECT_EQ(table.FieldCount(), 0);
}

TEST_P(DataSetTest, EmptyTableHasNoCurrentRow) {
    database.execute("DELETE FROM " + orders + ";");
    TADOTable table("ADOTable1", &connection);
    table.SetTableName(orders);
    table.Open();
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.RecordCount(), 0);
    for (int i = 0; i < table.FieldCount(); ++i) {
        EXPECT_TRUE(table.Fields(i).IsNull());
        EXPECT_EQ(table.Fields(i).AsString(), "");
        EXPECT_EQ(table.Fields(i).AsInteger(), 0);
    }
}

TEST_P(DataSetTest, FailuresOfTheLayerHaveTheirClassAndText) {
    TADOTable table("ADOTable2", &connection);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Open(); }),
              "ADOTable2: Missing TableName property");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { (void)table.RecordCount(); }),
              "ADOTable2: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Rewind(); }),
              "ADOTable2: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Advance(); }),
              "ADOTable2: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Append(); }),
              "ADOTable2: Cannot perform this operation on a closed dataset");
    table.SetTableName(orders);
    table.Open();
    table.SetTableName(orders); // the same name is no change
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.SetTableName("other"); }),
              "ADOTable2: Cannot perform this operation on an open dataset");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Post(); }),
              "ADOTable2: Dataset not in edit or insert mode");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Fields(1).SetValue(Variant("x")); }),
              "ADOTable2: Dataset not in edit or insert mode");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { (void)table.RequireField("price"); }),
              "ADOTable2: Field 'price' not found");

    TADOTable unnamed("", &connection);
    unnamed.SetTableName(orders);
    unnamed.Open();
    EXPECT_EQ(messageOf<EDatabaseError>([&] { (void)unnamed.RequireField("price"); }),
              "Field 'price' not found");

    TADOQuery query("ADOQuery1", &connection);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { query.Open(); }), "ADOQuery1: Missing SQL property");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { query.ExecuteStatement(); }),
              "ADOQuery1: Missing SQL property");
    query.SQL().Add("delete from " + orders + " where id = 99");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { query.Open(); }),
              "ADOQuery1: CommandText does not return a result set");
    EXPECT_EQ(query.State(), dsInactive);

    TADOCommand command("Command1", &connection);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { command.Execute(); }),
              "Command1: Missing CommandText property");

    query.SQL().Clear();
    query.SQL().Add("select * from " + orders);
    query.Open();
    EXPECT_EQ(messageOf<EDatabaseError>([&] { query.Append(); }),
              "ADOQuery1: Cannot modify a read-only dataset");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { query.SetMaxRecords(5); }),
              "ADOQuery1: Cannot perform this operation on an open dataset");
    query.SQL().Clear(); // a change of text closes the query
    EXPECT_EQ(query.State(), dsInactive);
}

TEST_P(DataSetTest, ProviderFailuresAreOleExceptions) {
    TADOTable table("ADOTable1", &connection);
    table.SetTableName(tableName("missing"));
    const std::string openFailure = messageOf<EOleException>([&] { table.Open(); });
    EXPECT_NE(openFailure, "no error");
    EXPECT_EQ(openFailure.rfind("wrong class", 0), std::string::npos) << openFailure;
    EXPECT_EQ(table.State(), dsInactive);

    TADOCommand command("", &connection);
    command.SetCommandText("this is not a statement");
    EXPECT_EQ(messageOf<EOleException>([&] { command.Execute(); }).rfind("wrong class", 0),
              std::string::npos);
    // Provider texts lose their trailing periods and line ends.
    const std::string text = messageOf<EOleException>([&] { command.Execute(); });
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');

    TADOConnection bad("ADOConnection1");
    bad.SetConnectionString(database.connectionString() + "Uid=nobody;Pwd=wrong;Port=1;");
    if (database.engine() != TestDatabase::Engine::SQLite) {
        EXPECT_THROW(bad.SetConnected(true), EOleException);
        EXPECT_FALSE(bad.Connected());
    }
    TADOConnection unknown("ADOConnection1");
    unknown.SetConnectionString("Provider=NoSuchProvider.1;Data Source=x");
    EXPECT_NE(
        messageOf<EOleException>([&] { unknown.SetConnected(true); }).find("NoSuchProvider.1"),
        std::string::npos);
    EXPECT_FALSE(unknown.Connected());
}

TEST_P(DataSetTest, MaxRecordsLimitsTheFetch) {
    const std::string big = tableName("big");
    database.dropTable(big);
    std::string sql = "CREATE TABLE " + big + " (n INTEGER);";
    for (int block = 0; block < 10; ++block) {
        sql += "INSERT INTO " + big + " (n) VALUES ";
        for (int i = 0; i < 100; ++i) {
            sql += (i ? "," : "") + std::string("(") + std::to_string(block * 100 + i) + ")";
        }
        sql += ";";
    }
    database.execute(sql);
    TADOQuery query("", &connection);
    query.SetMaxRecords(1);
    query.SQL().Add("select * from " + big);
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
    query.Close();
    query.SetMaxRecords(0);
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1000);
    database.dropTable(big);
}

TEST_P(DataSetTest, PostInsertsOnlyAssignedColumnsAndKeepsStates) {
    TADOTable table("ADOTable2", &connection);
    table.SetTableName(orders);
    table.Open();
    table.Append();
    EXPECT_EQ(table.State(), dsInsert);
    EXPECT_FALSE(table.Modified());
    table.RequireField("id").SetValue(Variant(std::int32_t{4}));
    EXPECT_TRUE(table.Modified());
    table.Post();
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_FALSE(table.Modified());
    // qty was never assigned: the database's default fills it.
    EXPECT_EQ(database.queryValue("SELECT qty FROM " + orders + " WHERE id = 4;"), "7");
    EXPECT_EQ(
        database.queryValue("SELECT count(*) FROM " + orders + " WHERE id = 4 AND note IS NULL;"),
        "1");

    // A pending row without changes is dropped by the next Append.
    table.Append();
    table.Append();
    table.RequireField("id").SetValue(Variant("5"));
    table.RequireField("note").SetValue(Variant("five"));
    table.Advance(); // posts the pending row first
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(database.queryValue("SELECT note FROM " + orders + " WHERE id = 5;"), "five");
    table.Append();
    table.RequireField("id").SetValue(Variant(std::int32_t{6}));
    table.Close(); // discards the pending row
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + orders + ";"), "5");
}

TEST_P(DataSetTest, RefusedPostKeepsTheRowPendingUntilClose) {
    TADOTable table("ADOTable2", &connection);
    table.SetTableName(orders);
    table.Open();
    table.Append();
    table.RequireField("id").SetValue(Variant(std::int32_t{1})); // duplicate key
    std::string first;
    try {
        table.Post();
        FAIL() << "the duplicate key was accepted";
    } catch (const EDatabaseError& error) {
        first = error.Message();
    }
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first.rfind("ADOTable2", 0), std::string::npos) << "post errors carry no name prefix";
    EXPECT_EQ(table.State(), dsInsert);
    EXPECT_TRUE(table.Modified());
    // The next Append posts the same row again and fails the same way.
    EXPECT_EQ(messageOf<EDatabaseError>([&] { table.Append(); }), first);
    EXPECT_EQ(table.State(), dsInsert);
    table.Close();
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + orders + ";"), "3");
}

// Queued rows arrive in order, each its own INSERT; a send stops at a refused
// row or where the columns change, and the next send goes on after it. Rows
// are queued while others are on their way, new columns among them.
TEST_P(DataSetTest, QueuedRowsArriveInOrderAndARefusedRowStopsOnlyItself) {
    TADOTable table("ADOTable2", &connection);
    table.SetTableName(orders);
    table.Open();
    for (int id = 10; id < 410; ++id) {
        table.Append();
        // Rows 100 and 300 of the queue repeat a key; every 50th sets the key alone.
        const int key = id == 110 || id == 310 ? 2 : id;
        table.RequireField("id").SetValue(Variant(std::int32_t{key}));
        if (id % 50 != 0) {
            table.RequireField("note").SetValue(Variant(std::string(id % 37, 'n') + "é"));
            table.RequireField("qty").SetValue(id % 3 == 0 ? Variant::null()
                                                           : Variant(std::int32_t{id}));
        }
        table.PostQueued();
        if (id % 40 == 0) {
            table.StartSend();
        }
    }
    std::vector<int> refused;
    for (std::size_t sent = 0; table.QueuedRows() > 0 || table.Sending();) {
        const std::vector<std::exception_ptr> outcomes = table.SendQueued();
        ASSERT_FALSE(outcomes.empty());
        for (std::size_t i = 0; i < outcomes.size(); ++i, ++sent) {
            if (outcomes[i] != nullptr) {
                EXPECT_EQ(i + 1, outcomes.size()) << "a send ends at its refused row";
                refused.push_back(static_cast<int>(sent) + 10);
            }
        }
    }
    EXPECT_EQ(refused, (std::vector<int>{110, 310}));
    EXPECT_EQ(table.RecordCount(), 3 + 398);
    std::vector<std::string> expected;
    for (int id = 10; id < 410; ++id) {
        if (id == 110 || id == 310) {
            continue;
        }
        const bool keyOnly = id % 50 == 0;
        const std::string note = keyOnly ? "-" : std::string(id % 37, 'n') + "é";
        const std::string qty = keyOnly ? "7" : id % 3 == 0 ? "-1" : std::to_string(id);
        expected.push_back(std::to_string(id) + "|" + note + "|" + qty);
    }
    // Each client prints NULL its own way: the query spells it.
    EXPECT_EQ(database.query("SELECT id, COALESCE(note, '-'), COALESCE(qty, -1) FROM " + orders +
                             " WHERE id >= 10 ORDER BY id;"),
              expected);
    // Rows on their way when the table closes are given up; the connection goes on.
    table.Append();
    table.RequireField("id").SetValue(Variant(std::int32_t{1000}));
    table.PostQueued();
    EXPECT_TRUE(table.StartSend());
    table.Close();
    table.Open();
    EXPECT_GE(table.RecordCount(), 3 + 398);
}

TEST_P(DataSetTest, AppendThenPostInsertsADefaultRow) {
    const std::string defaults = tableName("defaults");
    database.dropTable(defaults);
    database.execute("CREATE TABLE " + defaults +
                     " (a INTEGER DEFAULT 5, b VARCHAR(10) DEFAULT 'x');");
    TADOTable table("ADOTable2", &connection);
    table.SetTableName(defaults);
    table.Open();
    table.Append();
    table.Post();
    EXPECT_EQ(database.query("SELECT a, b FROM " + defaults + ";"),
              std::vector<std::string>{"5|x"});
    database.dropTable(defaults);
}

TEST_P(DataSetTest, ClosingTheConnectionClosesItsDataSets) {
    TADOTable table("ADOTable1", &connection);
    table.SetTableName(orders);
    table.Open();
    table.Append();
    table.RequireField("id").SetValue(Variant(std::int32_t{9}));
    connection.SetConnected(false);
    EXPECT_EQ(table.State(), dsInactive);
    EXPECT_FALSE(connection.Connected());
    // Opening reconnects by itself.
    table.Open();
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(table.RecordCount(), 3);
    // A closed connection leaves no driver log behind, whatever odbcinst.ini says.
    connection.SetConnected(false);
    // "psqlodbc_<program>_<user><pid>.log": other programs, living or gone,
    // may have left theirs under the same number.
    const std::string head =
        "psqlodbc_" + std::filesystem::read_symlink("/proc/self/exe").filename().string() + "_";
    const std::string tail = std::to_string(getpid()) + ".log";
    for (const auto& entry : std::filesystem::directory_iterator("/tmp")) {
        const std::string name = entry.path().filename().string();
        const auto at = name.size() - std::min(name.size(), tail.size());
        EXPECT_FALSE(name.rfind(head, 0) == 0 && name.compare(at, tail.size(), tail) == 0 &&
                     at > 0 && std::isdigit(static_cast<unsigned char>(name[at - 1])) == 0)
            << name;
    }
}

TEST_P(DataSetTest, GeneratedFieldNamesAndSkippedColumns) {
    TADOQuery query("", &connection);
    query.SQL().Add("select id, id, note as id_1 from " + orders);
    query.Open();
    ASSERT_EQ(query.FieldCount(), 3);
    EXPECT_EQ(query.Fields(0).FieldName(), "id");
    EXPECT_EQ(query.Fields(1).FieldName(), "id_1");
    EXPECT_EQ(query.Fields(2).FieldName(), "id_1_1");
}

TEST_P(DataSetTest, AwkwardTableNamesAreQuotedNeverRunAsSql) {
    const std::string victim = "victim_of_awkward_names";
    database.dropTable(victim);
    database.execute("CREATE TABLE " + victim + " (id INTEGER);");
    for (const std::string& name :
         {std::string("order items"), std::string("it's \"odd\""), "x;drop table " + victim}) {
        const char quote = database.engine() == TestDatabase::Engine::MariaDB ? '`' : '"';
        std::string quoted(1, quote);
        for (const char c : name) {
            quoted += c;
            if (c == quote) {
                quoted += c;
            }
        }
        quoted += quote;
        database.execute("DROP TABLE IF EXISTS " + quoted + "; CREATE TABLE " + quoted +
                         " (id INTEGER, " + database.quoted("select") + " VARCHAR(10));");
        TADOTable table("ADOTable2", &connection);
        table.SetTableName(name);
        table.Open();
        table.Append();
        table.RequireField("id").SetValue(Variant(std::int32_t{1}));
        table.RequireField("select").SetValue(Variant("reserved"));
        table.Post();
        table.Close();
        table.Open();
        EXPECT_EQ(table.RecordCount(), 1) << name;
        EXPECT_EQ(table.RequireField("select").AsString(), "reserved");
        table.Close();
        database.execute("DROP TABLE " + quoted + ";");
    }
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + victim + ";"), "0");
    database.dropTable(victim);
}

TEST_P(DataSetTest, ParameterMarkersAreReplacedOutsideQuotedText) {
    TADOQuery query("", &connection);
    query.SQL().Add("select ':name' as a, '::' as b from " + orders + " where id = 1");
    query.Open();
    EXPECT_EQ(query.Fields(0).AsString(), ":name");
    EXPECT_EQ(query.Fields(1).AsString(), "::");
    TADOQuery cast("", &connection);
    // A doubled colon reaches the database as one.
    cast.SQL().Add(database.engine() == TestDatabase::Engine::PostgreSQL
                       ? "select 5::::integer as n"
                       : "select 5 as n");
    cast.Open();
    EXPECT_EQ(cast.Fields(0).AsInteger(), 5);
}

RUN_ON_EVERY_DATABASE(DataSetTest);

TEST(SQLiteFetch, ValuesLongerThanTheirDeclaredSizeAreReadWhole) {
    const TestDatabase database = TestDatabase::open(TestDatabase::Engine::SQLite);
    const std::string text(3000, 'x');
    database.execute("CREATE TABLE t (id INTEGER, v VARCHAR(5)); INSERT INTO t VALUES (1, 'short'),"
                     " (2, '" +
                     text + "');");
    TADOConnection connection;
    connection.SetConnectionString(database.connectionString());
    TADOTable table("", &connection);
    table.SetTableName("t");
    table.Open();
    ASSERT_EQ(table.RecordCount(), 2);
    table.Advance();
    EXPECT_EQ(table.RequireField("v").AsString(), text);
}

} // namespace

namespace {

TEST(ConnectionProvider, ANewStringBringsItsOwnProviderOrNone) {
    TADOConnection connection("ADOConnection2");
    connection.SetConnectionString("Provider=SQLOLEDB;Data Source=localhost");
    EXPECT_EQ(connection.Provider(), "SQLOLEDB");
    connection.SetConnectionString("Driver={SQLite3};Database=/tmp/x.sqlite;");
    EXPECT_EQ(connection.Provider(), "");
    EXPECT_EQ(connection.ConnectionString(), "Driver={SQLite3};Database=/tmp/x.sqlite;");

    TADOConnection startUp("ADOConnection1");
    startUp.SetConnectionString("Connection");
    startUp.SetProvider("MSDASQL.1");
    EXPECT_EQ(startUp.ConnectionString(), "Provider=MSDASQL.1;Data Source=Connection");
}

} // namespace
