#include "OdbcCatalog.h"

#include "dbaccess/odbc/OdbcHandle.h"

#include <algorithm>

namespace {

OdbcHandle catalogEnvironment() {
    OdbcHandle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    checkOdbc(SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              environment);
    return environment;
}

std::string bufferText(const std::vector<SQLCHAR>& buffer, SQLSMALLINT length) {
    const auto size =
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), buffer.size() - 1);
    return {reinterpret_cast<const char*>(buffer.data()), size};
}

} // namespace

std::vector<std::string> odbcDriverNames() {
    const OdbcHandle environment = catalogEnvironment();
    std::vector<std::string> names;
    std::vector<SQLCHAR> description(1024);
    std::vector<SQLCHAR> attributes(2048);
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
        SQLSMALLINT descriptionLength = 0;
        SQLSMALLINT attributesLength = 0;
        const SQLRETURN rc =
            checkOdbc(SQLDrivers(environment.get(), direction, description.data(),
                                 static_cast<SQLSMALLINT>(description.size()), &descriptionLength,
                                 attributes.data(), static_cast<SQLSMALLINT>(attributes.size()),
                                 &attributesLength),
                      environment);
        if (rc == SQL_NO_DATA) {
            break;
        }
        names.push_back(bufferText(description, descriptionLength));
    }
    return names;
}

std::vector<OdbcDataSource> odbcDataSources() {
    const OdbcHandle environment = catalogEnvironment();
    std::vector<OdbcDataSource> sources;
    std::vector<SQLCHAR> name(SQL_MAX_DSN_LENGTH + 1);
    std::vector<SQLCHAR> driver(1024);
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT driverLength = 0;
        const SQLRETURN rc = checkOdbc(
            SQLDataSources(environment.get(), direction, name.data(),
                           static_cast<SQLSMALLINT>(name.size()), &nameLength, driver.data(),
                           static_cast<SQLSMALLINT>(driver.size()), &driverLength),
            environment);
        if (rc == SQL_NO_DATA) {
            break;
        }
        sources.push_back({bufferText(name, nameLength), bufferText(driver, driverLength)});
    }
    return sources;
}
