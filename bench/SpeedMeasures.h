#pragma once

#include <cstdint>
#include <string>

// One measurement, run in a process of its own so that its peak memory is its own.
struct Measurement {
    double seconds = 0;
    // Resident memory before the timed work and at its peak, in bytes.
    std::int64_t baseBytes = 0;
    std::int64_t peakBytes = 0;
    // Bytes of the values fetched, as the driver's text (the limit only).
    std::int64_t rawBytes = 0;
    // Whether the copy arrived whole and verified.
    bool complete = false;
};

struct MeasuredPair {
    std::string sourceEngine;
    std::string source;
    std::string targetEngine;
    std::string target;
    int rows = 0;
};

// A bare loop over the drivers: fetch the table, one prepared INSERT per row.
Measurement measureLimit(const MeasuredPair& pair);
// MoveTable with a view that shows nothing; with handOver, every driver call
// goes to the session's worker thread as under the window.
Measurement measureMover(const MeasuredPair& pair, bool handOver = false);
// The main window, driven through its Execute handler.
Measurement measureWindow(const MeasuredPair& pair, int argc, char** argv);
// The target database's own INSERT ... SELECT from a copy of the rows in it.
Measurement measureFloor(const MeasuredPair& pair);

// The floor's copy of the rows in the target database.
constexpr const char* floorTable = "bench_floor_rows";
