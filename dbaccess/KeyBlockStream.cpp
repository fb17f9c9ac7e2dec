#include "KeyBlockStream.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/TableStream.h"
#include "dbaccess/odbc/BlockReader.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <map>

namespace {

// Rows of one block: what the driver holds at most.
constexpr std::size_t keyBlockRows = 1000;

// The unique keys of a table, the primary key first, with what tells
// whether a reading can follow them.
constexpr const char* keyColumnsQuery =
    "SELECT s.INDEX_NAME, s.COLUMN_NAME, c.DATA_TYPE, c.COLUMN_TYPE, c.IS_NULLABLE, "
    "COALESCE(s.SUB_PART, '') FROM information_schema.STATISTICS s "
    "JOIN information_schema.COLUMNS c ON c.TABLE_SCHEMA = s.TABLE_SCHEMA "
    "AND c.TABLE_NAME = s.TABLE_NAME AND c.COLUMN_NAME = s.COLUMN_NAME "
    "WHERE s.TABLE_SCHEMA = COALESCE(NULLIF(?, ''), DATABASE()) AND s.TABLE_NAME = ? "
    "AND s.NON_UNIQUE = 0 ORDER BY s.INDEX_NAME <> 'PRIMARY', s.INDEX_NAME, s.SEQ_IN_INDEX";

// How a key column's last value goes back to the server so that it compares
// exactly: integers as integers, bytes as bytes, text as a literal, which
// takes the column's collation.
bool keyParameter(const std::string& dataType, const std::string& columnType,
                  ReadingKeyColumn& key) {
    const bool isUnsigned = columnType.find("unsigned") != std::string::npos;
    if (dataType == "tinyint" || dataType == "smallint" || dataType == "mediumint" ||
        dataType == "int" || (dataType == "bigint" && !isUnsigned)) {
        key.parameter = isUnsigned ? "CAST(? AS UNSIGNED)" : "CAST(? AS SIGNED)";
        return true;
    }
    if (dataType == "char" || dataType == "varchar") {
        key.parameter = "?";
        return true;
    }
    if (dataType == "binary" || dataType == "varbinary") {
        key.parameter = "UNHEX(?)";
        key.hex = true;
        return true;
    }
    return false;
}

std::string hexText(const std::string& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += digits[value >> 4];
        text += digits[value & 0x0f];
    }
    return text;
}

std::string joined(const std::vector<ReadingKeyColumn>& key, bool parameters) {
    std::string text;
    for (const ReadingKeyColumn& column : key) {
        text += (text.empty() ? "" : ", ") + (parameters ? column.parameter : column.sqlName);
    }
    return text;
}

} // namespace

std::vector<ReadingKeyColumn> readingKey(TADOConnection& connection, const std::string& tableName,
                                         const std::vector<ColumnInfo>& columns) {
    const auto dot = tableName.find('.');
    const std::string schema = dot == std::string::npos ? "" : tableName.substr(0, dot);
    const std::string table = dot == std::string::npos ? tableName : tableName.substr(dot + 1);
    std::map<std::string, std::vector<ReadingKeyColumn>> usable;
    std::vector<std::string> order;
    std::map<std::string, bool> refused;
    for (const auto& row : queryRows(connection.session(), keyColumnsQuery, {schema, table})) {
        const std::string& index = row[0];
        if (usable.find(index) == usable.end()) {
            order.push_back(index);
        }
        auto& key = usable[index];
        ReadingKeyColumn column;
        const auto found = std::find_if(columns.begin(), columns.end(), [&row](const auto& c) {
            return sameTextIgnoringCase(c.name, row[1]);
        });
        if (found == columns.end() || !found->readAs.empty() || row[4] != "NO" || !row[5].empty() ||
            !keyParameter(row[2], row[3], column)) {
            refused[index] = true;
            continue;
        }
        column.column = static_cast<std::size_t>(found - columns.begin());
        column.sqlName = connection.SqlIdentifier(found->name);
        key.push_back(std::move(column));
    }
    for (const std::string& index : order) {
        if (!refused[index]) {
            return std::move(usable[index]);
        }
    }
    return {};
}

std::unique_ptr<ResultSet> readTableByKey(TADOConnection& connection, OdbcHandle& statement,
                                          const std::string& selectText,
                                          std::vector<ColumnInfo>& columns,
                                          const std::string& tableName,
                                          const std::string& sqlTableName) {
    auto key = readingKey(connection, tableName, columns);
    if (key.empty()) {
        return nullptr;
    }
    auto result = std::make_unique<ResultSet>(std::move(columns));
    auto stream = std::make_unique<KeyBlockStream>(connection, std::move(statement), selectText,
                                                   result->columns(), std::move(key));
    stream->readBlock(result->rows());
    if (stream->exhausted()) {
        return result;
    }
    // Counted in the snapshot the blocks are read in.
    stream->setRowCount(countRows(connection, sqlTableName));
    result->stream = std::move(stream);
    return result;
}

KeyBlockStream::KeyBlockStream(TADOConnection& connection, OdbcHandle statement,
                               const std::string& selectText,
                               const std::vector<ColumnInfo>& columns,
                               std::vector<ReadingKeyColumn> key)
    : connection_(connection), statement_(std::move(statement)), columns_(columns),
      key_(std::move(key)), inBlocks_(std::all_of(columns.begin(), columns.end(), isBounded)),
      spare_(columns) {
    const std::string order =
        " ORDER BY " + joined(key_, false) + " LIMIT " + std::to_string(keyBlockRows);
    firstText_ = selectText + order;
    // The leading column's range lets the server start in its index.
    std::string after = key_.front().sqlName + " > " + key_.front().parameter;
    if (key_.size() > 1) {
        after = key_.front().sqlName + " >= " + key_.front().parameter + " AND (" +
                joined(key_, false) + ") > (" + joined(key_, true) + ")";
    }
    nextText_ = selectText + " WHERE " + after + order;
}

KeyBlockStream::~KeyBlockStream() {
    try {
        if (!connection_.Abandoned()) {
            endSnapshot();
        }
    } catch (const std::exception&) {
        // A connection that is gone has no transaction left to end.
    }
}

void KeyBlockStream::beginSnapshot() {
    connection_.parkStreams(this);
    executeOn(statement_, "SET TRANSACTION ISOLATION LEVEL REPEATABLE READ");
    executeOn(statement_, "START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY");
    inSnapshot_ = true;
}

void KeyBlockStream::endSnapshot() {
    if (inSnapshot_) {
        inSnapshot_ = false;
        executeOn(statement_, "COMMIT");
    }
}

void KeyBlockStream::closeCursor() {
    statement_.run([this] { return SQLFreeStmt(statement_.get(), SQL_CLOSE); });
}

void KeyBlockStream::executeBlock() {
    closeCursor();
    if (parameters_.empty()) {
        executeOn(statement_, firstText_);
        return;
    }
    lengths_.resize(parameters_.size());
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        lengths_[i] = static_cast<SQLLEN>(parameters_[i].size());
        checkOdbc(SQLBindParameter(statement_.get(), static_cast<SQLUSMALLINT>(i + 1),
                                   SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                   std::max<SQLULEN>(parameters_[i].size(), 1), 0,
                                   parameters_[i].data(), lengths_[i], &lengths_[i]),
                  statement_);
    }
    executeOn(statement_, nextText_);
    checkOdbc(SQLFreeStmt(statement_.get(), SQL_RESET_PARAMS), statement_);
}

void KeyBlockStream::rememberLastKey(const RowStore& rows) {
    const std::size_t last = rows.rowCount() - 1;
    std::vector<std::string> values;
    for (const ReadingKeyColumn& column : key_) {
        const std::string value = rows.value(last, column.column).toString();
        values.push_back(column.hex ? hexText(value) : value);
    }
    parameters_.clear();
    if (values.size() > 1) {
        parameters_.push_back(values.front());
    }
    parameters_.insert(parameters_.end(), values.begin(), values.end());
}

bool KeyBlockStream::readBlock(RowStore& rows) {
    if (exhausted_) {
        return false;
    }
    if (!inSnapshot_) {
        beginSnapshot();
    }
    for (;;) {
        spare_.clear();
        executeBlock();
        try {
            BlockReader reader(statement_, columns_, inBlocks_);
            while (reader.read(spare_) > 0) {
            }
            closeCursor();
            break;
        } catch (const TruncatedValue&) {
            // A value longer than its column said: the block again, row by row.
            inBlocks_ = false;
        }
    }
    if (spare_.rowCount() < keyBlockRows) {
        exhausted_ = true;
        endSnapshot();
    }
    if (spare_.rowCount() == 0) {
        return false;
    }
    rememberLastKey(spare_);
    std::swap(rows, spare_);
    return true;
}

bool KeyBlockStream::nextBlock(RowStore& rows) {
    return readBlock(rows);
}

void KeyBlockStream::restart(RowStore& rows) {
    parameters_.clear();
    exhausted_ = false;
    if (!readBlock(rows)) {
        rows.clear();
    }
}

void KeyBlockStream::park() {
    endSnapshot();
}
