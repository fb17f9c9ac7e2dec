#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ResultSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A value longer than its column said: its rows must be read one at a time.
struct TruncatedValue {};

// Whether a column's values fit a buffer of the size the column gives.
bool isBounded(const ColumnInfo& column);

// Reads the rows of an executed statement into a row store, a block at a
// time: into bound arrays when every column is bounded, else row by row with
// each value read whole.
class BlockReader {
public:
    BlockReader(const OdbcHandle& statement, const std::vector<ColumnInfo>& columns, bool inBlocks);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Appends the next rows, at most a block, to rows; 0 when none is left.
    // In blocks, a value cut short throws TruncatedValue and appends nothing.
    std::size_t read(RowStore& rows);
    // Passes over count rows without reading their values; false when fewer are left.
    bool skip(std::int64_t count);

private:
    bool fetchBlock();
    std::size_t readRows(RowStore& rows);

    // What the driver writes a block into; kept while a fetch left behind may.
    struct Bound {
        std::vector<std::vector<char>> buffers;
        std::vector<std::vector<SQLLEN>> indicators;
        std::vector<SQLUSMALLINT> status;
        SQLULEN fetched = 0;
    };

    // What a row-by-row read writes into; kept while a fetch left behind may.
    struct RowsRead {
        std::vector<SQLSMALLINT> cTypes;
        std::string data;
        std::string chunk = std::string(8192, '\0');
        // The block's values one after another, and each one's length.
        std::string values;
        std::vector<SQLLEN> lengths;
        std::size_t rows = 0;
        bool exhausted = false;
    };

    const OdbcHandle& statement_;
    const std::vector<ColumnInfo>& columns_;
    bool inBlocks_;
    std::vector<std::size_t> widths_;
    std::shared_ptr<Bound> bound_ = std::make_shared<Bound>();
    // Rows of the fetched block already handed over.
    SQLULEN handedOver_ = 0;
    bool exhausted_ = false;
    std::shared_ptr<RowsRead> rowsRead_ = std::make_shared<RowsRead>();
};
