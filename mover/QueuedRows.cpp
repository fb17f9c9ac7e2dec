#include "QueuedRows.h"

#include "CopyLoop.h"
#include "dbaccess/odbc/Failures.h"
#include "dbaccess/values/Exceptions.h"

#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// What a send may take: the window waits that long between its passes.
constexpr auto batchTime = 10ms;
constexpr std::size_t mostRows = 1000;
constexpr std::size_t mostBytes = 4 << 20;

} // namespace

void QueuedRows::add(std::string rowText, std::vector<std::string> reports,
                     std::exception_ptr failure) {
    bool queued = false;
    if (failure == nullptr) {
        try {
            context_.targetTable.PostQueued();
            queued = true;
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (!queued) {
        // A row that failed is reported once and never sent.
        context_.targetTable.Cancel();
    }
    rows_.push_back({std::move(rowText), std::move(reports), std::move(failure), queued});
}

QueuedRows::~QueuedRows() {
    context_.targetTable.AbandonSend();
}

bool QueuedRows::full() const noexcept {
    return rows_.size() - sentOn_ >= limit_ || context_.targetTable.QueuedBytes() >= mostBytes;
}

std::string QueuedRows::sendOn() {
    return send(false);
}

std::string QueuedRows::send() {
    return send(true);
}

std::string QueuedRows::send(bool waitForAll) {
    TCustomADODataSet& target = context_.targetTable;
    std::vector<std::exception_ptr> outcomes;
    std::size_t next = 0;
    std::string cause;
    std::size_t done = 0;
    for (; done < rows_.size(); ++done) {
        const Row& row = rows_[done];
        std::exception_ptr failure = row.failure;
        if (row.queued && next == outcomes.size()) {
            // Rows on their way are collected first: StartSend() starts none then.
            const bool landing = target.Sending();
            if (!waitForAll && target.StartSend()) {
                // This row and the ones after it are on their way.
                sentAt_ = Clock::now();
                break;
            }
            const auto start = landing ? sentAt_ : Clock::now();
            outcomes = target.SendQueued();
            fitLimit(outcomes.size(), Clock::now() - start);
            next = 0;
        }
        for (const std::string& report : row.reports) {
            reportError(context_, view_, name_, report, row.text);
        }
        if (row.queued) {
            failure = next < outcomes.size()
                          ? outcomes[next++]
                          : std::make_exception_ptr(EDatabaseError("The row was not sent"));
        }
        if (failure != nullptr && reportFailure(row, failure, cause)) {
            // Every later row would fail the same way: one report is enough.
            target.DropQueued();
            done = rows_.size();
            break;
        }
    }
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(done));
    sentOn_ = rows_.size();
    return cause;
}

bool QueuedRows::reportFailure(const Row& row, const std::exception_ptr& failure,
                               std::string& cause) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        if (wasCancelled(error)) {
            throw;
        }
        // Every failure of a row counts, not only database errors.
        reportError(context_, view_, name_, error.what(), row.text);
        if (endsTable(context_, error)) {
            cause = error.what();
            return true;
        }
    } catch (...) {
        reportError(context_, view_, name_, "Unknown error", row.text);
    }
    return false;
}

void QueuedRows::fitLimit(std::size_t sent, Clock::duration took) {
    if (sent == 0) {
        return;
    }
    const auto perRow = std::max<Clock::duration>(took / static_cast<long>(sent), 1us);
    const auto fitting = static_cast<std::size_t>(batchTime / perRow);
    limit_ = std::clamp<std::size_t>(fitting, 1, std::min(limit_ * 4, mostRows));
}
