#pragma once

#include "CanonicalReader.h"

#include <functional>
#include <memory>
#include <thread>

// Reads a side on a thread of its own, a few blocks of rows ahead of the
// comparison, so that both sides of a table are read at once and a server
// that stops answering holds up the thread, not the caller. Only for a side
// read through its database's own library: the driver's calls belong to the
// connection's thread.
class ReadAhead : public CanonicalRows {
public:
    // waiting runs every few milliseconds while the next rows are late; it
    // may throw to give up.
    ReadAhead(std::unique_ptr<CanonicalReader> reader, std::function<void()> waiting);
    ~ReadAhead() override;
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Raises what reading the side raised, at the row where it did.
    bool next(CanonicalRow& row) override;

private:
    struct Shared;
    static void readBlocks(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    std::function<void()> waiting_;
    std::vector<CanonicalRow> block_;
    std::size_t taken_ = 0;
    bool finished_ = false;
    std::thread thread_;
};
