#include "TypeMatrixData.h"

#include <algorithm>
#include <ostream>

using Engine = TestDatabase::Engine;

namespace {

const Canonical null = std::nullopt;

std::string repeated(const std::string& unit, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += unit;
    }
    return text;
}

// 300 characters, most of them more than one byte, some four.
const std::string fullLabel = repeated("é😀中a", 75);
// 21 000 characters of one to four bytes.
const std::string longText = repeated("Grüße 😀 中文; ", 1750);

// 70 000 bytes, NULs among them: larger than any 64 KiB buffer.
std::string largeBlob() {
    std::string bytes(70000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
    }
    return bytes;
}

bool involves(const CopyPair& pair, Engine engine) {
    return pair.source == engine || pair.target == engine;
}

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

bool isPlain(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= ' ' && c <= '~' && c != '\'' && c != '\\'; });
}

std::string quotedText(const std::string& text) {
    return "'" + text + "'";
}

std::string sqlLiteral(Family family, const Canonical& value, Engine engine) {
    if (!value) {
        return "NULL";
    }
    const std::string& text = *value;
    const bool postgresql = engine == Engine::PostgreSQL;
    switch (family) {
    case Family::Boolean:
        return postgresql ? (text == "1" ? "TRUE" : "FALSE") : text;
    case Family::Integer:
    case Family::Decimal:
        return text;
    case Family::Double:
    case Family::Single:
        // PostgreSQL reads NaN only from a string.
        return postgresql ? quotedText(text) : text;
    case Family::Text:
    case Family::FixedText:
        switch (engine) {
        case Engine::SQLite:
            return "CAST(X'" + hex(text) + "' AS TEXT)";
        case Engine::PostgreSQL:
            // Plain text is an untyped literal, which also fills interval, bit and enum columns.
            return isPlain(text) ? quotedText(text)
                                 : "convert_from('\\x" + hex(text) + "'::bytea, 'UTF8')";
        case Engine::MariaDB:
            return "CONVERT(X'" + hex(text) + "' USING utf8mb4)";
        }
        break;
    case Family::Blob:
        return postgresql ? "'\\x" + hex(text) + "'::bytea" : "X'" + hex(text) + "'";
    default:
        break;
    }
    return quotedText(text);
}

std::vector<MatrixColumn> narrowColumns(const CopyPair& pair) {
    const bool sqlite = involves(pair, Engine::SQLite);
    std::vector<MatrixColumn> columns = {
        {"flag", Family::Boolean, {"BOOLEAN", "boolean", "BOOLEAN"}, {"1", "0", "1", "0", null}},
        {"born",
         Family::Date,
         {"DATE", "date", "DATE"},
         {"0001-01-01", "2000-02-29", "9999-12-31", "1970-01-01", null, "2024-06-15",
          "1899-12-30"}},
        {"clock",
         Family::Time,
         {"TIME", "time", "TIME(6)"},
         {"00:00:00", "23:59:59.999999", "13:45:10.123456", "12:00:00", null, "00:00:00.000001",
          "06:30:00"}},
        {"stamp",
         Family::Timestamp,
         {"DATETIME", "timestamp", "DATETIME(6)"},
         {"0001-01-01 00:00:00.000001", "9999-12-31 23:59:59.999999", "2500-01-01 00:00:00.000001",
          "1000-06-15 12:00:00.123457", "2024-02-29 13:45:10.123456", "9999-12-31 23:59:59", null,
          "1899-12-30 00:00:00", "1970-01-01 00:00:00"}},
        {"small",
         Family::Integer,
         {"SMALLINT", "smallint", "SMALLINT"},
         {"-32768", "32767", "0", null, "-1"}},
        {"whole",
         Family::Integer,
         {"INTEGER", "integer", "INT"},
         {"-2147483648", "2147483647", "0", "1", null, "-7"}},
        {"big",
         Family::Integer,
         {"BIGINT", "bigint", "BIGINT"},
         {"-9223372036854775808", "9223372036854775807", "0", null, "4294967297"}},
        // SQLite's INTEGER holds 64 bits.
        {"counter",
         Family::Integer,
         {"INTEGER", "bigint", "BIGINT"},
         {"2147483648", "4294967297", "-3000000000", "1", null, "-2147483649"}},
        // SQLite keeps 15 significant digits of a decimal.
        {"amount",
         Family::Decimal,
         {"DECIMAL(38,12)", "numeric(38,12)", "DECIMAL(38,12)"},
         {sqlite ? "123456789.123456" : "12345678901234567890123456.123456789012",
          sqlite ? "-99999999999999.9" : "-99999999999999999999999999.999999999999",
          "0.000000000001", "1.5", "0", null, "-0.5"}},
        {"ratio",
         Family::Double,
         {"REAL", "double precision", "DOUBLE"},
         {"123456789.123456789", "1.7976931348623157e308", "2.2250738585072014e-308", "-0.5",
          "123456789012.1234", null, "0"}},
        // The largest and the smallest normal float and 0.1, each as the
        // double it is, which every engine reads back exactly.
        {"approx",
         Family::Single,
         {"FLOAT", "real", "FLOAT"},
         {"3.4028234663852886e38", "1.1754943508222875e-38", "0.10000000149011612", "-2.5", null}},
        {"code",
         Family::FixedText,
         {"CHAR(10)", "char(10)", "CHAR(10)"},
         {"abc", "abc   ", "", "ten chars!", "ü€😀中", null, "  lead"}},
        {"label",
         Family::Text,
         {"VARCHAR(300)", "varchar(300)", "VARCHAR(300)"},
         {"plain", "", "Grüße 😀 中文 ñ", fullLabel, null, "quote ' and \\ back", "tab\tnew\nline"}},
    };
    if (pair.source == Engine::PostgreSQL) {
        columns.push_back({"zoned",
                           Family::ZonedTimestamp,
                           {"DATETIME", "timestamptz", "DATETIME(6)"},
                           {"0001-01-01 00:00:00.000001+00", "9999-12-31 23:59:59.999999+00",
                            "2024-02-29 13:45:10.123456+00", "2024-06-30 23:30:00.5-05", null,
                            "1970-01-01 00:00:00+00"},
                           {"", "with time zone", ""}});
        columns.push_back({"anynum",
                           Family::Decimal,
                           {"NUMERIC", "numeric", "DECIMAL(65,30)"},
                           {"1.123456789012",
                            pair.target == Engine::SQLite ? "123456789012345"
                                                          : "12345678901234567890.123456789012345",
                            "-0.000000000000001", "100", null, "0"}});
        columns.push_back({"ident",
                           Family::Integer,
                           {"BIGINT", "oid", "INT UNSIGNED"},
                           {"4294967295", "0", "1", null, "2147483648"},
                           {"", "oid", ""}});
        columns.push_back({"span",
                           Family::Text,
                           {"TEXT", "interval", "VARCHAR(100)"},
                           {"-178000000 years -11 mons -2147483648 days -02:00:00.123456", "1 day",
                            "00:00:00", null, "1 year 2 mons 3 days 04:05:06.789"},
                           {"", "interval", ""}});
        // A negative scale rounds to hundreds; a scale above the precision keeps
        // only small fractions.
        columns.push_back({"coarse",
                           Family::Decimal,
                           {"DECIMAL(5,0)", "numeric(3,-2)", "DECIMAL(5,0)"},
                           {"12300", "-99900", "0", null, "100"},
                           {"", "numeric(3,-2)", ""}});
        columns.push_back({"fine",
                           Family::Decimal,
                           {"DECIMAL(5,5)", "numeric(2,5)", "DECIMAL(5,5)"},
                           {"0.00099", "-0.00012", "0", null},
                           {"", "numeric(2,5)", ""}});
        columns.push_back({"bits",
                           Family::Text,
                           {"TEXT", "bit(3)", "VARCHAR(3)"},
                           {"101", "000", "111", null},
                           {"", "bit(3)", ""}});
        columns.push_back({"mask",
                           Family::Text,
                           {"TEXT", "bit(64)", "VARCHAR(64)"},
                           {"1" + repeated("0", 62) + "1", repeated("1", 64), null},
                           {"", "bit(64)", ""}});
        columns.push_back({"mood",
                           Family::Text,
                           {"TEXT", "mood", "ENUM('sad','ok','happy')"},
                           {"ok", "sad", "happy", null},
                           {"", "mood", ""},
                           {"", "CREATE TYPE mood AS ENUM ('sad', 'ok', 'happy');", ""}});
        columns.push_back({"rating",
                           Family::Integer,
                           {"INTEGER", "rating", "INT"},
                           {"5", "1", "100", null},
                           {"", "rating", ""},
                           {"", "CREATE DOMAIN rating AS integer CHECK (VALUE > 0);", ""}});
    }
    // Types SQLite gives numeric affinity: text stays text in them.
    if (pair.source == Engine::SQLite) {
        columns.push_back({"remark",
                           Family::Text,
                           {"STRING", "text", "LONGTEXT"},
                           {"some text", "", "Grüße 😀", null, "line\nbreak"},
                           {"string", "", ""}});
        columns.push_back({"doc",
                           Family::Text,
                           {"JSON", "json", "JSON"},
                           {"{\"a\": [1, 2]}", "[]", "{}", null, "\"text\""},
                           {"json", "", ""}});
    }
    // MariaDB's unsigned integers; SQLite holds no integer above 2^63 - 1.
    if (pair.source == Engine::MariaDB) {
        const bool toSQLite = pair.target == Engine::SQLite;
        columns.push_back({"uhuge",
                           Family::Integer,
                           {"INTEGER", "numeric(20,0)", "BIGINT UNSIGNED"},
                           {toSQLite ? "9223372036854775807" : "18446744073709551615",
                            toSQLite ? "1" : "9223372036854775808", "0", null},
                           {"", "numeric", "unsigned"}});
        columns.push_back({"uword",
                           Family::Integer,
                           {"INTEGER", "bigint", "INT UNSIGNED"},
                           {"4294967295", "2147483648", "0", null, "7"},
                           {"", "bigint", "unsigned"}});
    }
    if (pair.source != Engine::SQLite) {
        columns.push_back(
            {"token",
             Family::Uuid,
             {"TEXT", "uuid", pair.source == Engine::MariaDB ? "UUID" : "CHAR(36)"},
             {"00000000-0000-0000-0000-000000000000", "ffffffff-ffff-ffff-ffff-ffffffffffff",
              "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11", null,
              // Version 8, variant 0: PostgreSQL holds it, MariaDB's UUID does not.
              pair.source == Engine::MariaDB ? "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a12"
                                             : "c70a0b2e-1f0a-8a3b-1c2d-3e4f5a6b7c8d"},
             {"", "uuid", pair.source == Engine::MariaDB ? "uuid" : "char"}});
    }
    return columns;
}

std::vector<MatrixColumn> wideColumns(const CopyPair& pair) {
    auto columns = narrowColumns(pair);
    columns.push_back(
        {"body",
         Family::Text,
         {"TEXT", "text", "LONGTEXT"},
         {longText, "", "short 😀", null, "繁體中文", "a", "line\nbreak", "  padded  "}});
    columns.push_back(
        {"data",
         Family::Blob,
         {"BLOB", "bytea", "LONGBLOB"},
         {largeBlob(), "", null, std::string("\0\xFF\0\x01\x02\0", 6), std::string(1, '\0'),
          "\xDE\xAD\xBE\xEF", "\x7F", std::string(2, '\0'), "\xFF\xFE"}});
    return columns;
}

const std::array<std::string, 3> keyTypes = {
    "INTEGER NOT NULL PRIMARY KEY", "integer NOT NULL PRIMARY KEY", "INT NOT NULL PRIMARY KEY"};

MatrixColumn limitColumn(const std::string& name, Family family,
                         const std::array<std::string, 3>& types, const std::string& value,
                         const std::string& fits) {
    return {name, family, types, {value, fits, null}};
}

const std::vector<Engine> anyEngine = {Engine::SQLite, Engine::PostgreSQL, Engine::MariaDB};
const std::vector<Engine> servers = {Engine::PostgreSQL, Engine::MariaDB};
const std::array<std::string, 3> doubles = {"REAL", "double precision", "DOUBLE"};

std::vector<LimitCase> limitCases() {
    const auto decimal20 = limitColumn("amount", Family::Decimal,
                                       {"DECIMAL(30,10)", "numeric(30,10)", "DECIMAL(30,10)"},
                                       "1234567890.1234567891", "1.5");
    return {
        // SQLite keeps 15 significant digits.
        {"decimal_digits",
         servers,
         {Engine::SQLite},
         decimal20,
         {"DECIMAL(30,10)", "", ""},
         "1234567890.12346"},
        {"decimal_digits_created", servers, {Engine::SQLite}, decimal20, {}, "1234567890.12346"},
        // MariaDB has no NaN.
        {"nan",
         {Engine::PostgreSQL},
         {Engine::MariaDB},
         limitColumn("ratio", Family::Double, doubles, "NaN", "-0.5"),
         {"", "", "DOUBLE"},
         ""},
        {"fraction_seconds",
         anyEngine,
         servers,
         limitColumn("stamp", Family::Timestamp, {"DATETIME", "timestamp", "DATETIME(6)"},
                     "2024-02-29 13:45:10.123456", "2024-02-29 13:45:10"),
         {"", "timestamp(0)", "DATETIME(0)"},
         "2024-02-29 13:45:10"},
        {"decimal_scale",
         anyEngine,
         servers,
         limitColumn("amount", Family::Decimal, {"DECIMAL(10,5)", "numeric(10,5)", "DECIMAL(10,5)"},
                     "1.23456", "1.5"),
         {"", "numeric(10,2)", "DECIMAL(10,2)"},
         "1.23"},
        {"single_target",
         anyEngine,
         servers,
         limitColumn("ratio", Family::Double, doubles, "123456789.123456789", "0.5"),
         {"", "real", "FLOAT"},
         "123456792"},
        // A double's shortest digits fit the decimal column: all of them arrive.
        {"double_into_decimal",
         {Engine::SQLite},
         anyEngine,
         limitColumn("measure", Family::Double, doubles, "123456789012.1234", "0.5"),
         {"DECIMAL(20,4)", "numeric(20,4)", "DECIMAL(20,4)"},
         "",
         false},
        // SQLite does not enforce a length: a created column holds the longest value.
        {"text_beyond_its_length",
         {Engine::SQLite},
         anyEngine,
         {"tag",
          Family::Text,
          {"VARCHAR(10)"},
          {"sixteen chars!!!", "short", null},
          {"varchar(16)", "varying(16)", "varchar(16)"}},
         {},
         "",
         false},
        // Dates beyond the calendar of the target's date-times.
        {"date_before_christ",
         {Engine::PostgreSQL},
         {Engine::SQLite, Engine::MariaDB},
         limitColumn("born", Family::Date, {"DATE", "date", "DATE"}, "0044-03-15 BC", "2024-01-01"),
         {"DATE", "", "DATE"},
         ""},
        {"timestamp_infinity",
         {Engine::PostgreSQL},
         {Engine::SQLite, Engine::MariaDB},
         limitColumn("stamp", Family::Timestamp, {"DATETIME", "timestamp", "DATETIME(6)"},
                     "-infinity", "2024-02-29 13:45:10"),
         {},
         ""},
        // A created table takes NULL after a first row with a value, and keeps its key.
        {"null_after_a_value",
         anyEngine,
         anyEngine,
         limitColumn("born", Family::Date, {"DATE", "date", "DATE"}, "2024-01-01", "1999-12-31"),
         {},
         "",
         false},
        // What another database would read otherwise is reported, not changed.
        {"duration_into_a_time_of_day",
         {Engine::MariaDB},
         {Engine::PostgreSQL},
         limitColumn("span", Family::Time, {"TIME", "time", "TIME(6)"}, "-08:03:22.5", "10:00:00"),
         {"", "time", ""},
         "NULL"},
        {"number_in_a_date_column",
         {Engine::SQLite},
         servers,
         limitColumn("born", Family::Date, {"DATE", "date", "DATE"}, "45000", "2024-01-01"),
         {},
         "NULL"},
        {"bytes_with_nul_into_text",
         {Engine::PostgreSQL},
         {Engine::PostgreSQL},
         limitColumn("data", Family::Blob, {"BLOB", "bytea", "LONGBLOB"}, std::string("A\0B", 3),
                     "AB"),
         {"", "text", ""},
         "A"},
        {"duration_created",
         {Engine::MariaDB},
         {Engine::PostgreSQL},
         limitColumn("span", Family::Time, {"TIME", "time", "TIME(6)"}, "-08:03:22.5", "100:00:00"),
         {},
         "",
         false},
        {"scaled_float",
         {Engine::MariaDB},
         anyEngine,
         limitColumn("f2", Family::Single, {"", "", "FLOAT(7,3)"}, "1234.567", "-9999.999"),
         {},
         "",
         false},
        {"unsigned_beyond_64_bits",
         {Engine::MariaDB},
         {Engine::SQLite},
         limitColumn("u", Family::Integer, {"", "", "BIGINT UNSIGNED"}, "18446744073709551615",
                     "5"),
         {},
         ""},
        // SQLite bounds no number or date by its declaration: a created
        // column holds what the values need.
        {"wider_than_declared",
         {Engine::SQLite},
         servers,
         limitColumn("n", Family::Integer, {"SMALLINT", "", ""}, "100000", "-7"),
         {},
         "",
         false},
        {"wider_decimal_than_declared",
         {Engine::SQLite},
         servers,
         limitColumn("n", Family::Decimal, {"NUMERIC(3,0)", "", ""}, "12345678901", "-7"),
         {},
         "",
         false},
        {"date_with_a_time_of_day",
         {Engine::SQLite},
         servers,
         limitColumn("d", Family::Timestamp, {"DATE", "", ""}, "2024-01-01 12:34:56", "2024-01-02"),
         {},
         "",
         false},
        // Dates, times and booleans arrive whole in columns of another kind.
        {"time_into_text",
         {Engine::PostgreSQL, Engine::MariaDB},
         anyEngine,
         limitColumn("clock", Family::Time, {"TIME", "time(6)", "TIME(6)"}, "13:45:10.5",
                     "00:00:00"),
         {"TEXT", "text", "VARCHAR(40)"},
         "",
         false},
        {"date_into_text",
         {Engine::PostgreSQL, Engine::MariaDB},
         anyEngine,
         limitColumn("born", Family::Text, {"DATE", "date", "DATE"}, "2024-02-29", "0001-01-01"),
         {"TEXT", "text", "VARCHAR(40)"},
         "",
         false},
        {"boolean_into_integer",
         {Engine::PostgreSQL},
         anyEngine,
         limitColumn("flag", Family::Boolean, {"BOOLEAN", "boolean", "BOOLEAN"}, "1", "0"),
         {"INTEGER", "bigint", "BIGINT"},
         "",
         false},
    };
}

} // namespace

const std::string& typeOn(const std::array<std::string, 3>& types, Engine engine) {
    return types[engine == Engine::SQLite ? 0 : engine == Engine::PostgreSQL ? 1 : 2];
}

MatrixTable matrixTable(Shape shape, const CopyPair& pair) {
    if (shape == Shape::Narrow) {
        return {"narrow_types", 300, narrowColumns(pair)};
    }
    return {"wide_types", 200, wideColumns(pair)};
}

std::string createStatement(const MatrixTable& table, Engine engine) {
    std::string sql;
    for (const auto& column : table.columns) {
        sql += typeOn(column.setup, engine);
    }
    sql += "CREATE TABLE " + table.name + " (id " + typeOn(keyTypes, engine);
    for (const auto& column : table.columns) {
        sql += ", " + column.name + " " + typeOn(column.types, engine);
    }
    return sql + (engine == Engine::MariaDB ? ") CHARACTER SET utf8mb4;\n" : ");\n");
}

std::string insertStatement(const MatrixTable& table, Engine engine) {
    std::string sql = "BEGIN;\n";
    for (int row = 0; row < table.rows; ++row) {
        sql += "INSERT INTO " + table.name + " VALUES (" + std::to_string(row + 1);
        for (const auto& column : table.columns) {
            const auto& value = column.values[static_cast<std::size_t>(row) % column.values.size()];
            sql += ", " + sqlLiteral(column.family, value, engine);
        }
        sql += ");\n";
    }
    return sql + "COMMIT;\n";
}

std::vector<ExactColumn> comparedColumns(const MatrixTable& table, Engine source) {
    std::vector<ExactColumn> columns;
    for (const auto& column : table.columns) {
        // A SQLite float has double precision whatever its declared type.
        const bool widened = column.family == Family::Single && source == Engine::SQLite;
        columns.push_back({column.name, widened ? Family::Double : column.family});
    }
    return columns;
}

std::vector<LimitRun> limitRuns() {
    std::vector<LimitRun> runs;
    for (const auto& limit : limitCases()) {
        for (const Engine source : limit.sources) {
            for (const Engine target : limit.targets) {
                runs.push_back({limit, {source, target}});
            }
        }
    }
    return runs;
}

std::string limitRunName(const LimitRun& run) {
    return run.limit.name + "_" + pairName(run.pair);
}

void PrintTo(const LimitRun& run, std::ostream* out) {
    *out << limitRunName(run);
}
