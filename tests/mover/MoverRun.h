#pragma once

#include "RecordingMoveView.h"
#include "tests/support/TestDatabase.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// A source and a target engine of the copy matrix.
struct CopyPair {
    TestDatabase::Engine source;
    TestDatabase::Engine target;
};

// The pairs every copy test runs on.
std::vector<CopyPair> copyPairs();
// Every ordered pair of engines, each engine with itself included.
std::vector<CopyPair> allCopyPairs();
// e.g. sqlite_to_postgresql
std::string pairName(const CopyPair& pair);
void PrintTo(const CopyPair& pair, std::ostream* out);

struct MoveRunRecord {
    RecordingMoveView view;
    // The text of an exception that left the run, empty when none did.
    std::string escaped;
};

// Opens both connections as the window does (the target's table names go
// lower-cased into the list), lists every source table ticked and presses
// Execute; the connections are closed again when it returns.
// duringEvents, when given, runs at every pass of the event loop.
MoveRunRecord moveAllTables(const TestDatabase& source, const TestDatabase& target,
                            std::function<void(RecordingMoveView&)> duringEvents = {});

// Every line of a run's feedback, for failure messages.
std::string describeRun(const MoveRunRecord& run);
