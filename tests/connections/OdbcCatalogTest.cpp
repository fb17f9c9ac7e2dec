#include "dbaccess/odbc/OdbcCatalog.h"

#include "TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(OdbcCatalog, ListsTheInstalledDrivers) {
    const std::vector<std::string> drivers = odbcDriverNames();
    for (const char* expected : {"SQLite3", "PostgreSQL Unicode", "MariaDB Unicode", "FreeTDS"}) {
        EXPECT_NE(std::find(drivers.begin(), drivers.end(), expected), drivers.end()) << expected;
    }
}

TEST(OdbcCatalog, ListsUserDataSourcesWithTheirDrivers) {
    const std::vector<OdbcDataSource> sources = odbcDataSources();
    const auto driverOf = [&sources](const std::string& name) -> std::string {
        for (const auto& source : sources) {
            if (source.name == name) {
                return source.driver;
            }
        }
        return "(absent)";
    };
    EXPECT_EQ(driverOf("VelbrookShop"), "SQLite3");
    EXPECT_EQ(driverOf("VelbrookOrders"), "PostgreSQL Unicode");
}

} // namespace
