#pragma once

#include "dbaccess/TADOConnection.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <string>

// A test that runs once on every database.
class DatabaseTest : public ::testing::TestWithParam<TestDatabase::Engine> {
protected:
    void SetUp() override {
        database = TestDatabase::open(GetParam());
        connection.SetLoginPrompt(false);
        connection.SetConnectionString(database.connectionString());
    }

    // A table name of this test's own, so tests may run side by side.
    std::string tableName(const std::string& base) const {
        std::string name =
            base + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string clean;
        for (const char c : name) {
            clean += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a')
                     : ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) ? c
                                                                          : '_';
        }
        return clean.substr(0, 60);
    }

    TestDatabase database;
    TADOConnection connection{"ADOConnection2"};
};

#define RUN_ON_EVERY_DATABASE(Suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        , Suite, ::testing::ValuesIn(allEngines()),                                                \
        [](const ::testing::TestParamInfo<TestDatabase::Engine>& engineInfo) {                     \
            return engineName(engineInfo.param);                                                   \
        })
