#include "SideReading.h"

#include "ConnectionParameters.h"
#include "DriverReader.h"
#include "MariaDBReader.h"
#include "PostgreSQLReader.h"
#include "SQLiteReader.h"
#include "dbaccess/TADOConnection.h"

#include <charconv>

namespace {

// Where the drivers look when the string does not say.
constexpr const char* postgreSQLPort = "5432";
constexpr unsigned mariaDBPort = 3306;

std::unique_ptr<TableReader> sqliteReader(const ConnectionParameters& parameters,
                                          const ReadRequest& request, std::string& fallback) {
    const std::string file = parameters.value({"Database"});
    if (file.empty() || file == ":memory:") {
        fallback = "the SQLite database is not a file";
        return nullptr;
    }
    return std::make_unique<SQLiteReader>(file, request);
}

std::unique_ptr<TableReader> postgreSQLReader(const ConnectionParameters& parameters,
                                              const ReadRequest& request) {
    PostgreSQLAddress address;
    address.host = parameters.value({"Server", "Servername"});
    address.port = parameters.value({"Port"}, postgreSQLPort);
    address.database = parameters.value({"Database"});
    address.user = parameters.value({"UID", "Username", "User"});
    address.password = parameters.value({"PWD", "Password"});
    address.sslMode = parameters.value({"SSLmode"});
    address.timeoutSeconds = request.connection.ConnectionTimeout();
    return std::make_unique<PostgreSQLReader>(address, request);
}

std::unique_ptr<TableReader> mariaDBReader(const ConnectionParameters& parameters,
                                           const ReadRequest& request, std::string& fallback) {
    MariaDBAddress address;
    address.host = parameters.value({"Server"}, "localhost");
    const std::string port = parameters.value({"Port"});
    if (!port.empty()) {
        const auto [end, error] =
            std::from_chars(port.data(), port.data() + port.size(), address.port);
        if (error != std::errc() || end != port.data() + port.size()) {
            fallback = "the port '" + port + "' is no number";
            return nullptr;
        }
    }
    address.socket = parameters.value({"Socket"});
    address.database = parameters.value({"Database", "DB"});
    address.user = parameters.value({"UID", "User"});
    address.password = parameters.value({"PWD", "Password"});
    address.timeoutSeconds = static_cast<unsigned>(request.connection.ConnectionTimeout());
    return std::make_unique<MariaDBReader>(address, request);
}

std::unique_ptr<TableReader> libraryReader(const ReadRequest& request, std::string& fallback) {
    const DatabaseKind kind = request.connection.Kind();
    if (kind != DatabaseKind::SQLite && kind != DatabaseKind::PostgreSQL &&
        kind != DatabaseKind::MariaDB) {
        return nullptr;
    }
    const ConnectionParameters parameters(request.connection.ConnectionString());
    if (!parameters.missing().empty()) {
        fallback = parameters.missing();
        return nullptr;
    }
    try {
        switch (kind) {
        case DatabaseKind::SQLite:
            return sqliteReader(parameters, request, fallback);
        case DatabaseKind::PostgreSQL:
            return postgreSQLReader(parameters, request);
        default:
            return mariaDBReader(parameters, request, fallback);
        }
    } catch (const LibraryConnectError& error) {
        fallback = error.what();
        return nullptr;
    }
}

} // namespace

SideReading openReading(const ReadRequest& request) {
    SideReading reading;
    reading.reader = libraryReader(request, reading.fallback);
    if (!reading.reader) {
        reading.throughDriver = true;
        reading.reader = std::make_unique<DriverReader>(request);
    }
    return reading;
}
