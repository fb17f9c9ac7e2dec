#include "OwnServers.h"
#include "tests/mover/MoverRun.h"
#include "tests/support/ScratchDatabase.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Engine = TestDatabase::Engine;
using Line = RecordingMoveView::ResultLine;

bool shownDisconnected(const RecordingMoveView& view, bool target) {
    const auto& states = view.connectionStates;
    return std::find(states.begin(), states.end(), std::make_pair(target, 0)) != states.end();
}

// One report of the fault in a_readings (3000 rows): one memo line, its
// message once, the table's unticked line, and the run's end naming it.
void expectOneReportThatEndsTheRun(const MoveRunRecord& run, const std::string& feedback) {
    ASSERT_EQ(run.view.memo.size(), 1U) << feedback;
    const std::string prefix = "Table: a_readings ";
    ASSERT_EQ(run.view.memo[0].rfind(prefix, 0), 0U) << feedback;
    // The row in hand, when there is one, and the cause.
    std::string cause = run.view.memo[0].substr(prefix.size());
    if (cause.rfind("row ", 0) == 0) {
        cause = cause.substr(cause.find(": ") + 2);
    }
    EXPECT_EQ(std::count(run.view.messages.begin(), run.view.messages.end(), cause), 1) << feedback;
    EXPECT_EQ(run.escaped, cause) << feedback;
    EXPECT_EQ(run.view.results,
              (std::vector<Line>{{"a_readings Append Error! Records: 3000", false}}));
}

// The target server ends while a table of 3000 rows is copied.
class LostServerTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (!haveOwnServers()) {
            GTEST_FAIL() << "run through tests/faults/with-own-servers";
        }
    }
};

TEST_P(LostServerTest, EndsTheRunAtTheFirstFailedRowAndKeepsEveryCommittedRow) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::SQLite);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam());
    createReadings(source.database(), 3000);
    CrashedServer server(GetParam());

    // The server stops as the display reaches row 1000.
    const MoveRunRecord run =
        moveAllTables(source.database(), target.database(), [&](RecordingMoveView& view) {
            if (!server.crashed() && view.recordMaximum() == 3000 &&
                view.recordPosition() == 1001) {
                server.crash();
            }
        });
    const std::string feedback = describeRun(run);

    ASSERT_TRUE(server.crashed()) << feedback;
    // One report: no row was tried after the first that failed.
    expectOneReportThatEndsTheRun(run, feedback);
    EXPECT_TRUE(shownDisconnected(run.view, true)) << feedback;

    server.resume();
    const int committed = rowsBeforeTheReportedRow(run.view.memo[0]);
    ASSERT_GT(committed, 0) << feedback;
    EXPECT_EQ(idSpan(target.database(), "a_readings"),
              std::to_string(committed) + "|1|" + std::to_string(committed));

    const MoveRunRecord again = moveAllTables(source.database(), target.database());
    EXPECT_EQ(again.escaped, "") << describeRun(again);
    EXPECT_EQ(again.view.results, (std::vector<Line>{{"a_readings  Records: 3000", true},
                                                     {"b_after  Records: 2", true}}))
        << describeRun(again);
    EXPECT_EQ(idSpan(target.database(), "a_readings"), "3000|1|3000");
}

// The catalog lookups before the cursors open meet a dead connection: the
// table gets its result line before the run ends.
TEST_P(LostServerTest, ATableThatCannotBeOpenedGetsItsResultLine) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::SQLite);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam());
    createReadings(source.database(), 20);
    CrashedServer server(GetParam());

    const MoveRunRecord run = moveAllTables(source.database(), target.database(),
                                            [&](RecordingMoveView&) { server.crash(); });
    const std::string feedback = describeRun(run);

    EXPECT_NE(run.escaped, "") << feedback;
    // The open error says why, once.
    ASSERT_EQ(run.view.memo.size(), 1U) << feedback;
    EXPECT_EQ(run.view.memo[0].rfind("Table: a_readings ", 0), 0U) << feedback;
    ASSERT_EQ(run.view.results.size(), 1U) << feedback;
    EXPECT_EQ(run.view.results[0].text.rfind("a_readings Target Table Open Error!! Records: ", 0),
              0U)
        << feedback;
    EXPECT_FALSE(run.view.results[0].ticked);
    EXPECT_TRUE(shownDisconnected(run.view, true)) << feedback;
    EXPECT_TRUE(std::find(run.view.messages.begin(), run.view.messages.end(),
                          "Deleting Target Data") == run.view.messages.end())
        << feedback;
}

// The rows of a source come a block at a time: a source server that ends
// mid-table ends the table after one report and keeps the rows that came.
TEST(LostSourceTest, EndsTheTableAtTheFirstBlockThatCannotBeRead) {
    if (!haveOwnServers()) {
        GTEST_FAIL() << "run through tests/faults/with-own-servers";
    }
    const ScratchDatabase source = ScratchDatabase::empty(Engine::PostgreSQL);
    const ScratchDatabase target = ScratchDatabase::empty(Engine::SQLite);
    source->execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label "
                    "VARCHAR(200)); INSERT INTO a_readings SELECT i, 'reading ' || i || ' ' || "
                    "repeat('0', 128) FROM generate_series(1, 3000) i;");
    CrashedServer server(Engine::PostgreSQL);

    const MoveRunRecord run =
        moveAllTables(source.database(), target.database(), [&](RecordingMoveView& view) {
            if (view.recordMaximum() == 3000 && view.recordPosition() == 1001) {
                server.crash();
            }
        });
    const std::string feedback = describeRun(run);

    ASSERT_TRUE(server.crashed()) << feedback;
    expectOneReportThatEndsTheRun(run, feedback);
    EXPECT_TRUE(shownDisconnected(run.view, false)) << feedback;
    // Every row that came arrived, in order, and no more.
    const std::string span = idSpan(target.database(), "a_readings");
    const std::string count = span.substr(0, span.find('|'));
    EXPECT_EQ(span, count + "|1|" + count);
    EXPECT_GE(std::stoi(count), 1000);
    EXPECT_LT(std::stoi(count), 3000);
}

INSTANTIATE_TEST_SUITE_P(, LostServerTest, ::testing::Values(Engine::PostgreSQL, Engine::MariaDB),
                         [](const auto& engineInfo) { return engineName(engineInfo.param); });

} // namespace
