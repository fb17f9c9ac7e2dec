#pragma once

#include "MoveContext.h"
#include "MoveView.h"

#include <chrono>
#include <deque>
#include <exception>
#include <string>
#include <vector>

// The rows of one table on their way into the target. Each row is still its
// own INSERT, but the rows are sent together, as many as take about ten
// milliseconds and hold a few megabytes at most: one hand-off to the
// connection's worker for them all, not one a row. While they go, the next
// rows are read and queued. A row's reports wait with it, so that the memo
// names the rows in their order.
class QueuedRows {
public:
    QueuedRows(MoveContext& context, MoveView& view, std::string name)
        : context_(context), view_(view), name_(std::move(name)) {}
    // Rows still on their way when the table ends by an error are given up.
    ~QueuedRows();
    QueuedRows(const QueuedRows&) = delete;
    QueuedRows& operator=(const QueuedRows&) = delete;

    // Queues the target's pending row, or drops it when filling it failed;
    // reports are those made while filling it.
    void add(std::string rowText, std::vector<std::string> reports, std::exception_ptr failure);
    bool full() const noexcept;
    // Reports the rows sent before, in order, and starts the rest on their
    // way; the message of a failure that ends the table, when one did.
    // Raises a cancel.
    std::string sendOn();
    // Sends every row queued and reports them all, the same way.
    std::string send();

private:
    struct Row {
        std::string text;
        std::vector<std::string> reports;
        std::exception_ptr failure;
        bool queued = false;
    };

    std::string send(bool waitForAll);
    // Reports a row's failure; true when it ends the table.
    bool reportFailure(const Row& row, const std::exception_ptr& failure, std::string& cause);
    void fitLimit(std::size_t sent, std::chrono::steady_clock::duration took);

    MoveContext& context_;
    MoveView& view_;
    std::string name_;
    std::deque<Row> rows_;
    // How many of the rows were queued before the rows on their way left.
    std::size_t sentOn_ = 0;
    std::chrono::steady_clock::time_point sentAt_;
    std::size_t limit_ = 4;
};
