#include "PostgreSQLReader.h"

#include <libpq-fe.h>

namespace {

constexpr Oid booleanType = 16;
constexpr Oid byteaType = 17;
constexpr Oid moneyType = 790;

// Rows fetched a round trip: one result each, not one a row.
constexpr const char* fetchNext = "FETCH 1000 FROM velbrook_rows";

int hexDigit(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// bytea's hex output, "\x" and two digits a byte.
void decodeBytea(const char* text, std::size_t length, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 2; i + 1 < length; i += 2) {
        bytes += static_cast<char>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1]));
    }
}

} // namespace

void PostgreSQLReader::Finish::operator()(pg_conn* connection) const noexcept {
    PQfinish(connection);
}

void PostgreSQLReader::Clear::operator()(pg_result* result) const noexcept {
    PQclear(result);
}

PostgreSQLReader::PostgreSQLReader(const PostgreSQLAddress& address, const ReadRequest& request) {
    connect(address);
    const Result described = describe(selectStatement(request));
    const int columns = PQnfields(described.get());
    for (int i = 0; i < columns; ++i) {
        bytes_.push_back(PQftype(described.get(), i) == byteaType);
        money_.push_back(PQftype(described.get(), i) == moneyType);
        booleans_.push_back(PQftype(described.get(), i) == booleanType);
    }
    const std::string text =
        selectStatement(request, [this](std::size_t i, const std::string& name) {
            return money_[i] ? name + "::numeric" : name;
        });
    // A cursor holds the rows on the server; the transaction keeps one
    // state of the table for the whole reading.
    command("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    command("DECLARE velbrook_rows NO SCROLL CURSOR FOR " + text);
}

void PostgreSQLReader::command(const std::string& text) {
    const Result result(PQexec(connection_.get(), text.c_str()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        throw libraryError(result ? PQresultErrorMessage(result.get())
                                  : PQerrorMessage(connection_.get()));
    }
}

bool PostgreSQLReader::fetch() {
    batch_.reset(PQexec(connection_.get(), fetchNext));
    if (PQresultStatus(batch_.get()) != PGRES_TUPLES_OK) {
        throw libraryError(batch_ ? PQresultErrorMessage(batch_.get())
                                  : PQerrorMessage(connection_.get()));
    }
    batchRow_ = 0;
    return PQntuples(batch_.get()) > 0;
}

void PostgreSQLReader::connect(const PostgreSQLAddress& address) {
    const std::string timeout = std::to_string(address.timeoutSeconds);
    // Text output that does not depend on the server's settings.
    const char* options = "-c TimeZone=UTC -c DateStyle=ISO,YMD -c IntervalStyle=postgres "
                          "-c extra_float_digits=3 -c bytea_output=hex";
    std::vector<const char*> keys, values;
    const auto add = [&keys, &values](const char* key, const std::string& value) {
        if (!value.empty()) {
            keys.push_back(key);
            values.push_back(value.c_str());
        }
    };
    add("host", address.host);
    add("port", address.port);
    add("dbname", address.database);
    add("user", address.user);
    add("password", address.password);
    add("sslmode", address.sslMode);
    add("connect_timeout", timeout);
    keys.push_back("options");
    values.push_back(options);
    keys.push_back("client_encoding");
    values.push_back("UTF8");
    keys.push_back(nullptr);
    values.push_back(nullptr);
    connection_.reset(PQconnectdbParams(keys.data(), values.data(), 0));
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
        throw LibraryConnectError(PQerrorMessage(connection_.get()));
    }
}

PostgreSQLReader::Result PostgreSQLReader::describe(const std::string& text) {
    Result prepared(PQprepare(connection_.get(), "", text.c_str(), 0, nullptr));
    if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK) {
        throw libraryError(PQresultErrorMessage(prepared.get()));
    }
    Result described(PQdescribePrepared(connection_.get(), ""));
    if (PQresultStatus(described.get()) != PGRES_COMMAND_OK) {
        throw libraryError(PQresultErrorMessage(described.get()));
    }
    return described;
}

bool PostgreSQLReader::next(std::vector<ReadValue>& row) {
    if (finished_) {
        return false;
    }
    if ((!batch_ || batchRow_ == PQntuples(batch_.get())) && !fetch()) {
        finished_ = true;
        batch_.reset();
        command("COMMIT");
        return false;
    }
    pg_result* const result = batch_.get();
    const int at = batchRow_++;
    row.resize(bytes_.size());
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        ReadValue& value = row[i];
        const int column = static_cast<int>(i);
        value.isNull = PQgetisnull(result, at, column) != 0;
        value.form = bytes_[i] ? RawForm::Bytes : RawForm::Text;
        value.exactDecimal = money_[i];
        const char* text = PQgetvalue(result, at, column);
        const auto length = static_cast<std::size_t>(PQgetlength(result, at, column));
        if (bytes_[i]) {
            decodeBytea(text, length, value.data);
        } else if (booleans_[i]) {
            // 1 and 0, as the other databases keep them.
            value.data = text[0] == 't' ? "1" : "0";
        } else {
            value.data.assign(text, length);
        }
    }
    return true;
}
