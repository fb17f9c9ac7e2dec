#include "BlockReader.h"

#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/values/DecimalText.h"
#include "dbaccess/values/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr std::int64_t boundedLimit = 4000;
constexpr std::size_t blockBytes = 1 << 20;
constexpr SQLULEN maxBlockRows = 512;
// Rows read one at a time are handed over in blocks of this many.
constexpr std::size_t rowByRowBlock = 256;

SQLSMALLINT cTypeOf(const ColumnInfo& column) {
    switch (column.reading) {
    case ValueReading::Tagged:
        return SQL_C_BINARY;
    case ValueReading::DateText:
    case ValueReading::DoubleText:
        return SQL_C_CHAR;
    case ValueReading::AsDeclared:
        break;
    }
    switch (column.storage) {
    case StorageKind::Integer:
        return SQL_C_SBIGINT;
    case StorageKind::Unsigned:
        return SQL_C_UBIGINT;
    case StorageKind::Double:
        return SQL_C_DOUBLE;
    case StorageKind::Boolean:
        return SQL_C_BIT;
    case StorageKind::DateTime:
        return column.providerType == 133   ? SQL_C_TYPE_DATE
               : column.providerType == 134 ? SQL_C_CHAR
                                            : SQL_C_TYPE_TIMESTAMP;
    case StorageKind::Binary:
        return SQL_C_BINARY;
    case StorageKind::Text:
    case StorageKind::Decimal:
        return SQL_C_CHAR;
    }
    return SQL_C_CHAR;
}

bool isVariable(const ColumnInfo& column) {
    return column.reading != ValueReading::AsDeclared || column.storage == StorageKind::Text ||
           column.storage == StorageKind::Binary || column.storage == StorageKind::Decimal ||
           column.providerType == 134;
}

// Buffer bytes of one value when bound. Fixed-size C types lie sizeof their
// type apart in a column-wise bound array, whatever buffer length is given.
std::size_t boundWidth(const ColumnInfo& column) {
    switch (cTypeOf(column)) {
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
        return sizeof(SQLBIGINT);
    case SQL_C_DOUBLE:
        return sizeof(SQLDOUBLE);
    case SQL_C_BIT:
        return sizeof(SQLCHAR);
    case SQL_C_TYPE_DATE:
        return sizeof(SQL_DATE_STRUCT);
    case SQL_C_TYPE_TIMESTAMP:
        return sizeof(SQL_TIMESTAMP_STRUCT);
    default:
        break;
    }
    if (column.reading == ValueReading::DateText || column.reading == ValueReading::DoubleText) {
        // "-0044-03-15 12:34:56.123456+05:45 BC", "-1.7976931348623157e308"
        // and the like; a longer value is read again alone.
        return 48;
    }
    if (column.reading == ValueReading::Tagged) {
        // A tag and the text of a number fit 40 bytes; a longer value is read again alone.
        return std::max<std::size_t>(static_cast<std::size_t>(column.definedSize) * 4 + 1, 40);
    }
    switch (column.storage) {
    case StorageKind::Text:
        return static_cast<std::size_t>(column.definedSize) * 4 + 1;
    case StorageKind::Binary:
        return static_cast<std::size_t>(column.definedSize);
    case StorageKind::Decimal:
        return static_cast<std::size_t>(std::max(column.precision, 1)) + 4;
    default:
        // Times as text: sign, hours, fraction and zone.
        return 32;
    }
}

} // namespace

bool isBounded(const ColumnInfo& column) {
    if (!isVariable(column)) {
        return true;
    }
    if (column.reading == ValueReading::AsDeclared &&
        (column.storage == StorageKind::Decimal || column.providerType == 134)) {
        return column.precision > 0 && column.precision <= 1000;
    }
    const bool isLong =
        column.providerType == 201 || column.providerType == 203 || column.providerType == 205;
    if (column.reading == ValueReading::Tagged) {
        return !isLong && column.definedSize <= boundedLimit;
    }
    if (column.reading == ValueReading::DateText || column.reading == ValueReading::DoubleText) {
        return true;
    }
    return !isLong && column.definedSize > 0 && column.definedSize <= boundedLimit;
}

namespace {

DateTime timeFromText(const ColumnInfo& column, const std::string& text) {
    DateTime value;
    if (!parseDateTime(text, value)) {
        throw EOleException(
            "Column '" + column.name + "' holds a time that cannot be read: " + text, 0);
    }
    return value;
}

// Drivers may hand a decimal over in exponent form. SQLite's exact reading
// of a double is one with 21 significant digits: the double it stands for is
// the value, which its shortest text gives exactly.
std::string decimalFromDriver(std::string_view text) {
    if (text.find_first_of("eE") == std::string_view::npos) {
        return std::string(text);
    }
    Decimal decimal;
    if (!parseDecimalText(std::string(text), decimal)) {
        return std::string(text);
    }
    if (significantDigits(decimal) > 17) {
        double number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size()) {
            parseDecimalText(formatDouble(number), decimal);
        }
    }
    return withoutTrailingZeros(decimal).text;
}

// Stores one fetched value held in buffer into the last row.
void storeValue(RowStore& rows, std::size_t column, const ColumnInfo& info, const char* buffer,
                SQLLEN length) {
    if (length == SQL_NULL_DATA) {
        return;
    }
    if (info.reading == ValueReading::DoubleText) {
        double value = 0;
        std::from_chars(buffer, buffer + length, value);
        rows.setDouble(column, value);
        return;
    }
    if (info.reading != ValueReading::AsDeclared) {
        rows.setData(column, std::string_view(buffer, static_cast<std::size_t>(length)));
        return;
    }
    switch (info.storage) {
    case StorageKind::Integer: {
        std::int64_t value;
        std::memcpy(&value, buffer, sizeof value);
        rows.setInteger(column, value);
        break;
    }
    case StorageKind::Unsigned: {
        std::uint64_t value;
        std::memcpy(&value, buffer, sizeof value);
        rows.setUnsigned(column, value);
        break;
    }
    case StorageKind::Double: {
        double value;
        std::memcpy(&value, buffer, sizeof value);
        rows.setDouble(column, value);
        break;
    }
    case StorageKind::Boolean:
        rows.setBoolean(column, buffer[0] != 0);
        break;
    case StorageKind::DateTime:
        if (info.providerType == 133) {
            SQL_DATE_STRUCT date;
            std::memcpy(&date, buffer, sizeof date);
            rows.setDateTime(column, toDateTime({date.year, date.month, date.day}));
        } else if (info.providerType == 134) {
            rows.setDateTime(
                column, timeFromText(info, std::string(buffer, static_cast<std::size_t>(length))));
        } else {
            SQL_TIMESTAMP_STRUCT stamp;
            std::memcpy(&stamp, buffer, sizeof stamp);
            rows.setDateTime(
                column, toDateTime({stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                    stamp.second, static_cast<int>(stamp.fraction / 1000)}));
        }
        break;
    case StorageKind::Decimal:
        rows.setData(column,
                     decimalFromDriver(std::string_view(buffer, static_cast<std::size_t>(length))));
        break;
    case StorageKind::Text:
    case StorageKind::Binary:
        rows.setData(column, std::string_view(buffer, static_cast<std::size_t>(length)));
        break;
    }
}

// What getWholeValue leaves in data: a fixed-size value's whole buffer.
constexpr std::size_t fixedValueBytes = sizeof(SQL_TIMESTAMP_STRUCT) + 8;

std::size_t wholeValueBytes(SQLSMALLINT cType, SQLLEN length) {
    return cType == SQL_C_CHAR || cType == SQL_C_BINARY ? static_cast<std::size_t>(length)
                                                        : fixedValueBytes;
}

// Reads a whole value with SQLGetData, in pieces for long data.
SQLLEN getWholeValue(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, std::string& data,
                     std::string& chunk) {
    data.clear();
    if (cType != SQL_C_CHAR && cType != SQL_C_BINARY) {
        data.resize(fixedValueBytes);
        SQLLEN indicator = 0;
        checkOdbc(SQLGetData(statement, column, cType, data.data(),
                             static_cast<SQLLEN>(data.size()), &indicator),
                  SQL_HANDLE_STMT, statement);
        return indicator;
    }
    const std::size_t terminator = cType == SQL_C_CHAR ? 1 : 0;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = checkOdbc(SQLGetData(statement, column, cType, chunk.data(),
                                                  static_cast<SQLLEN>(chunk.size()), &indicator),
                                       SQL_HANDLE_STMT, statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        if (indicator == SQL_NULL_DATA) {
            return SQL_NULL_DATA;
        }
        const std::size_t capacity = chunk.size() - terminator;
        if (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > capacity) {
            data.append(chunk.data(), capacity);
            if (rc == SQL_SUCCESS) {
                break;
            }
            if (indicator != SQL_NO_TOTAL) {
                chunk.resize(std::max<std::size_t>(
                    chunk.size(), static_cast<std::size_t>(indicator) - capacity + terminator + 1));
            }
            continue;
        }
        data.append(chunk.data(), static_cast<std::size_t>(indicator));
        break;
    }
    return static_cast<SQLLEN>(data.size());
}

} // namespace

BlockReader::BlockReader(const OdbcHandle& statement, const std::vector<ColumnInfo>& columns,
                         bool inBlocks)
    : statement_(statement), columns_(columns), inBlocks_(inBlocks && !columns.empty()) {
    if (!inBlocks_) {
        for (const auto& column : columns_) {
            rowsRead_->cTypes.push_back(cTypeOf(column));
        }
        return;
    }
    std::size_t rowBytes = 0;
    for (const auto& column : columns_) {
        widths_.push_back(std::max<std::size_t>(boundWidth(column), 1));
        rowBytes += widths_.back() + sizeof(SQLLEN);
    }
    const SQLULEN blockRows = std::clamp<SQLULEN>(blockBytes / rowBytes, 1, maxBlockRows);
    bound_->status.resize(blockRows);
    checkOdbc(SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROW_BIND_TYPE,
                             reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
              statement_);
    checkOdbc(SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROW_ARRAY_SIZE,
                             reinterpret_cast<SQLPOINTER>(blockRows), 0),
              statement_);
    checkOdbc(SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROWS_FETCHED_PTR, &bound_->fetched, 0),
              statement_);
    checkOdbc(SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROW_STATUS_PTR, bound_->status.data(), 0),
              statement_);
    bound_->buffers.resize(columns_.size());
    bound_->indicators.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        bound_->buffers[i].assign(widths_[i] * blockRows, '\0');
        bound_->indicators[i].assign(blockRows, 0);
        checkOdbc(SQLBindCol(statement_.get(), static_cast<SQLUSMALLINT>(i + 1),
                             cTypeOf(columns_[i]), bound_->buffers[i].data(),
                             static_cast<SQLLEN>(widths_[i]), bound_->indicators[i].data()),
                  statement_);
    }
}

BlockReader::~BlockReader() {
    if (!inBlocks_) {
        return;
    }
    if (statement_.abandoned()) {
        statement_.keepBound(std::move(bound_));
        return;
    }
    SQLFreeStmt(statement_.get(), SQL_UNBIND);
    SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(statement_.get(), SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
}

bool BlockReader::fetchBlock() {
    handedOver_ = 0;
    bound_->fetched = 0;
    if (exhausted_ || checkCall(statement_, [this] {
                          return SQLFetchScroll(statement_.get(), SQL_FETCH_NEXT, 0);
                      }) == SQL_NO_DATA) {
        exhausted_ = true;
        bound_->fetched = 0;
        return false;
    }
    return true;
}

std::size_t BlockReader::read(RowStore& rows) {
    if (!inBlocks_) {
        return readRows(rows);
    }
    if (handedOver_ >= bound_->fetched && !fetchBlock()) {
        return 0;
    }
    const std::size_t before = rows.rowCount();
    const Bound& bound = *bound_;
    for (SQLULEN r = handedOver_; r < bound.fetched; ++r) {
        if (bound.status[r] == SQL_ROW_ERROR) {
            raiseFromDiagnostics(SQL_ERROR, SQL_HANDLE_STMT, statement_.get());
        }
        rows.beginRow();
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const SQLLEN length = bound.indicators[i][r];
            if (length != SQL_NULL_DATA && isVariable(columns_[i])) {
                const std::size_t capacity =
                    cTypeOf(columns_[i]) == SQL_C_BINARY ? widths_[i] : widths_[i] - 1;
                if (length == SQL_NO_TOTAL || static_cast<std::size_t>(length) > capacity) {
                    while (rows.rowCount() > before) {
                        rows.dropLastRow();
                    }
                    throw TruncatedValue{};
                }
            }
            storeValue(rows, i, columns_[i], bound.buffers[i].data() + r * widths_[i], length);
        }
    }
    handedOver_ = bound.fetched;
    return rows.rowCount() - before;
}

std::size_t BlockReader::readRows(RowStore& rows) {
    const std::shared_ptr<RowsRead> read = rowsRead_;
    read->values.clear();
    read->lengths.clear();
    read->rows = 0;
    // One hand-off to the session's worker for the block, not one a row. The
    // call owns what it touches: one left behind may end after the caller.
    statement_.runOwned([read, statement = statement_.get()] {
        while (read->rows < rowByRowBlock && !read->exhausted) {
            if (checkOdbc(SQLFetch(statement), SQL_HANDLE_STMT, statement) == SQL_NO_DATA) {
                read->exhausted = true;
                break;
            }
            for (std::size_t i = 0; i < read->cTypes.size(); ++i) {
                const SQLLEN length = getWholeValue(statement, static_cast<SQLUSMALLINT>(i + 1),
                                                    read->cTypes[i], read->data, read->chunk);
                read->lengths.push_back(length);
                if (length != SQL_NULL_DATA) {
                    read->values += read->data;
                }
            }
            ++read->rows;
        }
        return SQLRETURN{SQL_SUCCESS};
    });
    exhausted_ = read->exhausted;
    const char* value = read->values.data();
    const SQLLEN* length = read->lengths.data();
    for (std::size_t r = 0; r < read->rows; ++r) {
        rows.beginRow();
        for (std::size_t i = 0; i < columns_.size(); ++i, ++length) {
            storeValue(rows, i, columns_[i], value, *length);
            if (*length != SQL_NULL_DATA) {
                value += wholeValueBytes(read->cTypes[i], *length);
            }
        }
    }
    return read->rows;
}

bool BlockReader::skip(std::int64_t count) {
    while (count > 0) {
        if (!inBlocks_) {
            if (fetchRow(statement_) == SQL_NO_DATA) {
                exhausted_ = true;
                return false;
            }
            --count;
            continue;
        }
        if (handedOver_ >= bound_->fetched && !fetchBlock()) {
            return false;
        }
        const auto step =
            std::min<SQLULEN>(bound_->fetched - handedOver_, static_cast<SQLULEN>(count));
        handedOver_ += step;
        count -= static_cast<std::int64_t>(step);
    }
    return true;
}
