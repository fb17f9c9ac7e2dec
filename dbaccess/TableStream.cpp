#include "TableStream.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/StatementText.h"

#include <algorithm>

namespace {

// Rows a block holds at least, unless the table ends first.
constexpr std::size_t blockRows = 512;

} // namespace

std::int64_t countRows(TADOConnection& connection, const std::string& sqlTableName) {
    const auto values =
        queryFirstColumn(connection.session(), "SELECT COUNT(*) FROM " + sqlTableName, {});
    return values.empty() ? 0 : std::stoll(values.front());
}

std::unique_ptr<ResultSet> readTable(TADOConnection& connection, OdbcHandle statement,
                                     std::string text, std::vector<ColumnInfo> columns,
                                     const std::string& sqlTableName, std::int64_t counted) {
    const bool bounded = std::all_of(columns.begin(), columns.end(), isBounded);
    auto result = std::make_unique<ResultSet>(std::move(columns));
    auto stream = std::make_unique<TableStream>(connection, std::move(statement), std::move(text),
                                                result->columns(), bounded);
    stream->readBlock(result->rows());
    if (stream->exhausted()) {
        return result;
    }
    stream->setRowCount(counted >= 0 ? counted : countRows(connection, sqlTableName));
    result->stream = std::move(stream);
    return result;
}

TableStream::TableStream(TADOConnection& connection, OdbcHandle statement, std::string text,
                         const std::vector<ColumnInfo>& columns, bool inBlocks)
    : connection_(connection), statement_(std::move(statement)), text_(std::move(text)),
      columns_(columns), inBlocks_(inBlocks), spare_(columns), open_(true) {
    reader_ = std::make_unique<BlockReader>(statement_, columns_, inBlocks_);
}

TableStream::~TableStream() {
    reader_.reset();
}

void TableStream::execute() {
    connection_.parkStreams(this);
    closeStatement();
    executeOn(statement_, text_);
    open_ = true;
    exhausted_ = false;
    reader_ = std::make_unique<BlockReader>(statement_, columns_, inBlocks_);
}

void TableStream::closeStatement() {
    reader_.reset();
    if (open_) {
        statement_.run([this] { return SQLCloseCursor(statement_.get()); });
        open_ = false;
    }
}

void TableStream::resume() {
    const std::int64_t skipped = handedOver_;
    execute();
    if (!reader_->skip(skipped)) {
        closeStatement();
        exhausted_ = true;
    }
}

bool TableStream::readBlock(RowStore& rows) {
    if (exhausted_) {
        return false;
    }
    if (!open_) {
        resume();
    }
    spare_.clear();
    for (;;) {
        try {
            while (spare_.rowCount() < blockRows && reader_->read(spare_) > 0) {
            }
            break;
        } catch (const TruncatedValue&) {
            // A value longer than its column said: on, row by row, from where the block began.
            inBlocks_ = false;
            spare_.clear();
            resume();
        }
    }
    if (spare_.rowCount() < blockRows) {
        closeStatement();
        exhausted_ = true;
    }
    if (spare_.rowCount() == 0) {
        return false;
    }
    handedOver_ += static_cast<std::int64_t>(spare_.rowCount());
    std::swap(rows, spare_);
    return true;
}

bool TableStream::nextBlock(RowStore& rows) {
    return readBlock(rows);
}

void TableStream::restart(RowStore& rows) {
    execute();
    handedOver_ = 0;
    if (!readBlock(rows)) {
        rows.clear();
    }
}

void TableStream::park() {
    if (open_ && !exhausted_) {
        closeStatement();
    }
}
