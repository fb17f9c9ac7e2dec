#pragma once

#include "dbaccess/odbc/BlockReader.h"
#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ResultSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TADOConnection;

// The rows of a table, as "SELECT COUNT(*)" tells them.
std::int64_t countRows(TADOConnection& connection, const std::string& sqlTableName);

// Reads a table through an executed statement: the first block with the
// result, the rest a block at a time as the cursor moves on, so that a table
// larger than memory can be read. counted is the table's rows counted before
// the statement ran, or -1 to count them, when needed, beside the open statement.
std::unique_ptr<ResultSet> readTable(TADOConnection& connection, OdbcHandle statement,
                                     std::string text, std::vector<ColumnInfo> columns,
                                     const std::string& sqlTableName, std::int64_t counted);

// The rows of a table after its first block.
class TableStream : public RowStream {
public:
    TableStream(TADOConnection& connection, OdbcHandle statement, std::string text,
                const std::vector<ColumnInfo>& columns, bool inBlocks);
    ~TableStream() override;
    TableStream(const TableStream&) = delete;
    TableStream& operator=(const TableStream&) = delete;

    bool nextBlock(RowStore& rows) override;
    void restart(RowStore& rows) override;
    std::int64_t rowCount() override { return count_; }
    void park() override;

    // Reads the block after the rows handed over so far into rows, replacing
    // them; false, with rows as they were, when none is left.
    bool readBlock(RowStore& rows);
    bool exhausted() const noexcept { return exhausted_; }
    void setRowCount(std::int64_t count) noexcept { count_ = count; }

private:
    void execute();
    void closeStatement();
    void resume();

    TADOConnection& connection_;
    OdbcHandle statement_;
    std::string text_;
    const std::vector<ColumnInfo>& columns_;
    bool inBlocks_;
    std::unique_ptr<BlockReader> reader_;
    RowStore spare_;
    std::int64_t handedOver_ = 0;
    std::int64_t count_ = 0;
    bool open_ = false;
    bool exhausted_ = false;
};
