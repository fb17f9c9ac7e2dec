#pragma once

#include "TableReader.h"

#include <memory>

struct pg_conn;
struct pg_result;

// Where libpq finds a PostgreSQL database.
struct PostgreSQLAddress {
    std::string host;
    std::string port;
    std::string database;
    std::string user;
    std::string password;
    std::string sslMode;
    int timeoutSeconds = 15;
};

// Reads a side of a PostgreSQL database through libpq in a UTC session: each
// value as the server's text, row by row; booleans as 1 and 0, and money as
// the numeric it stands for, whatever the server's currency format. The
// rows come a thousand a round trip through a cursor, in one transaction.
class PostgreSQLReader : public TableReader {
public:
    // Raises LibraryConnectError when libpq cannot connect.
    PostgreSQLReader(const PostgreSQLAddress& address, const ReadRequest& request);

    bool next(std::vector<ReadValue>& row) override;

private:
    struct Finish {
        void operator()(pg_conn* connection) const noexcept;
    };
    struct Clear {
        void operator()(pg_result* result) const noexcept;
    };
    using Result = std::unique_ptr<pg_result, Clear>;

    void connect(const PostgreSQLAddress& address);
    Result describe(const std::string& text);
    void command(const std::string& text);
    // The next rows into batch_; false when none are left.
    bool fetch();

    std::unique_ptr<pg_conn, Finish> connection_;
    std::vector<bool> bytes_;
    std::vector<bool> money_;
    std::vector<bool> booleans_;
    Result batch_;
    int batchRow_ = 0;
    bool finished_ = false;
};
