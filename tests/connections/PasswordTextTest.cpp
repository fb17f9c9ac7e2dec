#include "connections/PasswordText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// Every password that a connection string gives the driver is hidden in what
// the driver says; "FILE" stands for a data link file holding "Password=in-file".
class PasswordsInMessages
    : public ::testing::TestWithParam<std::tuple<const char*, const char*, const char*>> {};

TEST_P(PasswordsInMessages, AreHidden) {
    const auto [given, message, shown] = GetParam();
    const TemporaryFolder folder;
    const std::string file = folder.addFile("a.udl", "[oledb]\nDSN=x;Password=in-file\n");
    const std::string connectionString =
        given == std::string("FILE") ? "FILE NAME=" + file : std::string(given);
    EXPECT_EQ(withoutPasswords(message, connectionString), shown);
}

INSTANTIATE_TEST_SUITE_P(
    , PasswordsInMessages,
    ::testing::Values(std::tuple{"DSN=x;PWD=s3cret;", "no s3cret, s3cret.",
                                 "no ********, ********."},
                      std::tuple{"DSN=x;Pwd={se;cret}", "bad se;cret", "bad ********"},
                      std::tuple{"Extended Properties=\"PWD=inner\"", "inner?", "********?"},
                      std::tuple{"FILE", "user x, in-file", "user x, ********"}));

} // namespace
