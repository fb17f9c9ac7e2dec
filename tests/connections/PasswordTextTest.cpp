#include "connections/PasswordText.h"

#include "TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Every password that a connection string gives the driver is hidden in what
// the driver says.
struct HiddenCase {
    const char* name;
    std::function<std::string(const TemporaryFolder&)> connectionString;
    const char* message;
    const char* shown;
};

class PasswordsInMessages : public ::testing::TestWithParam<HiddenCase> {};

TEST_P(PasswordsInMessages, AreHidden) {
    const TemporaryFolder folder;
    EXPECT_EQ(withoutPasswords(GetParam().message, GetParam().connectionString(folder)),
              GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    , PasswordsInMessages,
    ::testing::Values(
        HiddenCase{"Plain", [](auto&) { return "DSN=x;PWD=s3cret;"; }, "no s3cret, s3cret.",
                   "no ********, ********."},
        HiddenCase{"Braced", [](auto&) { return "DSN=x;Pwd={se;cret}"; }, "bad se;cret",
                   "bad ********"},
        HiddenCase{"Nested",
                   [](auto&) { return "Provider=MSDASQL.1;Extended Properties=\"PWD=inner\""; },
                   "inner?", "********?"},
        HiddenCase{"InTheDataLinkFile",
                   [](auto& folder) {
                       return "FILE NAME=" +
                              folder.addFile("a.udl", "[oledb]\nDSN=x;Password=from-file\n");
                   },
                   "user x, from-file", "user x, ********"},
        HiddenCase{"None", [](auto&) { return "DSN=x"; }, "DSN x failed", "DSN x failed"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
