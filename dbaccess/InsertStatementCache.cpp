#include "InsertStatementCache.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/Failures.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ParameterBinding.h"
#include "dbaccess/values/Exceptions.h"

#include <utility>

namespace {

// MariaDB ends the connection on a statement larger than its
// max_allowed_packet: such a row is refused before it is sent.
void refuseOversizedRow(long long packetLimit, const std::vector<ColumnInfo>& info,
                        const std::vector<std::size_t>& columns,
                        const std::vector<ParameterBuffer>& buffers) {
    // The statement's own bytes and each value's type and length.
    std::size_t total = 64;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        total += buffers[i].data.size() + 16;
        if (buffers[i].data.size() > buffers[largest].data.size()) {
            largest = i;
        }
    }
    if (packetLimit <= 0 || total <= static_cast<std::size_t>(packetLimit)) {
        return;
    }
    throw EDatabaseError("Value for field '" + info[columns[largest]].name + "' (" +
                         std::to_string(buffers[largest].data.size()) +
                         " bytes) does not fit the server's max_allowed_packet (" +
                         std::to_string(packetLimit) + " bytes): the row is not sent");
}

// Binds a row's values to the statement's buffers.
void bindRow(const OdbcHandle& statement, std::vector<ParameterBuffer>& buffers,
             const std::vector<ColumnInfo>& info, DatabaseKind kind, long long packetLimit,
             const std::vector<std::size_t>& columns, const std::vector<const Variant*>& values) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        bindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), info[columns[i]], kind,
                      *values[i], buffers[i]);
    }
    if (kind == DatabaseKind::MariaDB) {
        refuseOversizedRow(packetLimit, info, columns, buffers);
    }
}

// A server may refuse a row with a warning's state (MariaDB's 01000 "Data
// truncated" for a label its ENUM lacks): a row that did not arrive failed.
void requireInserted(const OdbcHandle& statement, SQLRETURN rc) {
    if (rc != SQL_SUCCESS_WITH_INFO) {
        return;
    }
    // Asking for the count clears what the driver said: read it first.
    const auto said = readDiagnostics(SQL_HANDLE_STMT, statement.get());
    SQLLEN inserted = -1;
    if (SQL_SUCCEEDED(SQLRowCount(statement.get(), &inserted)) && inserted == 0) {
        if (said.empty()) {
            throw EOleException("The row was not inserted", static_cast<std::int32_t>(0x80004005),
                                "HY000");
        }
        raiseFromRecords(SQL_ERROR, said);
    }
}

const std::vector<const Variant*>& pointersTo(const std::vector<Variant>& values,
                                              std::vector<const Variant*>& pointers) {
    pointers.clear();
    for (const Variant& value : values) {
        pointers.push_back(&value);
    }
    return pointers;
}

std::size_t heldBytes(const std::vector<Variant>& values) {
    std::size_t bytes = 0;
    for (const Variant& value : values) {
        if (const auto* text = value.get<std::string>()) {
            bytes += text->size();
        } else if (const auto* wide = value.get<std::u16string>()) {
            bytes += wide->size() * sizeof(char16_t);
        } else if (const auto* binary = value.get<Bytes>()) {
            bytes += binary->size();
        }
    }
    return bytes;
}

} // namespace

// What a batch's call works on, kept whole while a call left behind may
// still be sending it.
struct InsertStatementCache::Batch {
    std::vector<QueuedRow> rows;
    std::vector<std::exception_ptr> outcomes;
    std::shared_ptr<const std::vector<ColumnInfo>> columns;
    DatabaseKind kind = DatabaseKind::Other;
    long long packetLimit = 0;
};

InsertStatementCache::InsertStatementCache(TADOConnection& connection, std::string tableName,
                                           std::vector<ColumnInfo> columns)
    : connection_(connection), tableName_(std::move(tableName)),
      columns_(std::make_shared<const std::vector<ColumnInfo>>(std::move(columns))) {}

InsertStatementCache::~InsertStatementCache() {
    abandonSend();
    if (!statements_.empty() && statements_.begin()->second.statement.abandoned()) {
        // An insert left behind may still read the values bound to it.
        auto kept = std::make_shared<decltype(statements_)>(std::move(statements_));
        kept->begin()->second.statement.keepBound(kept);
    }
}

std::string InsertStatementCache::statementText(const std::vector<std::size_t>& columns) const {
    const NameRules rules = connection_.Names();
    std::string text = "INSERT INTO " + sqlIdentifier(tableName_, rules);
    if (columns.empty()) {
        return text +
               (connection_.Kind() == DatabaseKind::MariaDB ? " () VALUES ()" : " DEFAULT VALUES");
    }
    std::string names, markers;
    for (const std::size_t column : columns) {
        names += (names.empty() ? "" : ", ") + sqlIdentifier((*columns_)[column].name, rules);
        markers += markers.empty() ? "?" : ", ?";
    }
    return text + " (" + names + ") VALUES (" + markers + ")";
}

InsertStatementCache::Prepared&
InsertStatementCache::prepared(const std::vector<std::size_t>& columns) {
    if (last_ != nullptr && *lastColumns_ == columns) {
        return *last_;
    }
    auto found = statements_.find(columns);
    if (found == statements_.end()) {
        OdbcHandle statement = connection_.session().newStatement();
        std::string text = statementText(columns);
        checkStatement(statement, "Prepare " + text, [&] {
            return SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                              static_cast<SQLINTEGER>(text.size()));
        });
        // The buffers never move once bound.
        found = statements_
                    .emplace(columns, Prepared{std::move(statement),
                                               std::vector<ParameterBuffer>(columns.size()),
                                               std::move(text)})
                    .first;
    }
    lastColumns_ = &found->first;
    last_ = &found->second;
    return found->second;
}

long long InsertStatementCache::packetLimit() {
    if (packetLimit_ < 0 && connection_.Kind() != DatabaseKind::MariaDB) {
        packetLimit_ = 0;
    } else if (packetLimit_ < 0) {
        std::string text = "SELECT @@SESSION.max_allowed_packet";
        OdbcHandle statement = connection_.session().newStatement();
        checkStatement(statement, text, [&] {
            return SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                 static_cast<SQLINTEGER>(text.size()));
        });
        SQLBIGINT limit = 0;
        SQLLEN indicator = 0;
        packetLimit_ = SQLFetch(statement.get()) == SQL_SUCCESS &&
                               SQL_SUCCEEDED(SQLGetData(statement.get(), 1, SQL_C_SBIGINT, &limit,
                                                        sizeof limit, &indicator))
                           ? limit
                           : 0;
    }
    return packetLimit_;
}

void InsertStatementCache::insert(const std::vector<std::size_t>& columns,
                                  const std::vector<const Variant*>& values) {
    settle();
    Prepared& prepared = this->prepared(columns);
    const long long limit = packetLimit();
    connection_.parkStreams();
    bindRow(prepared.statement, prepared.buffers, *columns_, connection_.Kind(), limit, columns,
            values);
    const OdbcHandle& statement = prepared.statement;
    requireInserted(statement, checkStatement(statement, prepared.text, [&statement] {
                        return SQLExecute(statement.get());
                    }));
}

void InsertStatementCache::queue(const std::vector<std::size_t>& columns,
                                 std::vector<Variant> values) {
    if (packetLimit_ < 0 || statements_.count(columns) == 0) {
        // The session takes no other call while rows are on their way.
        settle();
    }
    Prepared& prepared = this->prepared(columns);
    packetLimit();
    const std::size_t bytes = heldBytes(values);
    queue_.push_back({&prepared, lastColumns_, std::move(values), bytes});
    queuedBytes_ += bytes;
}

std::vector<std::exception_ptr> InsertStatementCache::sendTraced() {
    std::vector<std::exception_ptr> outcomes;
    std::vector<const Variant*> pointers;
    while (!queue_.empty() && (outcomes.empty() || outcomes.back() == nullptr)) {
        const QueuedRow row = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= row.bytes;
        try {
            insert(*row.columns, pointersTo(row.values, pointers));
            outcomes.emplace_back();
        } catch (const std::exception& error) {
            if (wasCancelled(error)) {
                throw;
            }
            outcomes.push_back(std::current_exception());
        } catch (...) {
            outcomes.push_back(std::current_exception());
        }
    }
    return outcomes;
}

std::shared_ptr<InsertStatementCache::Batch> InsertStatementCache::takeBatch() {
    auto batch = std::make_shared<Batch>();
    Prepared* const prepared = queue_.front().prepared;
    while (!queue_.empty() && queue_.front().prepared == prepared) {
        queuedBytes_ -= queue_.front().bytes;
        batch->rows.push_back(std::move(queue_.front()));
        queue_.pop_front();
    }
    batch->columns = columns_;
    batch->kind = connection_.Kind();
    batch->packetLimit = packetLimit_;
    connection_.parkStreams();
    return batch;
}

std::function<SQLRETURN()> InsertStatementCache::sendingCall(std::shared_ptr<Batch> batch) {
    return [batch = std::move(batch)] {
        // Only what the batch holds: the caller may be gone when a call
        // left behind ends.
        const std::shared_ptr<Batch> held = batch;
        std::vector<const Variant*> pointers;
        for (const QueuedRow& row : held->rows) {
            const OdbcHandle& statement = row.prepared->statement;
            if (statement.givingUp()) {
                break;
            }
            try {
                bindRow(statement, row.prepared->buffers, *held->columns, held->kind,
                        held->packetLimit, *row.columns, pointersTo(row.values, pointers));
                requireInserted(statement, checkOdbc(SQLExecute(statement.get()), statement));
                held->outcomes.emplace_back();
            } catch (...) {
                held->outcomes.push_back(std::current_exception());
                break;
            }
        }
        return SQLRETURN{SQL_SUCCESS};
    };
}

std::vector<std::exception_ptr> InsertStatementCache::landedOutcomes(Batch& batch) {
    // What was not sent after a failure goes back to the front of the queue.
    for (std::size_t r = batch.rows.size(); r-- > batch.outcomes.size();) {
        queuedBytes_ += batch.rows[r].bytes;
        queue_.push_front(std::move(batch.rows[r]));
    }
    return std::move(batch.outcomes);
}

std::vector<std::exception_ptr> InsertStatementCache::sendQueued() {
    if (flight_ != nullptr) {
        return finishSend();
    }
    if (queue_.empty()) {
        return {};
    }
    const OdbcHandle& statement = queue_.front().prepared->statement;
    if (statement.trace() != nullptr) {
        return sendTraced();
    }
    const std::shared_ptr<Batch> batch = takeBatch();
    try {
        statement.runOwned(sendingCall(batch));
    } catch (...) {
        statement.keepBound(batch);
        throw;
    }
    return landedOutcomes(*batch);
}

bool InsertStatementCache::startSend() {
    if (flight_ != nullptr || queue_.empty()) {
        return false;
    }
    const OdbcHandle& statement = queue_.front().prepared->statement;
    if (statement.trace() != nullptr) {
        return false;
    }
    std::shared_ptr<Batch> batch = takeBatch();
    bool posted = false;
    try {
        posted = statement.post(sendingCall(batch));
    } catch (...) {
        landedOutcomes(*batch);
        throw;
    }
    if (!posted) {
        landedOutcomes(*batch);
        return false;
    }
    flight_ = std::move(batch);
    flightStatement_ = &statement;
    return true;
}

void InsertStatementCache::settle() noexcept {
    if (flight_ == nullptr || landed_) {
        return;
    }
    try {
        flightStatement_->collect();
    } catch (...) {
        flightStatement_->keepBound(flight_);
        flightFailure_ = std::current_exception();
    }
    landed_ = true;
}

std::vector<std::exception_ptr> InsertStatementCache::finishSend() {
    if (flight_ == nullptr) {
        return {};
    }
    settle();
    const std::shared_ptr<Batch> batch = std::exchange(flight_, nullptr);
    landed_ = false;
    if (flightFailure_ != nullptr) {
        std::rethrow_exception(std::exchange(flightFailure_, nullptr));
    }
    return landedOutcomes(*batch);
}

void InsertStatementCache::abandonSend() noexcept {
    if (flight_ != nullptr && !landed_) {
        flightStatement_->abandonPosted();
        flightStatement_->keepBound(flight_);
    }
    flight_ = nullptr;
    landed_ = false;
    flightFailure_ = nullptr;
}
