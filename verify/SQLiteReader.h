#pragma once

#include "TableReader.h"

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// Reads a side of a SQLite database through the SQLite library, read-only:
// every value with its storage class and its bytes.
class SQLiteReader : public TableReader {
public:
    // Raises LibraryConnectError when the file cannot be opened.
    SQLiteReader(const std::string& file, const ReadRequest& request);

    bool next(std::vector<ReadValue>& row) override;

private:
    struct CloseDatabase {
        void operator()(sqlite3* database) const noexcept;
    };
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const noexcept;
    };

    std::unique_ptr<sqlite3, CloseDatabase> database_;
    std::unique_ptr<sqlite3_stmt, Finalize> statement_;
    int columns_ = 0;
};
