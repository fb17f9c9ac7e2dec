#include "InsertStatementCache.h"

#include "OdbcSession.h"
#include "TADOConnection.h"
#include "TADOTable.h"

#include <algorithm>
#include <cstring>

namespace {

// One parameter's value in the form its C type needs; lives until executed.
struct ParameterBuffer {
    std::string data;
    SQLLEN indicator = 0;
};

SQLSMALLINT bindSqlType(const ColumnInfo& column) {
    // Text goes as narrow UTF-8; a wide parameter type would make some
    // drivers convert it through a narrower character set.
    switch (column.sqlType) {
    case SQL_WCHAR:
        return SQL_CHAR;
    case SQL_WVARCHAR:
        return SQL_VARCHAR;
    case SQL_WLONGVARCHAR:
        return SQL_LONGVARCHAR;
    case 0:
        break;
    default:
        return column.sqlType;
    }
    switch (column.storage) {
    case StorageKind::Integer:
    case StorageKind::Unsigned:
        return SQL_BIGINT;
    case StorageKind::Double:
        return SQL_DOUBLE;
    case StorageKind::Boolean:
        return SQL_BIT;
    case StorageKind::DateTime:
        return SQL_TYPE_TIMESTAMP;
    case StorageKind::Binary:
        return SQL_LONGVARBINARY;
    case StorageKind::Decimal:
        return SQL_DECIMAL;
    case StorageKind::Text:
        return SQL_VARCHAR;
    }
    return SQL_VARCHAR;
}

template <typename T> void putValue(ParameterBuffer& buffer, const T& value) {
    buffer.data.assign(reinterpret_cast<const char*>(&value), sizeof value);
    buffer.indicator = static_cast<SQLLEN>(sizeof value);
}

void bindOne(const OdbcHandle& statement, SQLUSMALLINT number, const ColumnInfo& column,
             const Variant& value, ParameterBuffer& buffer) {
    SQLSMALLINT sqlType = bindSqlType(column);
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLULEN columnSize = 0;
    SQLSMALLINT digits = 0;
    const bool isNull = value.isEmpty();
    switch (column.storage) {
    case StorageKind::Integer:
    case StorageKind::Unsigned:
        cType = SQL_C_SBIGINT;
        if (!isNull) {
            putValue(buffer, static_cast<std::int64_t>(value.toInt64()));
        }
        break;
    case StorageKind::Double:
        cType = SQL_C_DOUBLE;
        if (!isNull) {
            putValue(buffer, value.toDouble());
        }
        break;
    case StorageKind::Boolean:
        cType = SQL_C_BIT;
        if (!isNull) {
            putValue(buffer, static_cast<unsigned char>(value.toBoolean() ? 1 : 0));
        }
        break;
    case StorageKind::DateTime:
        if (column.providerType == 134) {
            // Times travel as text so that fractions survive.
            cType = SQL_C_CHAR;
            if (!isNull) {
                const std::string text = formatDateTime(value.toDateTime());
                buffer.data = text.substr(text.find(' ') + 1);
                buffer.indicator = static_cast<SQLLEN>(buffer.data.size());
            }
            columnSize = 15;
        } else if (column.providerType == 133) {
            cType = SQL_C_TYPE_DATE;
            if (!isNull) {
                const CalendarTime t = toCalendarTime(value.toDateTime());
                const SQL_DATE_STRUCT date{static_cast<SQLSMALLINT>(t.year),
                                           static_cast<SQLUSMALLINT>(t.month),
                                           static_cast<SQLUSMALLINT>(t.day)};
                putValue(buffer, date);
            }
            columnSize = 10;
        } else {
            cType = SQL_C_TYPE_TIMESTAMP;
            if (!isNull) {
                const CalendarTime t = toCalendarTime(value.toDateTime());
                const SQL_TIMESTAMP_STRUCT stamp{static_cast<SQLSMALLINT>(t.year),
                                                 static_cast<SQLUSMALLINT>(t.month),
                                                 static_cast<SQLUSMALLINT>(t.day),
                                                 static_cast<SQLUSMALLINT>(t.hour),
                                                 static_cast<SQLUSMALLINT>(t.minute),
                                                 static_cast<SQLUSMALLINT>(t.second),
                                                 static_cast<SQLUINTEGER>(t.microsecond) * 1000};
                putValue(buffer, stamp);
            }
            digits = static_cast<SQLSMALLINT>(std::clamp(column.scale, 0, 6));
            columnSize = static_cast<SQLULEN>(digits > 0 ? 20 + digits : 19);
        }
        if (column.sqlType == SQL_TYPE_DATE || column.sqlType == SQL_TYPE_TIME) {
            sqlType = column.sqlType;
        }
        break;
    case StorageKind::Decimal: {
        cType = SQL_C_CHAR;
        if (!isNull) {
            buffer.data = value.toDecimal().text;
            buffer.indicator = static_cast<SQLLEN>(buffer.data.size());
            const auto point = buffer.data.find('.');
            digits = static_cast<SQLSMALLINT>(
                point == std::string::npos ? 0 : buffer.data.size() - point - 1);
        }
        columnSize = static_cast<SQLULEN>(std::max<std::size_t>(
            {buffer.data.size(), static_cast<std::size_t>(column.precision), 1}));
        break;
    }
    case StorageKind::Binary:
        cType = SQL_C_BINARY;
        if (!isNull) {
            buffer.data = value.toString();
            buffer.indicator = static_cast<SQLLEN>(buffer.data.size());
        }
        columnSize = std::max<SQLULEN>(buffer.data.size(), 1);
        break;
    case StorageKind::Text:
        cType = SQL_C_CHAR;
        if (!isNull) {
            buffer.data = value.toString();
            buffer.indicator = static_cast<SQLLEN>(buffer.data.size());
        }
        columnSize = std::max<SQLULEN>(buffer.data.size(), 1);
        break;
    }
    if (isNull) {
        buffer.data.assign(1, '\0');
        buffer.indicator = SQL_NULL_DATA;
    } else if (columnSize == 0) {
        columnSize = column.definedSize > 0 ? static_cast<SQLULEN>(column.definedSize) : 0;
    }
    checkOdbc(SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, cType, sqlType, columnSize,
                               digits, buffer.data.data(), static_cast<SQLLEN>(buffer.data.size()),
                               &buffer.indicator),
              statement);
}

} // namespace

InsertStatementCache::InsertStatementCache(TADOConnection& connection, std::string tableName,
                                           std::vector<ColumnInfo> columns)
    : connection_(connection), tableName_(std::move(tableName)), columns_(std::move(columns)) {}

std::string InsertStatementCache::statementText(const std::vector<std::size_t>& columns) const {
    const std::string quote = connection_.IdentifierQuote();
    std::string text = "INSERT INTO " + quoteTableName(tableName_, quote, true);
    if (columns.empty()) {
        return text +
               (connection_.Kind() == DatabaseKind::MariaDB ? " () VALUES ()" : " DEFAULT VALUES");
    }
    std::string names, markers;
    for (const std::size_t column : columns) {
        names += (names.empty() ? "" : ", ") + quoteIdentifier(columns_[column].name, quote);
        markers += markers.empty() ? "?" : ", ?";
    }
    return text + " (" + names + ") VALUES (" + markers + ")";
}

OdbcHandle& InsertStatementCache::prepared(const std::vector<std::size_t>& columns) {
    if (const auto found = statements_.find(columns); found != statements_.end()) {
        return found->second;
    }
    OdbcHandle statement = connection_.session().newStatement();
    std::string text = statementText(columns);
    checkOdbc(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                         static_cast<SQLINTEGER>(text.size())),
              statement);
    return statements_.emplace(columns, std::move(statement)).first->second;
}

void InsertStatementCache::insert(const std::vector<std::size_t>& columns,
                                  const std::vector<const Variant*>& values) {
    OdbcHandle& statement = prepared(columns);
    std::vector<ParameterBuffer> buffers(columns.size());
    SQLFreeStmt(statement.get(), SQL_RESET_PARAMS);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        bindOne(statement, static_cast<SQLUSMALLINT>(i + 1), columns_[columns[i]], *values[i],
                buffers[i]);
    }
    checkOdbc(SQLExecute(statement.get()), statement);
    SQLFreeStmt(statement.get(), SQL_CLOSE);
}
