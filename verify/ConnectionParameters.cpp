#include "ConnectionParameters.h"

#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <odbcinst.h>

namespace {

// An ODBC value without its braces, a doubled "}" inside as one.
std::string unbraced(const std::string& value) {
    if (value.size() < 2 || value.front() != '{' || value.back() != '}') {
        return value;
    }
    std::string plain;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        plain += value[i];
        if (value[i] == '}' && value[i + 1] == '}') {
            ++i;
        }
    }
    return plain;
}

std::string dataSourceValue(const std::string& dataSource, const char* key) {
    std::string buffer(4096, '\0');
    const int length = SQLGetPrivateProfileString(dataSource.c_str(), key, "", buffer.data(),
                                                  static_cast<int>(buffer.size()), "ODBC.INI");
    buffer.resize(length > 0 ? std::min(static_cast<std::size_t>(length), buffer.find('\0')) : 0);
    return trimmed(buffer);
}

} // namespace

ConnectionParameters::ConnectionParameters(const std::string& oledbConnectionString)
    : pairs_(parseConnectionString(toOdbcConnectionString(oledbConnectionString))) {
    const std::string fileDataSource = value({"FILEDSN"});
    if (!fileDataSource.empty()) {
        missing_ = "the parameters are in the file data source '" + fileDataSource + "'";
        return;
    }
    dataSource_ = value({"DSN"});
    if (!dataSource_.empty() && dataSourceValue(dataSource_, "Driver").empty()) {
        missing_ = "the data source '" + dataSource_ + "' is not in odbc.ini";
        dataSource_.clear();
    }
}

std::string ConnectionParameters::value(std::initializer_list<const char*> names) const {
    for (const char* name : names) {
        for (const auto& pair : pairs_) {
            if (sameTextIgnoringCase(pair.key, name)) {
                return unbraced(pair.value);
            }
        }
    }
    if (!dataSource_.empty()) {
        for (const char* name : names) {
            std::string found = dataSourceValue(dataSource_, name);
            if (!found.empty()) {
                return found;
            }
        }
    }
    return {};
}

std::string ConnectionParameters::value(std::initializer_list<const char*> names,
                                        const std::string& fallback) const {
    std::string found = value(names);
    return found.empty() ? fallback : found;
}
