#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/values/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Rows of a fully fetched result in compact form: each row is a fixed-width
// record of 8-byte slots and null flags; text and bytes live in one arena.
class RowStore {
public:
    explicit RowStore(const std::vector<ColumnInfo>& columns);

    std::size_t rowCount() const noexcept { return rowCount_; }
    std::size_t columnCount() const noexcept { return kinds_.size(); }

    // Appends a row with every value null; the setters fill the last row.
    void beginRow();
    void clear();
    void dropLastRow();
    void setInteger(std::size_t column, std::int64_t value);
    void setUnsigned(std::size_t column, std::uint64_t value);
    void setDouble(std::size_t column, double value);
    void setBoolean(std::size_t column, bool value);
    void setDateTime(std::size_t column, DateTime value);
    // Text, bytes and decimal text.
    void setData(std::size_t column, std::string_view data);

    bool isNull(std::size_t row, std::size_t column) const;
    Variant value(std::size_t row, std::size_t column) const;
    // Stores a variant in the last row by the column's storage kind.
    void setValue(std::size_t column, const Variant& value);

private:
    std::uint8_t* slot(std::size_t column);
    const std::uint8_t* slot(std::size_t row, std::size_t column) const;
    void markPresent(std::size_t column);

    // The text, bytes or decimal text stored in a slot.
    std::string data(std::size_t row, std::size_t column) const;

    // Each column's storage kind and how it was read: a tagged or date text
    // reading is held as its text, whatever the column's kind.
    std::vector<StorageKind> kinds_;
    std::vector<ValueReading> readings_;
    std::size_t rowWidth_;
    std::size_t nullBytes_;
    std::size_t rowCount_ = 0;
    std::vector<std::uint8_t> records_;
    std::string arena_;
};

// The rows of a result that were not fetched with it, read on a block at a
// time into the result's row store in place of the block before.
class RowStream {
public:
    virtual ~RowStream() = default;
    // The next block into rows; false, with rows as they were, when none is left.
    virtual bool nextBlock(RowStore& rows) = 0;
    // The first block into rows again.
    virtual void restart(RowStore& rows) = 0;
    // Rows of the whole result.
    virtual std::int64_t rowCount() = 0;
    // Lets go of the statement until rows are needed again, so that other
    // statements can run on the connection.
    virtual void park() = 0;
};

// A result: its columns and its rows, or their first block and the stream
// of the others.
class ResultSet {
public:
    explicit ResultSet(std::vector<ColumnInfo> columns);

    const std::vector<ColumnInfo>& columns() const noexcept { return columns_; }
    RowStore& rows() noexcept { return rows_; }
    const RowStore& rows() const noexcept { return rows_; }
    std::size_t rowCount() const noexcept { return rows_.rowCount(); }

    // Whether rows can be inserted through it (a table cursor that can).
    bool canInsert = false;
    // The rows after the first block; null when rows() holds them all.
    std::unique_ptr<RowStream> stream;

    void appendRow(const std::vector<Variant>& values);

private:
    std::vector<ColumnInfo> columns_;
    RowStore rows_;
};
