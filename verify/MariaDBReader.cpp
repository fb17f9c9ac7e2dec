#include "MariaDBReader.h"

#include <mysql.h>

namespace {

constexpr unsigned binaryCharset = 63;

// Values that are bytes rather than text: BIT, and strings of the binary
// character set.
bool isBytes(const MYSQL_FIELD& field) {
    return field.type == MYSQL_TYPE_BIT ||
           (field.charsetnr == binaryCharset &&
            (field.type == MYSQL_TYPE_STRING || field.type == MYSQL_TYPE_VAR_STRING ||
             field.type == MYSQL_TYPE_VARCHAR || field.type == MYSQL_TYPE_BLOB ||
             field.type == MYSQL_TYPE_TINY_BLOB || field.type == MYSQL_TYPE_MEDIUM_BLOB ||
             field.type == MYSQL_TYPE_LONG_BLOB));
}

} // namespace

void MariaDBReader::Close::operator()(st_mysql* connection) const noexcept {
    mysql_close(connection);
}

void MariaDBReader::Free::operator()(st_mysql_res* result) const noexcept {
    mysql_free_result(result);
}

MariaDBReader::MariaDBReader(const MariaDBAddress& address, const ReadRequest& request) {
    connect(address);
    // The column types first, from a query that returns no rows.
    std::vector<bool> floats;
    query(selectStatement(request) + " LIMIT 0");
    result_.reset(mysql_store_result(connection_.get()));
    if (!result_) {
        throw libraryError(mysql_error(connection_.get()));
    }
    const MYSQL_FIELD* fields = mysql_fetch_fields(result_.get());
    for (unsigned i = 0; i < mysql_num_fields(result_.get()); ++i) {
        floats.push_back(fields[i].type == MYSQL_TYPE_FLOAT);
    }
    result_.reset();
    query(selectStatement(request, [&floats](std::size_t i, const std::string& name) {
        return floats[i] ? "CAST(" + name + " AS DOUBLE)" : name;
    }));
    // Streamed: a row at a time from the server.
    result_.reset(mysql_use_result(connection_.get()));
    if (!result_) {
        throw libraryError(mysql_error(connection_.get()));
    }
    fields = mysql_fetch_fields(result_.get());
    for (unsigned i = 0; i < mysql_num_fields(result_.get()); ++i) {
        bytes_.push_back(isBytes(fields[i]));
    }
}

MariaDBReader::~MariaDBReader() {
    // Rows left unread would all be fetched by freeing the result.
    if (result_ && !finished_) {
        mariadb_cancel(connection_.get());
    }
}

void MariaDBReader::connect(const MariaDBAddress& address) {
    connection_.reset(mysql_init(nullptr));
    if (!connection_) {
        throw LibraryConnectError("MariaDB Connector/C cannot start a connection");
    }
    MYSQL* connection = connection_.get();
    mysql_optionsv(connection, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    mysql_optionsv(connection, MYSQL_OPT_CONNECT_TIMEOUT, &address.timeoutSeconds);
    // A slow comparison must not make the server give up sending.
    mysql_optionsv(connection, MYSQL_INIT_COMMAND,
                   "SET time_zone = '+00:00', net_write_timeout = 3600");
    const auto orNull = [](const std::string& text) {
        return text.empty() ? nullptr : text.c_str();
    };
    if (mysql_real_connect(connection, orNull(address.host), orNull(address.user),
                           address.password.c_str(), orNull(address.database), address.port,
                           orNull(address.socket), 0) == nullptr) {
        throw LibraryConnectError(mysql_error(connection));
    }
}

void MariaDBReader::query(const std::string& text) {
    if (mysql_real_query(connection_.get(), text.c_str(), text.size()) != 0) {
        throw libraryError(mysql_error(connection_.get()));
    }
}

bool MariaDBReader::next(std::vector<ReadValue>& row) {
    if (finished_) {
        return false;
    }
    const MYSQL_ROW values = mysql_fetch_row(result_.get());
    if (values == nullptr) {
        if (mysql_errno(connection_.get()) != 0) {
            throw libraryError(mysql_error(connection_.get()));
        }
        finished_ = true;
        return false;
    }
    const unsigned long* lengths = mysql_fetch_lengths(result_.get());
    row.resize(bytes_.size());
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        ReadValue& value = row[i];
        value.isNull = values[i] == nullptr;
        value.form = bytes_[i] ? RawForm::Bytes : RawForm::Text;
        value.data.assign(values[i] != nullptr ? values[i] : "", lengths[i]);
    }
    return true;
}
