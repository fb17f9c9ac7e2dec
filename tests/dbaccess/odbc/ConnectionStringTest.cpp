#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const std::string& text) {
    Pairs pairs;
    for (const auto& [key, value] : parseConnectionString(text)) {
        pairs.emplace_back(key, value);
    }
    return pairs;
}

// Keys in upper case, so that the order and spelling of keys do not matter.
std::map<std::string, std::string> keyMap(const std::string& text) {
    std::map<std::string, std::string> keys;
    for (const auto& [key, value] : parseConnectionString(text)) {
        keys[upperCase(key)] = value;
    }
    return keys;
}

// Splitting OLE DB connection strings.

struct ParseCase {
    std::string text;
    Pairs pairs;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.text);
}

class ConnectionStringParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(ConnectionStringParsing, SplitsPairs) {
    EXPECT_EQ(pairsOf(GetParam().text), GetParam().pairs);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConnectionStringParsing,
    testing::Values(
        ParseCase{"Provider=MSDASQL.1;Data Source=Chinook",
                  {{"Provider", "MSDASQL.1"}, {"Data Source", "Chinook"}}},
        ParseCase{"Connection", {{"", "Connection"}}},
        ParseCase{"Provider=MSDASQL.1;Connection;",
                  {{"Provider", "MSDASQL.1"}, {"", "Connection"}}},
        ParseCase{"Password=\"a;b\";User ID=sa", {{"Password", "a;b"}, {"User ID", "sa"}}},
        ParseCase{"Password='it''s';X=1", {{"Password", "it's"}, {"X", "1"}}},
        ParseCase{"Password=\"say \"\"hi\"\"\"", {{"Password", "say \"hi\""}}},
        ParseCase{"Password='a\"b'", {{"Password", "a\"b"}}},
        ParseCase{"Driver={SQLite3 ODBC; Driver};Database=/tmp/a.db",
                  {{"Driver", "{SQLite3 ODBC; Driver}"}, {"Database", "/tmp/a.db"}}},
        ParseCase{"PWD={a}}b};UID=u", {{"PWD", "{a}}b}"}, {"UID", "u"}}},
        ParseCase{" Data Source = x ; ;User ID=u;", {{"Data Source", "x"}, {"User ID", "u"}}},
        ParseCase{"Extended Properties=\"DSN=x;UID=y\"", {{"Extended Properties", "DSN=x;UID=y"}}},
        ParseCase{"Extended Properties=DSN=x", {{"Extended Properties", "DSN=x"}}},
        ParseCase{"Password=", {{"Password", ""}}}, ParseCase{"", {}}));

TEST(ConnectionStringValue, FindsKeysIgnoringCase) {
    const std::string text = "provider=SQLOLEDB;DATA SOURCE=srv;Password=\"a;b\"";
    EXPECT_EQ(connectionStringValue(text, "Provider"), "SQLOLEDB");
    EXPECT_EQ(connectionStringValue(text, "Data Source"), "srv");
    EXPECT_EQ(connectionStringValue(text, "password"), "a;b");
    EXPECT_EQ(connectionStringValue(text, "User ID"), "");
    EXPECT_EQ(connectionStringValue("Connection", ""), "");
}

// A separate provider in front of the connection string.

struct CombineCase {
    std::string provider;
    std::string text;
    std::string expected;
};

void PrintTo(const CombineCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.text);
}

class ProviderCombination : public testing::TestWithParam<CombineCase> {};

TEST_P(ProviderCombination, Combines) {
    EXPECT_EQ(combineProvider(GetParam().provider, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ProviderCombination,
    testing::Values(CombineCase{"MSDASQL.1", "Connection",
                                "Provider=MSDASQL.1;Data Source=Connection"},
                    CombineCase{"SQLOLEDB", "Data Source=srv;User ID=sa",
                                "Provider=SQLOLEDB;Data Source=srv;User ID=sa"},
                    CombineCase{"MSDASQL.1", "Provider=SQLOLEDB;Data Source=x",
                                "Provider=SQLOLEDB;Data Source=x"},
                    CombineCase{"MSDASQL.1", "data source=x;provider=SQLOLEDB",
                                "data source=x;provider=SQLOLEDB"},
                    CombineCase{"MSDASQL.1", "FILE NAME=/tmp/a.udl", "FILE NAME=/tmp/a.udl"},
                    CombineCase{"", "Data Source=x", "Data Source=x"}, CombineCase{"", "", ""},
                    CombineCase{"MSDASQL.1", "", "Provider=MSDASQL.1"}));

TEST(ProviderCombination, KeepsQuotedValuesIntact) {
    const std::string combined = combineProvider("MSDASQL.1", "Data Source=x;Password=\"a;b\"");
    EXPECT_EQ(connectionStringValue(combined, "Password"), "a;b") << combined;
    EXPECT_EQ(connectionStringValue(combined, "Provider"), "MSDASQL.1") << combined;
    EXPECT_EQ(parseConnectionString(combined).size(), 3U) << combined;
}

// The string handed to the ODBC driver manager.

struct OdbcCase {
    std::string oledb;
    std::map<std::string, std::string> keys;
};

void PrintTo(const OdbcCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.oledb);
}

class OdbcBridge : public testing::TestWithParam<OdbcCase> {};

TEST_P(OdbcBridge, PassesKeysToTheDriverManager) {
    EXPECT_EQ(keyMap(toOdbcConnectionString(GetParam().oledb)), GetParam().keys)
        << toOdbcConnectionString(GetParam().oledb);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, OdbcBridge,
    testing::Values(OdbcCase{"Provider=MSDASQL.1;Persist Security Info=False;Data Source=Chinook",
                             {{"DSN", "Chinook"}}},
                    OdbcCase{"Provider=MSDASQL;Data Source=Chinook", {{"DSN", "Chinook"}}},
                    OdbcCase{"Data Source=Chinook;User ID=u;Password=p;Initial Catalog=db",
                             {{"DSN", "Chinook"}, {"UID", "u"}, {"PWD", "p"}, {"DATABASE", "db"}}},
                    OdbcCase{"Provider=MSDASQL.1;Driver={SQLite3};Database=/tmp/a.db",
                             {{"DRIVER", "{SQLite3}"}, {"DATABASE", "/tmp/a.db"}}},
                    OdbcCase{"Connection", {{"DSN", "Connection"}}},
                    OdbcCase{"Provider=MSDASQL.1;Connection", {{"DSN", "Connection"}}},
                    OdbcCase{"Provider=msdasql.1;Data Source=x;Password=\"a;b\"",
                             {{"DSN", "x"}, {"PWD", "{a;b}"}}},
                    OdbcCase{"Data Source=x;Password=\" padded \"",
                             {{"DSN", "x"}, {"PWD", "{ padded }"}}},
                    OdbcCase{"Provider=MSDASQL.1;Extended Properties=\"DSN=x;UID=y\"",
                             {{"DSN", "x"}, {"UID", "y"}}}));

TEST(OdbcBridge, SqlServerProviderUsesFreeTds) {
    const auto keys = keyMap(toOdbcConnectionString("Provider=SQLOLEDB.1;Data Source=dbhost,1433;"
                                                    "Initial Catalog=Sales;User ID=sa;"
                                                    "Password=secret;Persist Security Info=True"));
    EXPECT_EQ(keys.at("DRIVER"), "{FreeTDS}");
    EXPECT_EQ(keys.at("SERVER"), "dbhost");
    EXPECT_EQ(keys.at("PORT"), "1433");
    EXPECT_EQ(keys.at("DATABASE"), "Sales");
    EXPECT_EQ(keys.at("UID"), "sa");
    EXPECT_EQ(keys.at("PWD"), "secret");
    EXPECT_EQ(keys.count("DSN"), 0U);
    EXPECT_EQ(keys.count("PERSIST SECURITY INFO"), 0U);

    const auto plain = keyMap(toOdbcConnectionString("Provider=SQLOLEDB;Data Source=dbhost"));
    EXPECT_EQ(plain.at("SERVER"), "dbhost");
    EXPECT_EQ(plain.count("PORT"), 0U);
    const auto instance =
        keyMap(toOdbcConnectionString("Provider=SQLOLEDB;Data Source=dbhost\\SQLEXPRESS"));
    EXPECT_EQ(instance.at("SERVER"), "dbhost\\SQLEXPRESS");
}

TEST(OdbcBridge, StringsTooLongForTheDriverManagerAreRefusedWhole) {
    const auto before = std::distance(std::filesystem::directory_iterator("."), {});
    const std::string text = "Driver={SQLite3};Pad=" + std::string(65555, 'x') + ";Database=a.db";
    try {
        OdbcSession session(text);
        FAIL() << "no error";
    } catch (const EOleException& error) {
        EXPECT_NE(error.Message().find("bytes long; ODBC takes at most 32767"), std::string::npos)
            << error.Message();
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), before);
}

TEST(OdbcBridge, UnknownProviderRaisesWithItsName) {
    try {
        toOdbcConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb");
        FAIL() << "no error";
    } catch (const EOleException& error) {
        EXPECT_NE(error.Message().find("Microsoft.Jet.OLEDB.4.0"), std::string::npos)
            << error.Message();
    }
}

// Data link files.

class DataLinkFiles : public testing::Test {
protected:
    void SetUp() override {
        directory = std::filesystem::temp_directory_path() /
                    ("velbrook-unit-" + std::to_string(getpid()) + "-" +
                     testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string write(const std::string& name, const std::string& bytes) {
        const auto path = (directory / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // UTF-16LE with a byte-order mark, as data link files are saved.
    std::string writeUtf16(const std::string& name, const std::u16string& text) {
        std::string bytes = "\xFF\xFE";
        for (const char16_t unit : text) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        return write(name, bytes);
    }

    std::filesystem::path directory;
};

constexpr const char16_t* oledbHeader =
    u"[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n";

TEST_F(DataLinkFiles, ReadsUtf16WithByteOrderMark) {
    const auto path =
        writeUtf16("chinook.udl", oledbHeader + u"Provider=MSDASQL.1;Persist Security Info=False;"
                                                u"Data Source=数据库😀\r\n"s);
    EXPECT_EQ(readDataLinkFile(path),
              "Provider=MSDASQL.1;Persist Security Info=False;Data Source=数据库😀");
    EXPECT_EQ(keyMap(toOdbcConnectionString(DataLinkPrefix + path)),
              (std::map<std::string, std::string>{{"DSN", "数据库😀"}}));
}

TEST_F(DataLinkFiles, ReadsUtf8WithAndWithoutByteOrderMark) {
    const std::string body = "[oledb]\n; comment\nProvider=SQLOLEDB;Data Source=srv,1444\n";
    const std::string expected = "Provider=SQLOLEDB;Data Source=srv,1444";
    EXPECT_EQ(readDataLinkFile(write("bom.udl", "\xEF\xBB\xBF" + body)), expected);
    EXPECT_EQ(readDataLinkFile(write("plain.udl", body)), expected);
    const auto keys = keyMap(toOdbcConnectionString(DataLinkPrefix + write("again.udl", body)));
    EXPECT_EQ(keys.at("SERVER"), "srv");
    EXPECT_EQ(keys.at("PORT"), "1444");
}

TEST_F(DataLinkFiles, FileNameKeyIgnoresLetterCase) {
    const auto path = write("lower.udl", "[oledb]\r\nData Source=Chinook\r\n");
    EXPECT_EQ(keyMap(toOdbcConnectionString("File Name=" + path)),
              (std::map<std::string, std::string>{{"DSN", "Chinook"}}));
}

TEST_F(DataLinkFiles, MissingOrSelfReferringFilesRaise) {
    const auto missing = (directory / "missing.udl").string();
    EXPECT_THROW(readDataLinkFile(missing), EOleException);
    EXPECT_THROW(toOdbcConnectionString(DataLinkPrefix + missing), EOleException);
    const auto nested = write("nested.udl", "[oledb]\nFILE NAME=" + missing + "\n");
    EXPECT_THROW(toOdbcConnectionString(DataLinkPrefix + nested), EOleException);
    // Refused before anything is opened: a pipe would wait for a writer.
    const auto pipe = (directory / "pipe.udl").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, directory.string(), std::string("/dev/zero")}) {
        try {
            readDataLinkFile(path);
            ADD_FAILURE() << path;
        } catch (const EOleException& error) {
            EXPECT_EQ(error.Message(), "Data link file '" + path + "' is not a plain file");
        }
    }
}

// Passwords hidden for display.

class PasswordMasking : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(PasswordMasking, HidesPasswordValues) {
    EXPECT_EQ(maskPasswords(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, PasswordMasking,
    testing::Values(std::pair{"Provider=SQLOLEDB;User ID=sa;Password=secret;Data Source=x"s,
                              "Provider=SQLOLEDB;User ID=sa;Password=********;Data Source=x"s},
                    std::pair{"DSN=x;PWD=secret"s, "DSN=x;PWD=********"s},
                    std::pair{"pwd=\"se;cret\";UID=u"s, "pwd=********;UID=u"s},
                    std::pair{"PWD={se;cret};UID=u"s, "PWD=********;UID=u"s},
                    std::pair{"password=;UID=u"s, "password=********;UID=u"s},
                    std::pair{"Provider=MSDASQL.1;Data Source=x"s,
                              "Provider=MSDASQL.1;Data Source=x"s},
                    std::pair{"Connection"s, "Connection"s}));

TEST(PasswordMasking, HidesPasswordsInsideExtendedProperties) {
    const std::string masked =
        maskPasswords("Provider=MSDASQL.1;Extended Properties=\"DSN=x;UID=u;PWD=secret\"");
    EXPECT_EQ(masked.find("secret"), std::string::npos) << masked;
    EXPECT_NE(masked.find("DSN=x"), std::string::npos) << masked;
}

} // namespace
