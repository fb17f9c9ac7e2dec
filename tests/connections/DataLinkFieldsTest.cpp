#include "connections/DataLinkFields.h"

#include "dbaccess/odbc/ConnectionStringRules.h"

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const DataLinkFields& f, std::ostream* out) {
    *out << (f.provider == DataLinkProvider::Odbc ? "odbc" : "sqlserver") << " driver=" << f.driver
         << " dsn=" << f.dataSource << " server=" << f.server << " port=" << f.port
         << " database=" << f.database << " user=" << f.user << " password=" << f.password
         << " other=" << f.otherOptions;
}

namespace {

struct FieldsCase {
    const char* name;
    std::string text;
    DataLinkFields fields;
    std::string built;
};

DataLinkFields odbc(std::string driver, std::string dsn, std::string server, std::string port,
                    std::string database, std::string user, std::string password,
                    std::string other = {}) {
    return {DataLinkProvider::Odbc, std::move(driver),   std::move(dsn),
            std::move(server),      std::move(port),     std::move(database),
            std::move(user),        std::move(password), std::move(other)};
}

DataLinkFields sqlServer(std::string server, std::string port, std::string database,
                         std::string user, std::string password, std::string other = {}) {
    return {DataLinkProvider::SqlServer,
            {},
            {},
            std::move(server),
            std::move(port),
            std::move(database),
            std::move(user),
            std::move(password),
            std::move(other)};
}

class DataLinkFieldsCase : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(DataLinkFieldsCase, ParsesAndBuilds) {
    const FieldsCase& c = GetParam();
    EXPECT_EQ(parseDataLinkFields(c.text), c.fields);
    EXPECT_EQ(buildConnectionString(c.fields), c.built);
    // What the dialog builds, it reads back unchanged.
    EXPECT_EQ(parseDataLinkFields(c.built), c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    , DataLinkFieldsCase,
    ::testing::Values(
        FieldsCase{"SQLite", "Driver={SQLite3};Database=/home/me/music.sqlite;",
                   odbc("SQLite3", "", "", "", "/home/me/music.sqlite", "", ""),
                   "Driver={SQLite3};Database=/home/me/music.sqlite;"},
        FieldsCase{"PostgreSQL",
                   "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=shop;"
                   "Uid=me;Pwd=secret;",
                   odbc("PostgreSQL Unicode", "", "127.0.0.1", "5432", "shop", "me", "secret"),
                   "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=shop;Uid=me;"
                   "Pwd=secret;"},
        FieldsCase{"OtherKeysKept", "DRIVER={MariaDB Unicode};SERVER=h;UID=u;PWD=p;OPTION=3;",
                   odbc("MariaDB Unicode", "", "h", "", "", "u", "p", "OPTION=3;"),
                   "Driver={MariaDB Unicode};Server=h;Uid=u;Pwd=p;OPTION=3;"},
        FieldsCase{"SourceStartUpPair", "Provider=MSDASQL.1;Data Source=Connection",
                   odbc("", "Connection", "", "", "", "", ""), "DSN=Connection;"},
        FieldsCase{"BareWordIsADataSource", "Connection",
                   odbc("", "Connection", "", "", "", "", ""), "DSN=Connection;"},
        FieldsCase{"OleDbKeysOfOdbc", "Data Source=shop;User ID=me;Password=pw;Initial Catalog=db",
                   odbc("", "shop", "", "", "db", "me", "pw"),
                   "DSN=shop;Database=db;Uid=me;Pwd=pw;"},
        FieldsCase{"BracedValuesWithSpecials", "Driver={SQLite3};Database={/a;b/c.db};Pwd={x}}y};",
                   odbc("SQLite3", "", "", "", "/a;b/c.db", "", "x}y"),
                   "Driver={SQLite3};Database={/a;b/c.db};Pwd={x}}y};"},
        FieldsCase{"SqlServer",
                   "Provider=SQLOLEDB;Data Source=dbhost,1433;Initial Catalog=shop;User ID=sa;"
                   "Password=secret",
                   sqlServer("dbhost", "1433", "shop", "sa", "secret"),
                   "Provider=SQLOLEDB;Data Source=dbhost,1433;Initial Catalog=shop;User ID=sa;"
                   "Password=secret"},
        FieldsCase{"SqlServerOtherKeys",
                   "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;"
                   "Initial Catalog=velbrook;Data Source=localhost",
                   sqlServer("localhost", "", "velbrook", "sa", "", "Persist Security Info=False;"),
                   "Provider=SQLOLEDB;Data Source=localhost;Initial Catalog=velbrook;User ID=sa;"
                   "Persist Security Info=False"},
        FieldsCase{"SqlServerQuotedPassword", "Provider=SQLOLEDB;Data Source=h;Password=\"a;b\"",
                   sqlServer("h", "", "", "", "a;b"),
                   "Provider=SQLOLEDB;Data Source=h;Password=\"a;b\""},
        FieldsCase{"UnknownProviderKept", "Provider=Other.1;Data Source=x",
                   odbc("", "x", "", "", "", "", "", "Provider=Other.1;"),
                   "DSN=x;Provider=Other.1;"},
        FieldsCase{"Empty", "", odbc("", "", "", "", "", "", ""), ""}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DataLinkFields, TheBuiltStringReachesTheDriverManagerWithItsPassword) {
    const auto built =
        buildConnectionString(odbc("PostgreSQL Unicode", "", "h", "1", "d", "u", "p;w"));
    EXPECT_EQ(toOdbcConnectionString(built),
              "Driver={PostgreSQL Unicode};Server=h;Port=1;Database=d;Uid=u;Pwd={p;w};");
    EXPECT_EQ(maskPasswords(built).find("p;w"), std::string::npos);
}

TEST(DataLinkFields, FileDatabaseDrivers) {
    EXPECT_TRUE(isFileDatabaseDriver("SQLite3"));
    EXPECT_TRUE(isFileDatabaseDriver("sqlite"));
    EXPECT_FALSE(isFileDatabaseDriver("PostgreSQL Unicode"));
    EXPECT_FALSE(isFileDatabaseDriver(""));
}

} // namespace
