#include "OdbcResultReader.h"

#include "ColumnTypes.h"
#include "DecimalText.h"
#include "Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr std::int64_t boundedLimit = 4000;
constexpr std::size_t blockBytes = 1 << 20;
constexpr SQLULEN maxBlockRows = 512;

struct TruncatedValue {};

SQLLEN attribute(const OdbcHandle& statement, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLLEN value = 0;
    if (!SQL_SUCCEEDED(
            SQLColAttribute(statement.get(), column, field, nullptr, 0, nullptr, &value))) {
        return -1;
    }
    return value;
}

SQLSMALLINT cTypeOf(const ColumnInfo& column) {
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
    return column.storage == StorageKind::Text || column.storage == StorageKind::Binary ||
           column.storage == StorageKind::Decimal || column.providerType == 134;
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

bool isBounded(const ColumnInfo& column) {
    if (!isVariable(column)) {
        return true;
    }
    if (column.storage == StorageKind::Decimal || column.providerType == 134) {
        return column.precision > 0 && column.precision <= 1000;
    }
    const bool isLong =
        column.providerType == 201 || column.providerType == 203 || column.providerType == 205;
    return !isLong && column.definedSize > 0 && column.definedSize <= boundedLimit;
}

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

// Reads a whole value with SQLGetData, in pieces for long data.
SQLLEN getWholeValue(const OdbcHandle& statement, SQLUSMALLINT column, SQLSMALLINT cType,
                     std::string& data) {
    data.clear();
    if (cType != SQL_C_CHAR && cType != SQL_C_BINARY) {
        data.resize(sizeof(SQL_TIMESTAMP_STRUCT) + 8);
        SQLLEN indicator = 0;
        checkOdbc(SQLGetData(statement.get(), column, cType, data.data(),
                             static_cast<SQLLEN>(data.size()), &indicator),
                  statement);
        return indicator;
    }
    const std::size_t terminator = cType == SQL_C_CHAR ? 1 : 0;
    std::string chunk(8192, '\0');
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = checkOdbc(SQLGetData(statement.get(), column, cType, chunk.data(),
                                                  static_cast<SQLLEN>(chunk.size()), &indicator),
                                       statement);
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

void fetchRowByRow(const OdbcHandle& statement, ResultSet& result, int maxRecords) {
    const auto& columns = result.columns();
    RowStore& rows = result.rows();
    std::string data;
    while (maxRecords == 0 || rows.rowCount() < static_cast<std::size_t>(maxRecords)) {
        const SQLRETURN rc = checkOdbc(SQLFetch(statement.get()), statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        rows.beginRow();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const SQLLEN length = getWholeValue(statement, static_cast<SQLUSMALLINT>(i + 1),
                                                cTypeOf(columns[i]), data);
            storeValue(rows, i, columns[i], data.data(), length);
        }
    }
}

// Column-wise bound block fetch; throws TruncatedValue when a value is cut.
void fetchInBlocks(const OdbcHandle& statement, ResultSet& result, int maxRecords) {
    const auto& columns = result.columns();
    std::size_t rowBytes = 0;
    for (const auto& column : columns) {
        rowBytes += boundWidth(column) + sizeof(SQLLEN);
    }
    SQLULEN blockRows =
        std::clamp<SQLULEN>(blockBytes / std::max<std::size_t>(rowBytes, 1), 1, maxBlockRows);
    if (maxRecords > 0) {
        blockRows = std::min<SQLULEN>(blockRows, static_cast<SQLULEN>(maxRecords));
    }
    std::vector<std::vector<char>> buffers(columns.size());
    std::vector<std::vector<SQLLEN>> indicators(columns.size());
    SQLULEN fetched = 0;
    std::vector<SQLUSMALLINT> status(blockRows);
    checkOdbc(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_BIND_TYPE,
                             reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
              statement);
    checkOdbc(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_ARRAY_SIZE,
                             reinterpret_cast<SQLPOINTER>(blockRows), 0),
              statement);
    checkOdbc(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), statement);
    checkOdbc(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_STATUS_PTR, status.data(), 0),
              statement);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::size_t width = std::max<std::size_t>(boundWidth(columns[i]), 1);
        buffers[i].assign(width * blockRows, '\0');
        indicators[i].assign(blockRows, 0);
        checkOdbc(SQLBindCol(statement.get(), static_cast<SQLUSMALLINT>(i + 1), cTypeOf(columns[i]),
                             buffers[i].data(), static_cast<SQLLEN>(width), indicators[i].data()),
                  statement);
    }
    RowStore& rows = result.rows();
    for (;;) {
        const SQLRETURN rc =
            checkOdbc(SQLFetchScroll(statement.get(), SQL_FETCH_NEXT, 0), statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        for (SQLULEN r = 0; r < fetched; ++r) {
            if (status[r] == SQL_ROW_ERROR) {
                raiseFromDiagnostics(SQL_ERROR, SQL_HANDLE_STMT, statement.get());
            }
            if (maxRecords > 0 && rows.rowCount() >= static_cast<std::size_t>(maxRecords)) {
                return;
            }
            rows.beginRow();
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const std::size_t width = std::max<std::size_t>(boundWidth(columns[i]), 1);
                SQLLEN length = indicators[i][r];
                if (length != SQL_NULL_DATA && isVariable(columns[i])) {
                    const std::size_t capacity =
                        columns[i].storage == StorageKind::Binary ? width : width - 1;
                    if (length == SQL_NO_TOTAL || static_cast<std::size_t>(length) > capacity) {
                        throw TruncatedValue{};
                    }
                }
                storeValue(rows, i, columns[i], buffers[i].data() + r * width, length);
            }
        }
        if (maxRecords > 0 && rows.rowCount() >= static_cast<std::size_t>(maxRecords)) {
            return;
        }
    }
}

void resetBlockAttributes(const OdbcHandle& statement) {
    SQLFreeStmt(statement.get(), SQL_UNBIND);
    SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(statement.get(), SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
}

} // namespace

std::vector<ColumnInfo> describeResultColumns(const OdbcHandle& statement) {
    SQLSMALLINT count = 0;
    checkOdbc(SQLNumResultCols(statement.get(), &count), statement);
    std::vector<ColumnInfo> columns;
    columns.reserve(static_cast<std::size_t>(count));
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        checkOdbc(SQLDescribeCol(statement.get(), i, name, sizeof name, &nameLength, &sqlType,
                                 &size, &digits, &nullable),
                  statement);
        ColumnInfo column;
        column.name = reinterpret_cast<const char*>(name);
        const bool isUnsigned =
            attribute(statement, i, SQL_DESC_UNSIGNED) == SQL_TRUE && sqlType != SQL_BIT;
        const auto& mapping = columnTypeMapping(sqlType);
        column.providerType = isUnsigned ? mapping.unsignedResultCode : mapping.resultCode;
        column.storage = mapping.storage;
        column.sqlType = sqlType;
        if (sqlType == SQL_BIGINT && isUnsigned) {
            column.storage = StorageKind::Unsigned;
        }
        column.definedSize =
            size > static_cast<SQLULEN>(INT32_MAX) ? INT32_MAX : static_cast<std::int64_t>(size);
        column.precision = static_cast<int>(std::min<SQLULEN>(size, 1000));
        column.scale = digits;
        if (column.storage == StorageKind::Decimal ||
            (column.storage == StorageKind::DateTime && column.providerType != 133)) {
            column.fractionDigits = std::max<int>(digits, 0);
        }
        column.nullable = nullable != SQL_NO_NULLS;
        const SQLLEN updatable = attribute(statement, i, SQL_DESC_UPDATABLE);
        column.updatability = updatable == SQL_ATTR_READONLY ? Updatability::ReadOnly
                              : updatable == SQL_ATTR_WRITE  ? Updatability::Updatable
                                                             : Updatability::Unknown;
        columns.push_back(std::move(column));
    }
    return columns;
}

std::unique_ptr<ResultSet> fetchResult(const OdbcHandle& statement, std::vector<ColumnInfo> columns,
                                       int maxRecords, const std::function<void()>& reexecute) {
    const bool bounded = std::all_of(columns.begin(), columns.end(), isBounded);
    auto result = std::make_unique<ResultSet>(columns);
    if (bounded && !columns.empty()) {
        try {
            fetchInBlocks(statement, *result, maxRecords);
            resetBlockAttributes(statement);
            return result;
        } catch (const TruncatedValue&) {
            resetBlockAttributes(statement);
            SQLCloseCursor(statement.get());
            reexecute();
            result = std::make_unique<ResultSet>(std::move(columns));
        } catch (...) {
            resetBlockAttributes(statement);
            throw;
        }
    }
    fetchRowByRow(statement, *result, maxRecords);
    return result;
}
