#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/odbc/ResultSet.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "tests/support/DatabaseTest.h"

#include <functional>

namespace {

using Engine = TestDatabase::Engine;

std::string databaseErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EDatabaseError& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return std::string("wrong class: ") + error.what();
    }
    return "no error";
}

class FieldValueTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        table = tableName("fields");
        database.dropTable(table);
        const std::string binary =
            database.engine() == Engine::PostgreSQL ? "BYTEA" : "VARBINARY(4)";
        const std::string memo = database.engine() == Engine::MariaDB ? "LONGTEXT" : "TEXT";
        database.execute("CREATE TABLE " + table +
                         " (id INTEGER PRIMARY KEY, qty SMALLINT, n INTEGER, total BIGINT, "
                         "short VARCHAR(5), price NUMERIC(9,0), wide_price NUMERIC(10,0), "
                         "note " +
                         memo + ", vb " + binary + ");");
        target.SetTableName(table);
        target.Open();
        target.Append();
    }
    void TearDown() override {
        target.Close();
        database.dropTable(table);
    }

    TField& field(const char* name) { return target.RequireField(name); }

    std::string table;
    TADOTable target{"ADOTable2", &connection};
};

TEST_P(FieldValueTest, NumericColumnsBecomeIntegerOrDecimalFields) {
    EXPECT_EQ(field("qty").DataType(), ftSmallint);
    // SQLite's INTEGER holds 64-bit values.
    EXPECT_EQ(field("n").DataType(), database.engine() == Engine::SQLite ? ftLargeint : ftInteger);
    EXPECT_EQ(field("total").DataType(), ftLargeint);
    EXPECT_EQ(field("short").DataType(), ftString);
    EXPECT_EQ(field("short").Size(), 5);
    EXPECT_EQ(field("price").DataType(), ftInteger);
    EXPECT_EQ(field("wide_price").DataType(), ftBCD);
    EXPECT_EQ(field("note").DataType(), ftMemo);
}

TEST_P(FieldValueTest, IntegerAssignmentsAreConvertedAndRangeChecked) {
    EXPECT_EQ(databaseErrorOf([&] { field("qty").SetValue(Variant(std::int32_t{40000})); }),
              "40000 is not a valid value for field 'qty'. The allowed range is -32768 to 32767");
    if (database.engine() != Engine::SQLite) {
        EXPECT_EQ(
            databaseErrorOf([&] { field("n").SetValue(Variant(std::int64_t{2147483648})); }),
            "2147483648 is not a valid value for field 'n'. The allowed range is -2147483648 to "
            "2147483647");
    }
    EXPECT_EQ(databaseErrorOf([&] { field("qty").SetValue(Variant("abc")); }),
              "Invalid value for field 'qty'");
    EXPECT_FALSE(target.Modified()) << "a failed assignment leaves the row as it was";
    // A fraction the column cannot hold is rounded, stored and reported.
    EXPECT_EQ(databaseErrorOf([&] { field("qty").SetValue(Variant(2.5)); }),
              "Value for field 'qty' rounded to an integer");
    EXPECT_EQ(field("qty").Value(), Variant(std::int32_t{3}));
    field("qty").SetValue(Variant("123"));
    EXPECT_EQ(field("qty").Value(), Variant(std::int32_t{123}));
    EXPECT_EQ(databaseErrorOf([&] { field("qty").SetValue(Variant("x")); }),
              "Invalid value for field 'qty'");
    EXPECT_EQ(field("qty").AsInteger(), 123);
}

TEST_P(FieldValueTest, LargeIntegersTakeTheirWholeRange) {
    field("id").SetValue(Variant(std::int32_t{1}));
    field("total").SetValue(Variant("9223372036854775807"));
    EXPECT_EQ(field("total").Value(), Variant(std::int64_t{9223372036854775807}));
    field("total").SetValue(Variant(std::int64_t{-9223372036854775807 - 1}));
    EXPECT_EQ(databaseErrorOf([&] { field("total").SetValue(Variant("9223372036854775808")); }),
              "Invalid value for field 'total'");
    EXPECT_EQ(databaseErrorOf([&] { field("total").SetValue(Variant(1.5)); }),
              "Invalid value for field 'total'");
    EXPECT_EQ(databaseErrorOf([&] { field("total").SetValue(Variant("abc")); }),
              "Invalid value for field 'total'");
    target.Post();
    EXPECT_EQ(database.queryValue("SELECT total FROM " + table + ";"), "-9223372036854775808");
}

TEST_P(FieldValueTest, LongTextIsCutToTheFieldSizeAndReported) {
    field("id").SetValue(Variant(std::int32_t{1}));
    EXPECT_EQ(databaseErrorOf([&] { field("short").SetValue(Variant("漢字漢字漢字漢")); }),
              "Value for field 'short' truncated to 5 characters");
    EXPECT_EQ(field("short").AsString(), "漢字漢字漢");
    target.Post();
    EXPECT_EQ(database.queryValue("SELECT short FROM " + table + ";"), "漢字漢字漢");
    // A NUL ends the text without complaint.
    target.Append();
    field("id").SetValue(Variant(std::int32_t{2}));
    field("short").SetValue(Variant(std::string("ab\0cd", 5)));
    EXPECT_EQ(field("short").AsString(), "ab");
}

TEST_P(FieldValueTest, MemoAndByteFieldsFollowTheirOwnRules) {
    field("id").SetValue(Variant(std::int32_t{1}));
    field("note").SetValue(Variant(std::string()));
    EXPECT_FALSE(field("note").IsNull()) << "empty text stays empty text in a memo";
    EXPECT_EQ(field("note").Value(), Variant(std::string()));
    if (database.engine() != Engine::PostgreSQL) {
        EXPECT_EQ(field("vb").DataType(), ftVarBytes);
        EXPECT_EQ(databaseErrorOf([&] {
                      field("vb").SetValue(Variant(Bytes{1, 2, 3, 4, 5}));
                  }),
                  "Invalid variant type or size for field 'vb'");
        EXPECT_EQ(databaseErrorOf([&] { field("vb").SetValue(Variant(std::int32_t{7})); }),
                  "Invalid variant type or size for field 'vb'");
        field("vb").SetValue(Variant(Bytes{0, 255, 0}));
    }
    target.Post();
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + table + " WHERE note = '';"), "1");
    if (database.engine() != Engine::PostgreSQL) {
        EXPECT_EQ(
            database.queryValue("SELECT " + database.hexExpression("vb") + " FROM " + table + ";"),
            "00FF00");
    }
}

TEST_P(FieldValueTest, DecimalsKeepEveryDigit) {
    const std::string decimals = tableName("decimals");
    database.dropTable(decimals);
    database.execute("CREATE TABLE " + decimals + " (v NUMERIC(20,6), w NUMERIC(12,4));");
    TADOTable cursor("ADOTable2", &connection);
    cursor.SetTableName(decimals);
    cursor.Open();
    cursor.Append();
    const std::string digits =
        database.engine() == Engine::SQLite ? "123456789.123456" : "12345678901234.123456";
    cursor.RequireField("v").SetValue(Variant(digits));
    cursor.RequireField("w").SetValue(Variant(Decimal{"-12.5"}));
    cursor.Post();
    cursor.Close();
    cursor.Open();
    EXPECT_EQ(cursor.RequireField("v").AsString(), digits);
    EXPECT_EQ(cursor.RequireField("v").Size(), 6);
    EXPECT_DOUBLE_EQ(cursor.RequireField("w").Value().toDouble(), -12.5);
    database.dropTable(decimals);
}

TEST_P(FieldValueTest, AutoNumberedKeysAreCopiedUnlessTheDatabaseRefuses) {
    const std::string counted = tableName("counted");
    database.dropTable(counted);
    switch (database.engine()) {
    case Engine::SQLite:
        database.execute("CREATE TABLE " + counted +
                         " (id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT);");
        break;
    case Engine::PostgreSQL:
        database.execute("CREATE TABLE " + counted + " (id SERIAL PRIMARY KEY, v TEXT);");
        break;
    case Engine::MariaDB:
        database.execute("CREATE TABLE " + counted +
                         " (id INTEGER AUTO_INCREMENT PRIMARY KEY, v TEXT);");
        break;
    }
    TADOTable cursor("ADOTable2", &connection);
    cursor.SetTableName(counted);
    cursor.Open();
    EXPECT_EQ(cursor.RequireField("id").DataType(),
              database.engine() == Engine::SQLite ? ftLargeint : ftInteger);
    EXPECT_FALSE(cursor.RequireField("id").ReadOnly());
    for (const std::int32_t key : {0, 41}) {
        cursor.Append();
        cursor.RequireField("id").SetValue(Variant(key));
        cursor.RequireField("v").SetValue(Variant("x"));
        cursor.Post();
    }
    EXPECT_EQ(database.query("SELECT id FROM " + counted + " ORDER BY id;"),
              (std::vector<std::string>{"0", "41"}));
    database.dropTable(counted);

    if (database.engine() == Engine::PostgreSQL) {
        database.execute("CREATE TABLE " + counted +
                         " (id INTEGER GENERATED ALWAYS AS IDENTITY PRIMARY KEY, v TEXT);");
        cursor.Close();
        cursor.Open();
        EXPECT_EQ(cursor.RequireField("id").DataType(), ftAutoInc);
        cursor.Append();
        EXPECT_EQ(
            databaseErrorOf([&] { cursor.RequireField("id").SetValue(Variant(std::int32_t{5})); }),
            "Field 'id' cannot be modified");
        cursor.RequireField("v").SetValue(Variant("y"));
        cursor.Post();
        EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + counted + ";"), "1");
        database.dropTable(counted);
    }
}

TEST_P(FieldValueTest, RepeatedColumnNamesGetACounter) {
    TADOQuery query("", &connection);
    query.SQL().Add("select 1 as n, 4 as N, 5 as n_1");
    query.Open();
    ASSERT_EQ(query.FieldCount(), 3);
    EXPECT_EQ(lowerCase(query.Fields(1).FieldName()), "n_1") << "PostgreSQL folds the alias";
    EXPECT_EQ(query.Fields(2).FieldName(), "n_1_1");
}

RUN_ON_EVERY_DATABASE(FieldValueTest);

// A data set over a result made in memory, for columns no database gives.
class MemoryDataSet : public TCustomADODataSet {
public:
    explicit MemoryDataSet(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) {}

protected:
    std::unique_ptr<ResultSet> openResult() override {
        return std::make_unique<ResultSet>(columns_);
    }

private:
    std::vector<ColumnInfo> columns_;
};

ColumnInfo column(const char* name, int providerType) {
    ColumnInfo info;
    info.name = name;
    info.providerType = providerType;
    return info;
}

TEST(FieldBuilding, UnnamedColumnsAndUnknownTypes) {
    MemoryDataSet dataSet({column("", ProviderType::Integer), column("", ProviderType::VarChar),
                           column("odd", ProviderType::UserDefined),
                           column("id", ProviderType::BigInt),
                           column("ID", ProviderType::VarWChar)});
    dataSet.Open();
    ASSERT_EQ(dataSet.FieldCount(), 4) << "the user-defined column gets no field";
    EXPECT_EQ(dataSet.Fields(0).FieldName(), "COLUMN1");
    EXPECT_EQ(dataSet.Fields(1).FieldName(), "COLUMN2");
    EXPECT_EQ(dataSet.Fields(2).FieldName(), "id");
    EXPECT_EQ(dataSet.Fields(3).FieldName(), "ID_1");
    EXPECT_EQ(dataSet.Fields(3).DataType(), ftWideString);
    EXPECT_EQ(dataSet.FindField("odd"), nullptr);
}

} // namespace
