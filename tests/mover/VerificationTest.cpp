#include "MoverRun.h"
#include "tests/support/ScratchDatabase.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

using Engine = TestDatabase::Engine;

// 300 rows of (id, amount) with amount id + 0.125, on each engine.
std::string pricesRows(Engine engine, const std::string& table) {
    if (engine == Engine::PostgreSQL) {
        return "INSERT INTO " + table + " SELECT i, i + 0.125 FROM generate_series(1, 300) i;";
    }
    const std::string numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) ";
    return engine == Engine::SQLite
               ? numbers + "INSERT INTO " + table + " SELECT i, i + 0.125 FROM n;"
               : "INSERT INTO " + table + " " + numbers + "SELECT i, i + 0.125 FROM n;";
}

// A copy whose target changes what arrives, or cannot hold it: what the
// verification must find.
struct VerifyCase {
    std::string name;
    Engine source;
    Engine target;
    std::string sourceSql;
    std::string targetSql;
    std::string table;
    // The result line and the verification's message line.
    std::string result;
    std::string verified;
    // Memo lines that must be there, and the last one (none when empty).
    std::vector<std::string> memo;
    std::string lastMemo;
    // Run on the target through its client once the rows are copied.
    std::string change = {};
    // In front of the target's connection string.
    std::string targetOptions = {};
    // The run's one message on a side read through the driver.
    std::string fallback = {};
};

void PrintTo(const VerifyCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string roundingTrigger =
    "CREATE FUNCTION round_amount() RETURNS trigger AS $$ BEGIN NEW.amount := round(NEW.amount, "
    "1); RETURN NEW; END $$ LANGUAGE plpgsql;"
    "CREATE TRIGGER rounding BEFORE INSERT ON prices FOR EACH ROW EXECUTE FUNCTION "
    "round_amount();";

const std::string extraRowTrigger =
    "CREATE FUNCTION add_row() RETURNS trigger AS $$ BEGIN IF NEW.id = 5 THEN INSERT INTO prices "
    "VALUES (1005, 0); END IF; RETURN NEW; END $$ LANGUAGE plpgsql;"
    "CREATE TRIGGER adding AFTER INSERT ON prices FOR EACH ROW EXECUTE FUNCTION add_row();";

// 300 rows of (id, v) with v of sourceType from value, copied and then
// changed behind the copy's back in a way its driver does not show.
VerifyCase changed(std::string name, Engine source, Engine target, const std::string& sourceType,
                   const std::string& value, std::string change, std::string lastMemo,
                   std::string targetSql = {}, std::string options = {}) {
    const std::string table =
        "CREATE TABLE changes (id INTEGER PRIMARY KEY, v " + sourceType + ");";
    const std::string rows =
        source == Engine::PostgreSQL ? " FROM generate_series(1, 300) i;" : " FROM n;";
    const std::string numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) ";
    const std::string insert = source == Engine::MariaDB  ? "INSERT INTO changes " + numbers
                               : source == Engine::SQLite ? numbers + "INSERT INTO changes "
                                                          : "INSERT INTO changes ";
    const bool allRows = change.empty();
    return {std::move(name),
            source,
            target,
            table + insert + "SELECT i, " + value + rows,
            std::move(targetSql),
            "changes",
            "changes Verify Error! Records: 300 [ ]",
            allRows ? "Verified Target Data: 0 of 300 rows identical"
                    : "Verified Target Data: 299 of 300 rows identical",
            {},
            std::move(lastMemo),
            std::move(change),
            std::move(options)};
}

// A copy that arrives whole, with no message.
VerifyCase arrivesTicked(VerifyCase c) {
    c.result = c.table + "  Records: 300 [x]";
    c.verified = "Verified Target Data: 300 of 300 rows identical";
    return c;
}

// 300 rows into a target that cannot take row 7's value as it is: the copy
// reports it, and the verification finds that row.
VerifyCase rowSevenReported(std::string name, Engine source, Engine target, std::string table,
                            std::string sourceSql, std::string targetSql, const std::string& report,
                            std::string lastMemo) {
    std::vector<std::string> memo{"Table: " + table + " row id=7: " + report};
    std::string result = table + " Append Error! Records: 300 [ ]";
    return {std::move(name),
            source,
            target,
            std::move(sourceSql),
            std::move(targetSql),
            std::move(table),
            std::move(result),
            "Verified Target Data: 299 of 300 rows identical",
            std::move(memo),
            std::move(lastMemo)};
}

std::vector<VerifyCase> cases() {
    return {
        changed(
            "SQLiteStorageClass", Engine::SQLite, Engine::SQLite, "BLOB",
            "CAST('v' || (1000 + i) AS BLOB)",
            "UPDATE changes SET v = CAST(v AS TEXT) WHERE id = 7",
            "Table: changes row id=7, column v: source 0x7631303037 (blob), target 'v1007' (text)"),
        changed("NulInSQLiteText", Engine::PostgreSQL, Engine::SQLite, "TEXT", "'v' || i",
                "UPDATE changes SET v = v || char(0) || 'x' WHERE id = 7",
                "Table: changes row id=7, column v: source 'v7', target 'v7\\x00x'"),
        changed("PostgreSQLDateMovedToBC", Engine::MariaDB, Engine::PostgreSQL, "DATE",
                "'2024-01-15'", "UPDATE changes SET v = '2024-01-15 BC' WHERE id = 7",
                "Table: changes row id=7, column v: source '2024-01-15', target '2024-01-15 BC'"),
        changed("PostgreSQLTimestampToInfinity", Engine::PostgreSQL, Engine::PostgreSQL,
                "TIMESTAMP", "'9999-12-31 23:59:59'",
                "UPDATE changes SET v = 'infinity' WHERE id = 7",
                "Table: changes row id=7, column v: source '9999-12-31 23:59:59.000000', target "
                "'infinity'"),
        changed("MariaDBDateWithZeroMonth", Engine::PostgreSQL, Engine::MariaDB, "DATE",
                "'2023-12-15'", "UPDATE changes SET v = '2024-00-15' WHERE id = 7",
                "Table: changes row id=7, column v: source '2023-12-15', target '2024-00-15'"),
        // The copy's session runs in UTC whatever the connection set first.
        arrivesTicked(changed("MariaDBTimestampInAnotherZoneArrivesUnshifted", Engine::PostgreSQL,
                              Engine::MariaDB, "TIMESTAMPTZ",
                              "TIMESTAMPTZ '2024-01-01 12:00:00+00'", "", "",
                              "CREATE TABLE changes (id INTEGER PRIMARY KEY, v TIMESTAMP(6) NULL);",
                              "INITSTMT=SET time_zone='+05:45';")),
        // -2^63 is a double exactly.
        arrivesTicked(
            changed("SmallestBigintIntoADouble", Engine::PostgreSQL, Engine::PostgreSQL, "BIGINT",
                    "CASE i % 2 WHEN 0 THEN -9223372036854775808 ELSE i END", "", "",
                    "CREATE TABLE changes (id INTEGER PRIMARY KEY, v DOUBLE PRECISION);")),
        {"SQLiteInMemoryReadThroughTheDriver",
         Engine::SQLite,
         Engine::SQLite,
         "CREATE TABLE more (id INTEGER PRIMARY KEY, amount REAL);" +
             pricesRows(Engine::SQLite, "more") +
             "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount DECIMAL(10,3));" +
             pricesRows(Engine::SQLite, "prices"),
         "",
         "prices",
         "prices  Records: 300 [x]",
         "Verified Target Data: 300 of 300 rows identical (target read through the driver)",
         {},
         "",
         "",
         "Database=:memory:;",
         "Verify reads the target through the driver: the SQLite database is not a file"},
        {"TriggerRoundsEveryValue",
         Engine::SQLite,
         Engine::PostgreSQL,
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount DECIMAL(10,3));" +
             pricesRows(Engine::SQLite, "prices"),
         "CREATE TABLE prices (id BIGINT PRIMARY KEY, amount NUMERIC(10,3));" + roundingTrigger,
         "prices",
         "prices Verify Error! Records: 300 [ ]",
         "Verified Target Data: 0 of 300 rows identical",
         {"Table: prices row id=1, column amount: source 1.125, target 1.1"},
         "Table: prices and 280 more differences"},
        {"TriggerAddsARow",
         Engine::PostgreSQL,
         Engine::PostgreSQL,
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount NUMERIC(10,3));" +
             pricesRows(Engine::PostgreSQL, "prices"),
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount NUMERIC(10,3));" + extraRowTrigger,
         "prices",
         "prices Verify Error! Records: 300 [ ]",
         "Verified Target Data: 300 of 300 rows identical",
         {"Table: prices row id=1005: in the target only"},
         "Table: prices row id=1005: in the target only"},
        {"NarrowerColumn",
         Engine::PostgreSQL,
         Engine::MariaDB,
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount NUMERIC(10,3));" +
             pricesRows(Engine::PostgreSQL, "prices"),
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount DECIMAL(10,2));",
         "prices",
         "prices Append Error! Records: 300 [ ]",
         "Verified Target Data: 0 of 300 rows identical",
         {"Table: prices row id=1: Value for field 'amount' rounded to 2 decimal places",
          "Table: prices row id=2, column amount: source 2.125, target 2.13"},
         "Table: prices and 280 more differences"},
        {"SQLiteKeepsFifteenDigits",
         Engine::PostgreSQL,
         Engine::SQLite,
         "CREATE TABLE long_values (id INTEGER PRIMARY KEY, amount NUMERIC(30,20));"
         "INSERT INTO long_values SELECT i, 1.12345678901234567891 + i FROM generate_series(1, "
         "300) i;",
         "CREATE TABLE long_values (id INTEGER PRIMARY KEY, amount DECIMAL(30,20));",
         "long_values",
         "long_values Append Error! Records: 300 [ ]",
         "Verified Target Data: 0 of 300 rows identical",
         {"Table: long_values row id=1: Value for field 'amount' rounded to double precision",
          "Table: long_values row id=1, column amount: source 2.12345678901234567891, target "
          "2.1234567890123457"},
         "Table: long_values and 280 more differences"},
        {"SQLiteViewAsTargetIsLeftAsItWas",
         Engine::PostgreSQL,
         Engine::SQLite,
         "CREATE TABLE prices (id INTEGER PRIMARY KEY, amount NUMERIC(10,3));" +
             pricesRows(Engine::PostgreSQL, "prices"),
         "CREATE TABLE base (id INTEGER PRIMARY KEY, amount REAL);"
         "CREATE VIEW prices AS SELECT * FROM base;",
         "prices",
         "prices Target Table Open Error!! Records: 300 [ ]",
         "no verification line",
         {},
         "Table: prices [SQLite]cannot modify prices because it is a view (1); the target table is "
         "left as it was"},
        rowSevenReported(
            "MariaDBZeroDateReportedElsewhere", Engine::MariaDB, Engine::PostgreSQL, "dates",
            "CREATE TABLE dates (id INTEGER PRIMARY KEY, d DATE); INSERT INTO dates SELECT seq, "
            "IF(seq = 7, '2024-00-15', DATE '2024-01-01' + INTERVAL seq DAY) FROM seq_1_to_300;",
            "", "Value for field 'd' is '2024-00-15', which the database cannot hold: sent as NULL",
            "Table: dates row id=7, column d: source '2024-00-15', target NULL"),
        rowSevenReported(
            "PostgreSQLYearBeyondMariaDB", Engine::PostgreSQL, Engine::MariaDB, "dates",
            "CREATE TABLE dates (id INTEGER PRIMARY KEY, d DATE); INSERT INTO dates SELECT i, "
            "CASE i WHEN 7 THEN DATE '10000-01-01' ELSE DATE '2024-01-01' + i END FROM "
            "generate_series(1, 300) i;",
            "",
            "Value for field 'd' is '10000-01-01', which the database cannot hold: sent as NULL",
            "Table: dates row id=7, column d: source '10000-01-01', target NULL"),
        rowSevenReported(
            "MariaDBTimestampBefore1970", Engine::PostgreSQL, Engine::MariaDB, "stamps",
            "CREATE TABLE stamps (id INTEGER PRIMARY KEY, v TIMESTAMP); INSERT INTO stamps SELECT "
            "i, TIMESTAMP '2024-01-01 12:00:00' - CASE i WHEN 7 THEN interval '60 years' ELSE i * "
            "interval '1 hour' END FROM generate_series(1, 300) i;",
            "CREATE TABLE stamps (id INTEGER PRIMARY KEY, v TIMESTAMP(6) NULL);",
            "Value for field 'v' is '1964-01-01 12:00:00', which the database cannot hold: sent "
            "as NULL",
            "Table: stamps row id=7, column v: source '1964-01-01 12:00:00.000000', target NULL"),
        rowSevenReported(
            "LabelTheEnumLacks", Engine::MariaDB, Engine::MariaDB, "labels",
            "CREATE TABLE labels (id INTEGER PRIMARY KEY, e VARCHAR(4)); INSERT INTO labels "
            "SELECT seq, IF(seq = 7, 'abc', 'a') FROM seq_1_to_300;",
            "CREATE TABLE labels (id INTEGER PRIMARY KEY, e ENUM('a', 'b'));",
            "Data truncated for column 'e' at row 1",
            "Table: labels row id=7: missing in the target"),
        rowSevenReported(
            "PostgreSQLBCDateElsewhere", Engine::PostgreSQL, Engine::SQLite, "dates",
            "CREATE TABLE dates (id INTEGER PRIMARY KEY, d DATE); INSERT INTO dates SELECT i, "
            "CASE i WHEN 7 THEN DATE '0044-03-15 BC' ELSE DATE '2024-01-01' + i END FROM "
            "generate_series(1, 300) i;",
            "",
            "Value for field 'D' is '0044-03-15 BC', which the database cannot hold: sent as NULL",
            "Table: dates row id=7, column d: source '0044-03-15 BC', target NULL"),
        rowSevenReported(
            "BlanksIntoFixedLengthColumn", Engine::PostgreSQL, Engine::MariaDB, "names",
            "CREATE TABLE names (id INTEGER PRIMARY KEY, v VARCHAR(10)); INSERT INTO names SELECT "
            "i, CASE i WHEN 7 THEN 'v7 ' ELSE 'v' || i END FROM generate_series(1, 300) i;",
            "CREATE TABLE names (id INTEGER PRIMARY KEY, v CHAR(10));",
            "Value for field 'v' ends in blanks, which its fixed-length column does not keep as "
            "they are",
            "Table: names row id=7, column v: source 'v7 ', target 'v7'"),
        rowSevenReported("ValueBeyondMaxAllowedPacketRefused", Engine::SQLite, Engine::MariaDB,
                         "blobs",
                         "CREATE TABLE blobs (id INTEGER PRIMARY KEY, b BLOB); WITH RECURSIVE n(i) "
                         "AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) INSERT INTO "
                         "blobs SELECT i, IIF(i = 7, zeroblob(16777216), randomblob(i)) FROM n;",
                         "CREATE TABLE blobs (id INTEGER PRIMARY KEY, b LONGBLOB);",
                         "Value for field 'b' (16777216 bytes) does not fit the server's "
                         "max_allowed_packet (16777216 bytes): the row is not sent",
                         "Table: blobs row id=7: missing in the target"),
        rowSevenReported(
            "ScaledDoubleColumn", Engine::PostgreSQL, Engine::MariaDB, "scaled",
            "CREATE TABLE scaled (id INTEGER PRIMARY KEY, v DOUBLE PRECISION); INSERT INTO scaled "
            "SELECT i, CASE i WHEN 7 THEN 1.23456 ELSE i / 4.0 END FROM generate_series(1, 300) i;",
            "CREATE TABLE scaled (id INTEGER PRIMARY KEY, v DOUBLE(12,4));",
            "Value for field 'v' rounded to 4 decimal places",
            "Table: scaled row id=7, column v: source 1.23456, target 1.2346"),
        {"ViewWithoutAKeyChangedByATrigger",
         Engine::SQLite,
         Engine::MariaDB,
         "CREATE TABLE base (id INTEGER PRIMARY KEY, v VARCHAR(20));"
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
         "INSERT INTO base SELECT i, 'v' || i FROM n;"
         "CREATE VIEW summary AS SELECT v FROM base;",
         "CREATE TABLE summary (v VARCHAR(20));"
         "CREATE TRIGGER changing BEFORE INSERT ON summary FOR EACH ROW "
         "SET NEW.v = IF(NEW.v = 'v7', 'changed', NEW.v);",
         "summary",
         "summary Verify Error! Records: 300 [ ]",
         "Verified Target Data: 299 of 300 rows identical",
         {"Table: summary 1 source row not found in the target"},
         "Table: summary 1 target row not found in the source"},
    };
}

std::string resultLine(const MoveRunRecord& run, const std::string& table) {
    for (const auto& line : run.view.results) {
        if (line.text.rfind(table + " ", 0) == 0) {
            return line.text + (line.ticked ? " [x]" : " [ ]");
        }
    }
    return "no result line";
}

// The message line of the verification that follows the table's preparation.
std::string verifiedLine(const MoveRunRecord& run, const std::string& table) {
    bool inTable = false;
    for (const auto& message : run.view.messages) {
        inTable = message == "Preparing Move Table:" + table ||
                  (inTable && message.rfind("Preparing", 0) != 0);
        if (inTable && message.rfind("Verified Target Data:", 0) == 0) {
            return message;
        }
    }
    return "no verification line";
}

class VerificationTest : public ::testing::TestWithParam<VerifyCase> {};

TEST_P(VerificationTest, FindsWhatTheTargetChanged) {
    const VerifyCase& c = GetParam();
    const ScratchDatabase source = ScratchDatabase::empty(c.source);
    const ScratchDatabase target = ScratchDatabase::empty(c.target);
    source->execute(c.sourceSql);
    target->execute(c.targetSql);

    std::string change = c.change;
    const MoveRunRecord run =
        moveAllTables(source.database(), target.database().withOptions(c.targetOptions),
                      [&](RecordingMoveView& view) {
                          if (!change.empty() && !view.messages.empty() &&
                              view.messages.back() == "End Move Source Data to Target") {
                              target->execute(std::exchange(change, {}));
                          }
                      });
    const std::string feedback = describeRun(run);

    EXPECT_EQ(run.escaped, "") << feedback;
    EXPECT_EQ(resultLine(run, c.table), c.result) << feedback;
    EXPECT_EQ(verifiedLine(run, c.table), c.verified) << feedback;
    // Without the driver's and server's tags ("[ma-3.1.15][10.11.19-MariaDB]").
    const auto untagged = [](std::string line) {
        static const std::regex tag(R"(\[[^\] ]+\])");
        return std::regex_replace(line, tag, "");
    };
    for (const auto& line : c.memo) {
        EXPECT_NE(std::find_if(run.view.memo.begin(), run.view.memo.end(),
                               [&](const std::string& said) { return untagged(said) == line; }),
                  run.view.memo.end())
            << line << "\n"
            << feedback;
    }
    EXPECT_EQ(run.view.memo.empty() ? "" : run.view.memo.back(), c.lastMemo) << feedback;
    const auto fallbacks =
        std::count_if(run.view.messages.begin(), run.view.messages.end(),
                      [](const auto& line) { return line.rfind("Verify reads", 0) == 0; });
    EXPECT_EQ(fallbacks, c.fallback.empty() ? 0 : 1) << feedback;
    EXPECT_EQ(std::count(run.view.messages.begin(), run.view.messages.end(), c.fallback),
              c.fallback.empty() ? 0 : 1)
        << feedback;
}

INSTANTIATE_TEST_SUITE_P(, VerificationTest, ::testing::ValuesIn(cases()),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

// Stop during the verification ends the run as Stop during the copy does.
TEST(VerificationStop, EndsTheRunWithoutAResultLine_sqlite) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::SQLite);
    const ScratchDatabase target = ScratchDatabase::empty(Engine::SQLite);
    source->execute("CREATE TABLE prices (id INTEGER PRIMARY KEY, amount DECIMAL(10,3));" +
                    pricesRows(Engine::SQLite, "prices"));

    const MoveRunRecord run =
        moveAllTables(source.database(), target.database(), [](RecordingMoveView& view) {
            if (!view.messages.empty() &&
                view.messages.back() == "End Move Source Data to Target" && !view.stopRequested()) {
                view.answers = {true};
                view.pressStop();
            }
        });

    EXPECT_EQ(run.view.questions, (std::vector<std::string>{"Stop Export?"})) << describeRun(run);
    EXPECT_EQ(run.view.messages.back(), "Move terminated by user !!");
    EXPECT_TRUE(run.view.results.empty());
}

} // namespace
