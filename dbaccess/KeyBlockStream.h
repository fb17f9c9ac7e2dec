#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ResultSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TADOConnection;

// A column of the key whose order a table is read in.
struct ReadingKeyColumn {
    // The column's place in the result.
    std::size_t column = 0;
    std::string sqlName;
    // How the statement takes the column's last value, passed as text.
    std::string parameter;
    // Whether that text is the value's bytes in hexadecimal.
    bool hex = false;
};

// The columns of a MariaDB table's primary key, or else of a unique key of
// columns that are NOT NULL, whose values a statement can pass back exactly:
// integers, text and bytes. Empty when the table has no such key.
std::vector<ReadingKeyColumn> readingKey(TADOConnection& connection, const std::string& tableName,
                                         const std::vector<ColumnInfo>& columns);

// Reads a MariaDB table through selectText ("SELECT … FROM table") in the
// order of its key, a block of keys at a time, each block after the last
// key handed over, so that the driver never holds more than a block. The
// blocks and the count of rows are read in one consistent snapshot, as long
// as no other statement runs on the connection in between. Null, with
// statement and columns untouched, when the table has no key to follow.
std::unique_ptr<ResultSet> readTableByKey(TADOConnection& connection, OdbcHandle& statement,
                                          const std::string& selectText,
                                          std::vector<ColumnInfo>& columns,
                                          const std::string& tableName,
                                          const std::string& sqlTableName);

// The rows of a table after its first block, read by key.
class KeyBlockStream : public RowStream {
public:
    KeyBlockStream(TADOConnection& connection, OdbcHandle statement, const std::string& selectText,
                   const std::vector<ColumnInfo>& columns, std::vector<ReadingKeyColumn> key);
    ~KeyBlockStream() override;
    KeyBlockStream(const KeyBlockStream&) = delete;
    KeyBlockStream& operator=(const KeyBlockStream&) = delete;

    bool nextBlock(RowStore& rows) override;
    void restart(RowStore& rows) override;
    std::int64_t rowCount() override { return count_; }
    // Ends the snapshot; the next block begins another.
    void park() override;

    // Reads the block after the last key handed over into rows, replacing
    // them; false, with rows as they were, when none is left.
    bool readBlock(RowStore& rows);
    bool exhausted() const noexcept { return exhausted_; }
    void setRowCount(std::int64_t count) noexcept { count_ = count; }

private:
    void beginSnapshot();
    void endSnapshot();
    void executeBlock();
    void closeCursor();
    void rememberLastKey(const RowStore& rows);

    TADOConnection& connection_;
    OdbcHandle statement_;
    std::string firstText_;
    std::string nextText_;
    const std::vector<ColumnInfo>& columns_;
    std::vector<ReadingKeyColumn> key_;
    bool inBlocks_;
    RowStore spare_;
    // The last key handed over, as the parameters of nextText_.
    std::vector<std::string> parameters_;
    std::vector<SQLLEN> lengths_;
    std::int64_t count_ = 0;
    bool inSnapshot_ = false;
    bool exhausted_ = false;
};
