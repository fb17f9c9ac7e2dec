#pragma once

#include "TableReader.h"

#include <memory>

struct st_mysql;
struct st_mysql_res;

// Where MariaDB Connector/C finds a MariaDB database.
struct MariaDBAddress {
    std::string host;
    unsigned port = 3306;
    std::string socket;
    std::string database;
    std::string user;
    std::string password;
    unsigned timeoutSeconds = 15;
};

// Reads a side of a MariaDB database through Connector/C in a UTC session:
// each value as the text protocol's bytes, streamed; FLOAT columns as the
// double they hold, which the text protocol rounds to six digits.
class MariaDBReader : public TableReader {
public:
    // Raises LibraryConnectError when Connector/C cannot connect.
    MariaDBReader(const MariaDBAddress& address, const ReadRequest& request);
    ~MariaDBReader() override;
    MariaDBReader(const MariaDBReader&) = delete;
    MariaDBReader& operator=(const MariaDBReader&) = delete;

    bool next(std::vector<ReadValue>& row) override;

private:
    struct Close {
        void operator()(st_mysql* connection) const noexcept;
    };
    struct Free {
        void operator()(st_mysql_res* result) const noexcept;
    };

    void connect(const MariaDBAddress& address);
    void query(const std::string& text);

    std::unique_ptr<st_mysql, Close> connection_;
    std::unique_ptr<st_mysql_res, Free> result_;
    std::vector<bool> bytes_;
    bool finished_ = false;
};
