#include "OdbcResultReader.h"

#include "dbaccess/odbc/BlockReader.h"
#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/values/Exceptions.h"

#include <algorithm>

namespace {

SQLLEN attribute(const OdbcHandle& statement, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLLEN value = 0;
    if (!SQL_SUCCEEDED(
            SQLColAttribute(statement.get(), column, field, nullptr, 0, nullptr, &value))) {
        return -1;
    }
    return value;
}

// Reads every row, at most maxRecords when that is not 0.
void readAll(const OdbcHandle& statement, ResultSet& result, int maxRecords, bool inBlocks) {
    BlockReader reader(statement, result.columns(), inBlocks);
    RowStore& rows = result.rows();
    const auto limit = static_cast<std::size_t>(maxRecords);
    while ((maxRecords == 0 || rows.rowCount() < limit) && reader.read(rows) > 0) {
    }
    while (maxRecords > 0 && rows.rowCount() > limit) {
        rows.dropLastRow();
    }
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
    auto result = std::make_unique<ResultSet>(std::move(columns));
    try {
        readAll(statement, *result, maxRecords, bounded);
    } catch (const TruncatedValue&) {
        statement.run([&statement] { return SQLCloseCursor(statement.get()); });
        reexecute();
        result->rows().clear();
        readAll(statement, *result, maxRecords, false);
    }
    return result;
}
