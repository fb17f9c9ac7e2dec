#include "dbaccess/TADODataSet.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "tests/support/DatabaseTest.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

using Engine = TestDatabase::Engine;

class SchemaRowsetTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        orders = tableName("orders");
        lines = tableName("lines");
        sales = tableName("sales");
        database.execute("DROP VIEW IF EXISTS " + sales + ";");
        database.dropTable(orders);
        database.dropTable(lines);
        database.execute("CREATE TABLE " + orders +
                         " (id INTEGER NOT NULL, note VARCHAR(40), price DECIMAL(10,2) NOT NULL, "
                         "big BIGINT, PRIMARY KEY (id));"
                         "CREATE TABLE " +
                         lines +
                         " (line_no INTEGER NOT NULL, order_id INTEGER NOT NULL, qty SMALLINT, "
                         "PRIMARY KEY (order_id, line_no));"
                         "CREATE VIEW " +
                         sales + " AS SELECT id FROM " + orders + ";");
    }
    void TearDown() override {
        database.execute("DROP VIEW IF EXISTS " + sales + ";");
        database.dropTable(orders);
        database.dropTable(lines);
    }

    std::vector<std::string> column(TADODataSet& rowset, const char* name) {
        std::vector<std::string> values;
        for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
            values.push_back(rowset.RequireField(name).AsString());
        }
        return values;
    }

    std::string orders, lines, sales;
};

TEST_P(SchemaRowsetTest, TableListHasTablesAndViewsOfThisDatabaseOnly) {
    TStringList names;
    connection.ListTableNames(names, false);
    const auto has = [&names](const std::string& name) { return names.IndexOf(name) >= 0; };
    EXPECT_TRUE(has(orders));
    EXPECT_TRUE(has(lines));
    EXPECT_TRUE(has(sales));
    EXPECT_FALSE(has("user")) << "another database's tables are not listed";
    EXPECT_FALSE(has("sqlite_sequence"));
    if (database.engine() == Engine::SQLite) {
        database.execute(
            "CREATE TABLE IF NOT EXISTS counter (id INTEGER PRIMARY KEY AUTOINCREMENT);"
            "INSERT INTO counter DEFAULT VALUES;");
        TStringList withSystem;
        connection.ListTableNames(withSystem, true);
        EXPECT_GE(withSystem.IndexOf("sqlite_sequence"), 0);
        connection.ListTableNames(names, false);
        EXPECT_LT(names.IndexOf("sqlite_sequence"), 0);
    }
}

TEST_P(SchemaRowsetTest, PrimaryKeysInKeyOrder) {
    TADODataSet rowset;
    connection.OpenSchemaRowset(SchemaKind::PrimaryKeys, {Variant(), Variant(), Variant(lines)},
                                rowset);
    EXPECT_EQ(column(rowset, "column_name"), (std::vector<std::string>{"order_id", "line_no"}));
    // The same data set is reused for the next rowset.
    connection.OpenSchemaRowset(SchemaKind::PrimaryKeys, {Variant(), Variant(), Variant(orders)},
                                rowset);
    EXPECT_EQ(column(rowset, "Column_Name"), (std::vector<std::string>{"id"}));
}

TEST_P(SchemaRowsetTest, ColumnsCarryProviderTypesLengthsAndNullability) {
    TADODataSet rowset;
    connection.OpenSchemaRowset(SchemaKind::Columns,
                                {Variant(), Variant(), Variant(orders), Variant()}, rowset);
    ASSERT_EQ(rowset.RecordCount(), 4);
    std::map<std::string, std::tuple<int, std::string, bool, std::string, std::string>> columns;
    for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
        columns[lowerCase(rowset.RequireField("COLUMN_NAME").AsString())] = {
            rowset.RequireField("DATA_TYPE").AsInteger(),
            rowset.RequireField("CHARACTER_MAXIMUM_LENGTH").AsString(),
            rowset.RequireField("IS_NULLABLE").AsBoolean(),
            rowset.RequireField("NUMERIC_PRECISION").AsString(),
            rowset.RequireField("NUMERIC_SCALE").AsString()};
    }
    // SQLite's INTEGER holds 64-bit values.
    const int integerCode = database.engine() == TestDatabase::Engine::SQLite ? 20 : 3;
    EXPECT_EQ(columns["id"],
              std::make_tuple(integerCode, std::string(), false, std::string(), std::string()));
    EXPECT_EQ(columns["note"],
              std::make_tuple(129, std::string("40"), true, std::string(), std::string()));
    EXPECT_EQ(columns["price"],
              std::make_tuple(131, std::string(), false, std::string("10"), std::string("2")));
    EXPECT_EQ(std::get<0>(columns["big"]), 20);
    EXPECT_EQ(rowset.RequireField("DATA_TYPE").DataType(), ftWord);
    EXPECT_EQ(rowset.RequireField("IS_NULLABLE").DataType(), ftBoolean);
}

TEST_P(SchemaRowsetTest, TableNamesWithWildcardCharactersMatchExactly) {
    const std::string lookalike = tableName("ordersx");
    // "_" in a catalog pattern would also match this name.
    const std::string pattern = orders.substr(0, orders.size() - 1) + "_";
    database.dropTable(lookalike);
    TADODataSet rowset;
    connection.OpenSchemaRowset(SchemaKind::Columns,
                                {Variant(), Variant(), Variant(pattern), Variant()}, rowset);
    EXPECT_EQ(rowset.RecordCount(), 0);
}

RUN_ON_EVERY_DATABASE(SchemaRowsetTest);

} // namespace
