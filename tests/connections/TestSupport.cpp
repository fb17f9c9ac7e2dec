#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : name_(name) {
    if (const char* current = std::getenv(name)) {
        previous_ = current;
    }
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    if (previous_) {
        setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

TemporaryFolder::TemporaryFolder() {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() / "velbrook-tests" /
            ("conn-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryFolder::addFile(const std::string& relative,
                                     const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
}

DataHome::DataHome() : variable_("XDG_DATA_HOME", home_.string()) {
    std::filesystem::create_directories(home_.path() / "OLE DB" / "Data Links");
}

const std::string& testDataSourceFile() {
    static const TemporaryFolder folder;
    static const std::string file = (folder.path() / "connection.sqlite").string();
    return file;
}

void installTestDataSources() {
    static const TemporaryFolder folder;
    const std::string ini = folder.addFile(
        "odbc.ini", "[VelbrookShop]\nDriver=SQLite3\nDatabase=/tmp/velbrook-shop.sqlite\n\n"
                    "[VelbrookOrders]\nDriver=PostgreSQL Unicode\nServername=localhost\n\n"
                    "[Connection]\nDriver=SQLite3\nDatabase=" +
                        testDataSourceFile() + "\n");
    setenv("ODBCINI", ini.c_str(), 1);
}
