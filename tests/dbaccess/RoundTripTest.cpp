#include "dbaccess/TADOTable.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/UnicodeText.h"
#include "tests/support/DatabaseTest.h"

#include <map>

namespace {

using Engine = TestDatabase::Engine;

const std::string chineseAndEmoji = "Grüße 漢字 😀 \"quoted\" 'single'";
const std::string wideText = "中文 emoji 🎉 Ωmega";

// SQLite keeps only 15 significant digits of a value in a decimal column.
std::string decimalFor(TestDatabase::Engine engine) {
    return engine == TestDatabase::Engine::SQLite ? "123456789.123456" : "12345678901234.123456";
}

std::string longText() {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "長い文章 " + std::to_string(i) + " ";
    }
    return text;
}

Bytes blobWithNulBytes() {
    Bytes bytes;
    for (int i = 0; i < 300; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i % 3 == 0 ? 0 : i % 256));
    }
    return bytes;
}

std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const auto byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

class RoundTripTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        table = tableName("every_type");
        database.dropTable(table);
        database.execute("CREATE TABLE " + table + " (" + columnsFor(database.engine()) + ");");
    }
    void TearDown() override { database.dropTable(table); }

    static std::string columnsFor(Engine engine) {
        switch (engine) {
        case Engine::SQLite:
            return "id INTEGER PRIMARY KEY, txt VARCHAR(100), wide NVARCHAR(50), memo TEXT, "
                   "big BIGINT, amount DECIMAL(20,6), flt DOUBLE, flag BOOLEAN, ts DATETIME, d "
                   "DATE, "
                   "bin BLOB";
        case Engine::PostgreSQL:
            return "id INTEGER PRIMARY KEY, txt VARCHAR(100), wide VARCHAR(50), memo TEXT, "
                   "big BIGINT, amount NUMERIC(20,6), flt DOUBLE PRECISION, flag BOOLEAN, "
                   "ts TIMESTAMP(6), d DATE, bin BYTEA";
        case Engine::MariaDB:
            return "id INT PRIMARY KEY, txt VARCHAR(100), wide VARCHAR(50), memo LONGTEXT, "
                   "big BIGINT, amount DECIMAL(20,6), flt DOUBLE, flag BOOLEAN, ts DATETIME(6), "
                   "d DATE, bin LONGBLOB";
        }
        return {};
    }

    void insertRows() {
        TADOTable target("ADOTable2", &connection);
        target.SetTableName(table);
        target.Open();
        auto set = [&target](const char* name, Variant value) {
            target.RequireField(name).SetValue(value);
        };
        target.Append();
        set("id", Variant(std::int32_t{1}));
        for (const char* name :
             {"txt", "wide", "memo", "big", "amount", "flt", "flag", "ts", "d", "bin"}) {
            set(name, Variant::null());
        }
        target.Append();
        set("id", Variant(std::int32_t{2}));
        set("txt", Variant(chineseAndEmoji));
        set("wide", Variant(utf8ToUtf16(wideText)));
        set("memo", Variant(longText()));
        set("big", Variant(std::int64_t{9223372036854775807}));
        set("amount", Variant(Decimal{decimalFor(database.engine())}));
        set("flt", Variant(0.1));
        set("flag", Variant(true));
        set("ts", Variant(toDateTime({2024, 2, 29, 13, 45, 10, 123456})));
        set("d", Variant(toDateTime({1999, 12, 31})));
        set("bin", Variant(blobWithNulBytes()));
        target.Append();
        set("id", Variant(std::int32_t{3}));
        set("big", Variant(std::int64_t{-9223372036854775807 - 1}));
        set("amount", Variant("-0.000001"));
        set("flag", Variant(false));
        set("ts", Variant("1900-01-01 00:00:00"));
        set("bin", Variant(Bytes{0}));
        target.Post();
    }

    std::string table;
};

TEST_P(RoundTripTest, ValuesArriveExactlyAsTheClientSeesThem) {
    insertRows();
    const auto column = [&](const std::string& expression, int id) {
        return database.queryValue("SELECT " + expression + " FROM " + table +
                                   " WHERE id = " + std::to_string(id) + ";");
    };
    EXPECT_EQ(database.queryValue("SELECT count(*) FROM " + table + ";"), "3");
    EXPECT_EQ(column("count(*)", 1), "1");
    EXPECT_EQ(
        database.queryValue("SELECT count(*) FROM " + table +
                            " WHERE id = 1 AND txt IS NULL AND wide IS NULL AND memo IS NULL"
                            " AND big IS NULL AND amount IS NULL AND flt IS NULL AND flag IS NULL"
                            " AND ts IS NULL AND d IS NULL AND bin IS NULL;"),
        "1");
    EXPECT_EQ(column("txt", 2), chineseAndEmoji);
    EXPECT_EQ(column("wide", 2), wideText);
    EXPECT_EQ(column("memo", 2), longText());
    EXPECT_EQ(column("big", 2), "9223372036854775807");
    EXPECT_EQ(column("big", 3), "-9223372036854775808");
    EXPECT_EQ(column("amount", 2), decimalFor(database.engine()));
    EXPECT_EQ(column("ts", 2).substr(0, 19), "2024-02-29 13:45:10");
    if (database.engine() != Engine::SQLite) {
        EXPECT_EQ(column("ts", 2), "2024-02-29 13:45:10.123456");
    }
    EXPECT_EQ(column("ts", 3).substr(0, 19), "1900-01-01 00:00:00");
    EXPECT_EQ(column("d", 2), "1999-12-31");
    EXPECT_EQ(column(database.hexExpression("bin"), 2), hex(blobWithNulBytes()));
    EXPECT_EQ(column(database.hexExpression("bin"), 3), "00");
    EXPECT_EQ(column(database.engine() == Engine::PostgreSQL ? "CAST(flag AS INTEGER)" : "flag", 2),
              "1");
    EXPECT_EQ(column(database.engine() == Engine::PostgreSQL ? "CAST(flag AS INTEGER)" : "flag", 3),
              "0");
}

TEST_P(RoundTripTest, ValuesReadBackThroughTheLayer) {
    insertRows();
    TADOTable source("ADOTable1", &connection);
    source.SetTableName(table);
    source.Open();
    ASSERT_EQ(source.RecordCount(), 3);
    std::map<int, std::map<std::string, Variant>> rows;
    for (source.Rewind(); !source.AtEnd(); source.Advance()) {
        auto& row = rows[source.RequireField("id").AsInteger()];
        for (int i = 0; i < source.FieldCount(); ++i) {
            row[lowerCase(source.Fields(i).FieldName())] = source.Fields(i).Value();
        }
    }
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_TRUE(rows[1]["txt"].isNull());
    EXPECT_TRUE(rows[1]["big"].isNull());
    EXPECT_EQ(rows[1]["memo"], Variant(std::string())) << "a null memo reads as empty text";
    EXPECT_EQ(rows[2]["txt"].toString(), chineseAndEmoji);
    EXPECT_EQ(rows[2]["wide"].toString(), wideText);
    EXPECT_EQ(rows[2]["memo"].toString(), longText());
    EXPECT_EQ(rows[2]["big"], Variant(std::int64_t{9223372036854775807}));
    EXPECT_EQ(rows[3]["big"], Variant(std::int64_t{-9223372036854775807 - 1}));
    EXPECT_EQ(rows[2]["amount"].toString(), decimalFor(database.engine()));
    EXPECT_EQ(rows[3]["amount"].toDecimal(), (Decimal{"-0.000001"}));
    EXPECT_DOUBLE_EQ(rows[2]["flt"].toDouble(), 0.1);
    EXPECT_EQ(rows[2]["flag"].toBoolean(), true);
    EXPECT_EQ(rows[3]["flag"].toBoolean(), false);
    EXPECT_EQ(formatDateTime(rows[2]["ts"].toDateTime()).substr(0, 19), "2024-02-29 13:45:10");
    EXPECT_EQ(formatDateTime(rows[2]["d"].toDateTime()).substr(0, 10), "1999-12-31");
    const Bytes blob = blobWithNulBytes();
    EXPECT_EQ(rows[2]["bin"].toString(), std::string(blob.begin(), blob.end()));
    EXPECT_EQ(rows[3]["bin"].toString(), std::string(1, '\0'));
}

TEST_P(RoundTripTest, FieldTypesFollowTheColumns) {
    TADOTable source("ADOTable1", &connection);
    source.SetTableName(table);
    source.Open();
    // SQLite's INTEGER holds 64-bit values.
    EXPECT_EQ(source.RequireField("id").DataType(),
              database.engine() == Engine::SQLite ? ftLargeint : ftInteger);
    EXPECT_EQ(source.RequireField("txt").DataType(), ftString);
    EXPECT_EQ(source.RequireField("txt").Size(), 100);
    EXPECT_EQ(source.RequireField("memo").DataType(), ftMemo);
    EXPECT_EQ(source.RequireField("big").DataType(), ftLargeint);
    EXPECT_EQ(source.RequireField("amount").DataType(), ftBCD);
    EXPECT_EQ(source.RequireField("amount").Size(), 6);
    EXPECT_EQ(source.RequireField("flt").DataType(), ftFloat);
    EXPECT_EQ(source.RequireField("ts").DataType(), ftDateTime);
    EXPECT_EQ(source.RequireField("d").DataType(), ftDate);
    EXPECT_EQ(source.RequireField("bin").DataType(), ftBlob);
    if (database.engine() != Engine::MariaDB) {
        // MariaDB keeps booleans as 1-byte integers.
        EXPECT_EQ(source.RequireField("flag").DataType(), ftBoolean);
    }
    for (int i = 0; i < source.FieldCount(); ++i) {
        EXPECT_FALSE(source.Fields(i).ReadOnly()) << source.Fields(i).FieldName();
    }
}

RUN_ON_EVERY_DATABASE(RoundTripTest);

} // namespace
