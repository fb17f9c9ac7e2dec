#include "MoverRun.h"
#include "TableCheck.h"
#include "tests/support/ScratchDatabase.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using Engine = TestDatabase::Engine;

// Types that reach other databases as text or doubles stay themselves
// between two PostgreSQL databases, every value with them.
TEST(SameKindTypes, PostgreSQLTypesStayTheirOwn_postgresql_to_postgresql) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::PostgreSQL);
    const ScratchDatabase target = ScratchDatabase::empty(Engine::PostgreSQL);
    source->execute("CREATE TABLE kinds (id integer PRIMARY KEY, doc json, tags integer[], x xml, "
                    "span interval, ip inet, price money, label varchar(300));"
                    "INSERT INTO kinds SELECT i, json_build_object('n', i, 's', '😀 ' || i), "
                    "ARRAY[i, i + 1], ('<a>' || i || '</a>')::xml, i * INTERVAL '1 day 2 hours', "
                    "('10.0.' || (i % 250) || '.1/24')::inet, (i * 1.25)::money, 'Grüße ' || i "
                    "FROM generate_series(1, 300) i;"
                    "INSERT INTO kinds (id) VALUES (301);");

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    ASSERT_EQ(run.escaped, "") << describeRun(run);
    ASSERT_EQ(run.view.results.size(), 1U) << describeRun(run);
    EXPECT_EQ(run.view.results[0].text, "kinds  Records: 301");
    EXPECT_TRUE(run.view.results[0].ticked) << describeRun(run);
    std::vector<std::string> sourceTypes, targetTypes;
    for (const auto& column : describeTable(source.database(), "kinds")) {
        sourceTypes.push_back(column.name + " " + column.type);
    }
    for (const auto& column : describeTable(target.database(), "kinds")) {
        targetTypes.push_back(column.name + " " + column.type);
    }
    EXPECT_EQ(targetTypes, sourceTypes);
    const std::string everything = "SELECT id, doc::text, tags::text, x::text, span::text, "
                                   "ip::text, price::text, label FROM kinds ORDER BY id;";
    EXPECT_EQ(target->query(everything), source->query(everything));
}

// A table copied between two databases of one kind arrives as it left, read
// back through the engine's own client: every value of every row, its
// storage class on SQLite included. So do tables whose values another kind
// holds as they are.
struct ExactCase {
    const char* name;
    Engine engine;
    // Creates and fills the table t.
    const char* fill;
    // What both databases must answer alike.
    const char* check;
    // Where the copy goes when not into the same kind.
    std::optional<Engine> target = {};
};

class SameKindExact : public ::testing::TestWithParam<ExactCase> {};

TEST_P(SameKindExact, ArrivesAsItLeft) {
    const ExactCase& exact = GetParam();
    const ScratchDatabase source = ScratchDatabase::empty(exact.engine);
    const ScratchDatabase target = ScratchDatabase::empty(exact.target.value_or(exact.engine));
    source->execute(exact.fill);

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    ASSERT_EQ(run.view.results.size(), 1U) << describeRun(run);
    EXPECT_TRUE(run.view.results[0].ticked) << describeRun(run);
    EXPECT_EQ(target->query(exact.check), source->query(exact.check)) << describeRun(run);
}

#define SQLITE_ROWS(n)                                                                             \
    "WITH RECURSIVE g(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM g WHERE i < " #n ") "

INSTANTIATE_TEST_SUITE_P(
    , SameKindExact,
    ::testing::Values(
        ExactCase{
            "sqlite_storage_classes", Engine::SQLite,
            "CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT, u, r REAL, n NUMERIC, b "
            "BLOB);" SQLITE_ROWS(
                400) "INSERT INTO t SELECT i, CASE i % 5 WHEN 0 THEN x'41004200' WHEN 1 THEN 'a' "
                     "|| "
                     "char(0) || 'b' WHEN 2 THEN i WHEN 3 THEN 0.1 + i ELSE 'plain ' || i END, "
                     "CASE i % 4 "
                     "WHEN 0 THEN i WHEN 1 THEN 'text ' || i WHEN 2 THEN randomblob(i % 60) ELSE i "
                     "/ 7.0 END, "
                     "CASE i % 3 WHEN 0 THEN 'not a number' ELSE 1e308 / i END, CASE i % 3 WHEN 0 "
                     "THEN "
                     "'12.50' WHEN 1 THEN 2.5 ELSE 9007199254740993 END, CASE i % 4 WHEN 0 THEN "
                     "x'' WHEN 1 "
                     "THEN x'00' WHEN 2 THEN zeroblob(i % 97) ELSE 'b' || i END FROM g;",
            "SELECT id, typeof(v), hex(v), typeof(u), hex(u), typeof(r), printf('%!.17g', r), "
            "typeof(n), hex(n), typeof(b), hex(b) FROM t ORDER BY id;"},
        ExactCase{"sqlite_number_limits", Engine::SQLite,
                  "CREATE TABLE t (id INTEGER PRIMARY KEY, TINY TINYINT, SMALL SMALLINT, BIG "
                  "BIGINT, F FLOAT, D DOUBLE, R REAL, N NUMERIC, DEC DECIMAL(10,2), B "
                  "BOOLEAN);" SQLITE_ROWS(
                      300) "INSERT INTO t SELECT i, (i % 256) - 128 + (i % 7 = 0) * 0.5, "
                           "CASE i % 3 WHEN 0 THEN -9223372036854775807 - 1 WHEN 1 THEN "
                           "9223372036854775807 "
                           "ELSE 2.5 END, CASE i % 2 WHEN 0 THEN -9223372036854775807 - 1 ELSE i * "
                           "1e18 END, "
                           "CASE i % 3 WHEN 0 THEN -9223372036854775807 - 1 ELSE 0.1 * i END, "
                           "9200000000000000000 - i * 1024, -9223372036854775807 - 1 + i, "
                           "CASE i % 3 WHEN 0 THEN '12.345' WHEN 1 THEN 1e-320 ELSE "
                           "123456789012345678 END, "
                           "i * 0.01, i % 3 - 1 FROM g;",
                  "SELECT id, typeof(TINY), quote(TINY), typeof(SMALL), quote(SMALL), quote(BIG), "
                  "typeof(F), printf('%!.17g', F), quote(D), quote(R), typeof(N), quote(N), "
                  "quote(DEC), quote(B) FROM t ORDER BY id;"},
        ExactCase{
            "sqlite_negative_zero", Engine::SQLite,
            "CREATE TABLE t (id INTEGER PRIMARY KEY, u, b BLOB);" SQLITE_ROWS(
                300) "INSERT INTO t SELECT i, (i % 3 - 1) * 0.0, -0.0 / i FROM g;",
            "SELECT id, typeof(u), atan2(u, -1), typeof(b), atan2(b, -1) FROM t ORDER BY id;"},
        ExactCase{
            "sqlite_date_text", Engine::SQLite,
            "CREATE TABLE t (id INTEGER PRIMARY KEY, at DATETIME, d DATE, tm TIME);" SQLITE_ROWS(
                300) "INSERT INTO t SELECT i, '2024-01-01 10:00:00.' || printf('%09d', i * 3331), "
                     "CASE i % 2 "
                     "WHEN 0 THEN '2024-02-30' ELSE julianday('2024-01-01') + i END, '12:00:00 PM' "
                     "FROM g;",
            "SELECT id, typeof(at), at, typeof(d), hex(d), typeof(tm), tm FROM t ORDER BY id;"},
        ExactCase{"postgresql_money", Engine::PostgreSQL,
                  "CREATE TABLE t (id integer PRIMARY KEY, price money);"
                  "INSERT INTO t SELECT i, (i * 12345678901234.57)::numeric::money FROM "
                  "generate_series(1, 300) i; INSERT INTO t VALUES (301, '92233720368547758.07'), "
                  "(302, '-92233720368547758.08'), (303, NULL);",
                  "SELECT id, price::numeric::text FROM t ORDER BY id;"},
        ExactCase{"postgresql_money_into_mariadb", Engine::PostgreSQL,
                  "CREATE TABLE t (id integer PRIMARY KEY, price money); INSERT INTO t SELECT i, "
                  "(i * 12345678901234.57)::numeric::money FROM generate_series(1, 300) i; "
                  "INSERT INTO t VALUES (301, '92233720368547758.07'), (302, NULL);",
                  "SELECT id, COALESCE(CAST(price AS DECIMAL(19,2)), -1.25) FROM t ORDER BY id;",
                  Engine::MariaDB},
        ExactCase{"postgresql_bit_strings", Engine::PostgreSQL,
                  "CREATE TABLE t (id integer PRIMARY KEY, b bit(5), one bit(1), v varbit(9));"
                  "INSERT INTO t SELECT i, NULLIF(i % 32, 3)::bit(5), (i % 2)::bit(1), "
                  "(i % 512)::bit(9)::varbit FROM generate_series(1, 300) i;",
                  "SELECT id, b::text, one::text, v::text FROM t ORDER BY id;"},
        ExactCase{
            "postgresql_dates_beyond_the_calendar", Engine::PostgreSQL,
            "CREATE TABLE t (id integer PRIMARY KEY, d date, ts timestamp(6), tz timestamptz);"
            "INSERT INTO t SELECT i, (ARRAY[date 'infinity', '-infinity', date '0044-03-15 "
            "BC' - i, date '4713-01-01 BC' + i, date '2024-01-01' + i])[i % 5 + 1], "
            "(ARRAY[timestamp 'infinity', '-infinity', timestamp '0044-03-15 12:34:56.123456 "
            "BC' - i * interval '1 hour', '4713-01-01 00:00:00 BC', timestamp '2024-02-29 "
            "13:45:30.5' + i * interval '1 s'])[i % 5 + 1], (ARRAY[timestamptz 'infinity', "
            "'-infinity', timestamptz '0001-01-01 00:30:00+01 BC' + i * interval '1 day', "
            "'4713-01-01 00:00:00+05:45 BC', timestamptz '2024-01-01 12:00:00.000001+00' + "
            "i * interval '1 min'])[(i + 2) % 5 + 1] FROM generate_series(1, 400) i;",
            "SELECT id, d::text, ts::text, tz::text FROM t ORDER BY id;"},
        ExactCase{"mariadb_scaled_doubles", Engine::MariaDB,
                  "CREATE TABLE t (id int PRIMARY KEY, d DOUBLE(12,4), x DOUBLE);"
                  "INSERT INTO t SELECT seq, -0.0001 * seq, 1 / seq FROM seq_1_to_300;",
                  "SELECT id, d, x FROM t ORDER BY id;"},
        ExactCase{
            "mariadb_zero_dates_and_bits", Engine::MariaDB,
            "CREATE TABLE t (id int PRIMARY KEY, d DATE, dt DATETIME, f DATETIME(6), b BIT(1));"
            "INSERT INTO t SELECT seq, ELT(seq % 4 + 1, '2024-00-15', '0000-00-00', '2024-02-00', "
            "DATE '2024-01-01' + INTERVAL seq DAY), ELT(seq % 3 + 1, '2024-02-00 10:00:00', "
            "'0000-00-00 00:00:00', TIMESTAMP '2024-03-01 10:00:00' + INTERVAL seq SECOND), "
            "ELT(seq % 3 + 1, '0000-01-00 23:59:59.000001', NULL, '2024-03-01 10:00:00.000001'"
            " + INTERVAL seq MINUTE), NULLIF(seq % 3, 2) FROM seq_1_to_400;",
            "SELECT id, HEX(d), CAST(dt AS CHAR), CAST(f AS CHAR), HEX(b) FROM t ORDER BY id;"},
        ExactCase{
            "mariadb_odd_types", Engine::MariaDB,
            "CREATE TABLE t (id int PRIMARY KEY, y YEAR, e ENUM('a','ß','😀'), s SET('x','y','z'), "
            "j JSON, b BIT(10), tm TIME(6), n DECIMAL(65,30), u BIGINT UNSIGNED, m MEDIUMINT, "
            "f FLOAT, ip INET6, vb VARBINARY(20), ts TIMESTAMP(6) NULL); INSERT INTO t SELECT "
            "seq, 1901 + seq % 255, ELT(seq % 3 + 1, 'a', 'ß', '😀'), ELT(seq % 4 + 1, '', 'x', "
            "'x,z', 'x,y,z'), JSON_OBJECT('n', seq, 's', '😀'), seq % 1024, "
            "SEC_TO_TIME(seq * 9973.000001 - 1500000), CONCAT(seq, '.', REPEAT('7', 30)), "
            "18446744073709551615 - seq, CAST(seq AS SIGNED) - 8388608, seq / 7, "
            "CONCAT('::ffff:10.0.0.', seq % "
            "250), UNHEX(REPEAT(HEX(seq), 3)), FROM_UNIXTIME(seq * 6666666.25) FROM seq_1_to_300;",
            "SELECT id, y, HEX(e), s, j, HEX(b), CAST(tm AS CHAR), CAST(n AS CHAR), u, m, "
            "HEX(CAST(f AS BINARY)), CAST(ip AS CHAR), HEX(vb), CAST(ts AS CHAR) FROM t ORDER BY "
            "id;"},
        ExactCase{
            "mariadb_text_with_nul", Engine::MariaDB,
            "CREATE TABLE t (id int PRIMARY KEY, v VARCHAR(40), l VARCHAR(40) CHARACTER SET "
            "latin1, x TEXT); INSERT INTO t SELECT seq, CONCAT('a', CHAR(0), 'b', seq), "
            "CONCAT(CHAR(0), seq), IF(seq % 2, CONCAT(seq, CHAR(0)), NULL) FROM seq_1_to_300;",
            "SELECT id, HEX(v), HEX(l), HEX(x) FROM t ORDER BY id;"},
        ExactCase{"sqlite_text_keys_and_untyped_values", Engine::SQLite,
                  "CREATE TABLE t (code TEXT PRIMARY KEY, n, r, s);" SQLITE_ROWS(
                      300) "INSERT INTO t SELECT 'k' || printf('%04d', i), i * 7, i + 0.5, "
                           "CASE i % 3 WHEN 0 THEN 'x' || i ELSE i END FROM g;",
                  "SELECT code, n, r, s FROM t ORDER BY code;", Engine::MariaDB},
        ExactCase{"sqlite_untyped_values_into_postgresql", Engine::SQLite,
                  "CREATE TABLE t (id INTEGER PRIMARY KEY, n, r, s);" SQLITE_ROWS(
                      300) "INSERT INTO t SELECT i, i * 7, i + 0.5, CASE i % 3 WHEN 0 THEN 'x' "
                           "|| i ELSE i END FROM g;",
                  "SELECT id, n, r, s FROM t ORDER BY id;", Engine::PostgreSQL}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

} // namespace
