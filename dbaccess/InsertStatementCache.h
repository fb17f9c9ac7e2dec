#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ParameterBinding.h"
#include "dbaccess/values/Variant.h"

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TADOConnection;

// Inserts rows into one table: one prepared INSERT for each distinct set of
// columns, executed again for every row. Rows may also be queued and sent
// together, each still its own INSERT, in one call of the session: under the
// window that is one hand-off to the session's worker for many rows.
class InsertStatementCache {
public:
    InsertStatementCache(TADOConnection& connection, std::string tableName,
                         std::vector<ColumnInfo> columns);
    ~InsertStatementCache();
    InsertStatementCache(const InsertStatementCache&) = delete;
    InsertStatementCache& operator=(const InsertStatementCache&) = delete;

    // Sends one row with the given columns (indexes into the column list).
    void insert(const std::vector<std::size_t>& columns, const std::vector<const Variant*>& values);

    // Keeps a row to be sent by sendQueued(); prepares its statement now.
    void queue(const std::vector<std::size_t>& columns, std::vector<Variant> values);
    std::size_t queuedRows() const noexcept { return queue_.size(); }
    // The bytes of the queued rows' text and binary values.
    std::size_t queuedBytes() const noexcept { return queuedBytes_; }
    // Sends queued rows in order, in one call: up to the first row that
    // fails or that another statement inserts. For each row sent, null when
    // it arrived, otherwise what refused it; the rest stay queued. Raises
    // only what ends the call itself (a cancel), and then no row's outcome
    // is known.
    std::vector<std::exception_ptr> sendQueued();
    // Starts sending queued rows as sendQueued() does, on the session's
    // worker, and returns at once: rows may be queued meanwhile. False, with
    // nothing sent, when they cannot go that way (rows on their way already,
    // a trace, a handle without a session).
    bool startSend();
    bool sending() const noexcept { return flight_ != nullptr; }
    // Gives the rows on their way up (SessionCalls::abandonPosted).
    void abandonSend() noexcept;
    void dropQueued() noexcept {
        queue_.clear();
        queuedBytes_ = 0;
    }

private:
    // A prepared statement and the buffers its parameters stay bound to.
    struct Prepared {
        OdbcHandle statement;
        std::vector<ParameterBuffer> buffers;
        std::string text;
    };
    struct QueuedRow {
        Prepared* prepared = nullptr;
        const std::vector<std::size_t>* columns = nullptr;
        std::vector<Variant> values;
        std::size_t bytes = 0;
    };
    struct Batch;

    Prepared& prepared(const std::vector<std::size_t>& columns);
    std::string statementText(const std::vector<std::size_t>& columns) const;
    long long packetLimit();
    // sendQueued() a row at a time, each told to the session's trace.
    std::vector<std::exception_ptr> sendTraced();
    // The rows at the front of the queue that one statement inserts.
    std::shared_ptr<Batch> takeBatch();
    // The call that sends a batch, holding it.
    static std::function<SQLRETURN()> sendingCall(std::shared_ptr<Batch> batch);
    // The outcomes of a batch sent; its rows not sent go back to the queue.
    std::vector<std::exception_ptr> landedOutcomes(Batch& batch);
    // Waits for the rows on their way, keeping their outcomes for finishSend().
    void settle() noexcept;
    // Waits for the rows startSend() sent: what sendQueued() gives for them.
    std::vector<std::exception_ptr> finishSend();

    TADOConnection& connection_;
    std::string tableName_;
    // Shared with a batch that a call left behind may still be sending.
    std::shared_ptr<const std::vector<ColumnInfo>> columns_;
    std::map<std::vector<std::size_t>, Prepared> statements_;
    // The last statement used; rows mostly come with the same columns.
    const std::vector<std::size_t>* lastColumns_ = nullptr;
    Prepared* last_ = nullptr;
    // The server's max_allowed_packet (MariaDB), read with the first row.
    long long packetLimit_ = -1;
    std::deque<QueuedRow> queue_;
    std::size_t queuedBytes_ = 0;
    // The rows on their way, the statement that sends them, and whether the
    // call is over already (then what it raised, if anything).
    std::shared_ptr<Batch> flight_;
    const OdbcHandle* flightStatement_ = nullptr;
    bool landed_ = false;
    std::exception_ptr flightFailure_;
};
