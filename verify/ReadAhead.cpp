#include "ReadAhead.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

namespace {

constexpr std::size_t blockRows = 256;
constexpr std::size_t blocksAhead = 4;
constexpr auto waitingPace = std::chrono::milliseconds(20);
// How long the end waits for a read in progress before leaving it behind.
constexpr auto lastWait = std::chrono::seconds(1);

} // namespace

// What the reading thread and the caller share; the thread holds it until
// it ends, so that a read left behind has its reader to finish with.
struct ReadAhead::Shared {
    std::unique_ptr<CanonicalReader> reader;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<CanonicalRow>> blocks;
    // The last block is queued, or reading failed with error.
    bool done = false;
    std::exception_ptr error;
    bool stop = false;
    bool ended = false;
};

ReadAhead::ReadAhead(std::unique_ptr<CanonicalReader> reader, std::function<void()> waiting)
    : shared_(std::make_shared<Shared>()), waiting_(std::move(waiting)) {
    shared_->reader = std::move(reader);
    thread_ = std::thread(readBlocks, shared_);
}

ReadAhead::~ReadAhead() {
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->changed.notify_all();
    const bool ended = shared_->changed.wait_for(lock, lastWait, [this] { return shared_->ended; });
    lock.unlock();
    if (ended) {
        thread_.join();
    } else {
        // A server that answers nothing holds the read; it ends when the
        // server answers or the connection drops, and frees what it holds.
        thread_.detach();
    }
}

bool ReadAhead::next(CanonicalRow& row) {
    while (taken_ == block_.size()) {
        if (finished_) {
            return false;
        }
        std::unique_lock lock(shared_->mutex);
        while (!shared_->changed.wait_for(
            lock, waitingPace, [this] { return !shared_->blocks.empty() || shared_->done; })) {
            lock.unlock();
            waiting_();
            lock.lock();
        }
        if (shared_->blocks.empty()) {
            finished_ = true;
            if (shared_->error) {
                std::rethrow_exception(shared_->error);
            }
            return false;
        }
        block_ = std::move(shared_->blocks.front());
        shared_->blocks.pop_front();
        taken_ = 0;
        shared_->changed.notify_all();
    }
    row.swap(block_[taken_++]);
    return true;
}

void ReadAhead::readBlocks(const std::shared_ptr<Shared>& shared) {
    try {
        bool last = false;
        while (!last) {
            std::vector<CanonicalRow> block(blockRows);
            std::size_t rows = 0;
            while (rows < blockRows && shared->reader->next(block[rows])) {
                ++rows;
            }
            block.resize(rows);
            last = rows < blockRows;
            std::unique_lock lock(shared->mutex);
            shared->changed.wait(
                lock, [&] { return shared->stop || shared->blocks.size() < blocksAhead; });
            if (shared->stop) {
                break;
            }
            if (rows > 0) {
                shared->blocks.push_back(std::move(block));
            }
            shared->done = last;
            shared->changed.notify_all();
        }
    } catch (...) {
        const std::lock_guard lock(shared->mutex);
        shared->error = std::current_exception();
        shared->done = true;
        shared->changed.notify_all();
    }
    // The connection closes here, on the thread that read through it.
    shared->reader.reset();
    const std::lock_guard lock(shared->mutex);
    shared->ended = true;
    shared->changed.notify_all();
}
