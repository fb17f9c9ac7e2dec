#include "OwnServers.h"
#include "app/CheckListBox.h"
#include "app/MoveHandlers.h"
#include "app/RecordProgressBar.h"
#include "app/TMainForm.h"
#include "dbaccess/odbc/Timeouts.h"
#include "dbaccess/values/TStrings.h"
#include "tests/app/RecordingDialogs.h"
#include "tests/mover/MoverRun.h"
#include "tests/support/ScratchDatabase.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

using Engine = TestDatabase::Engine;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs work; should it hang on the frozen server longer than limit, the
// server is thawed, so that the test fails instead of hanging.
template <class Work> void thawingAfter(Engine engine, std::chrono::seconds limit, Work work) {
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        const auto until = Clock::now() + limit;
        while (!done && Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!done) {
            serverCommand("thaw", engine);
        }
    });
    work();
    done = true;
    watchdog.join();
}

// a_readings (3000 rows) and b_after, through the engine's own client.
void fillReadings(const TestDatabase& source) {
    if (source.engine() == Engine::SQLite) {
        createReadings(source, 3000);
        return;
    }
    source.execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label TEXT); "
                   "INSERT INTO a_readings SELECT i, 'reading ' || i FROM generate_series(1, 3000) "
                   "i; CREATE TABLE b_after (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20)); "
                   "INSERT INTO b_after VALUES (1, 'one');");
}

struct ClosePipe {
    void operator()(FILE* pipe) const { pclose(pipe); }
};
using Client = std::unique_ptr<FILE, ClosePipe>;

// Another session, the engine's own client, that holds a lock until it is
// closed; null when it did not get the lock. A lock that outlives the bound
// by far fails the test rather than hanging it.
Client holdLock(const TestDatabase& database, const std::string& lock) {
    const auto marker = std::filesystem::temp_directory_path() / uniqueName("velbrook-lock");
    const char* shell = database.engine() == Engine::SQLite       ? ".shell"
                        : database.engine() == Engine::PostgreSQL ? "\\!"
                                                                  : "system";
    Client client(
        popen(("timeout 60 " + database.clientCommand() + " >/dev/null 2>&1").c_str(), "w"));
    std::fputs(
        database.clientScript(lock + "\n" + shell + " touch '" + marker.string() + "'\n").c_str(),
        client.get());
    std::fflush(client.get());
    for (int i = 0; i < 400 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return std::filesystem::remove(marker) ? std::move(client) : nullptr;
}

struct LockCase {
    const char* name;
    Engine engine;
    // The tables whose lines must tell of the lock, with blanks between.
    const char* lockedTables;
    // idSpan of the target's a_readings afterwards.
    const char* span;
    const char* lock;
};

class LockWaitTest : public ::testing::TestWithParam<LockCase> {};

// The target tables hold five and no rows before another session locks them.
TEST_P(LockWaitTest, ALockedTableFailsWithinTheLockWaitNamingTheLock) {
    const LockCase& lockCase = GetParam();
    const ScratchDatabase source = ScratchDatabase::empty(Engine::SQLite);
    const ScratchDatabase target = ScratchDatabase::empty(lockCase.engine);
    createReadings(source.database(), 3000);
    target->execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label "
                    "VARCHAR(200), amount DECIMAL(10,2)); INSERT INTO a_readings (id) VALUES (1), "
                    "(2), (3), (4), (5); CREATE TABLE b_after (id INTEGER NOT NULL PRIMARY KEY, "
                    "note VARCHAR(20));");
    Client lock = holdLock(target.database(), lockCase.lock);
    ASSERT_TRUE(lock);

    const auto start = Clock::now();
    const MoveRunRecord run = moveAllTables(source.database(), target.database());
    const double took = secondsSince(start);
    const std::string feedback = describeRun(run);

    const std::string locked = std::string(" ") + lockCase.lockedTables + " ";
    const auto lockedCount = std::count(locked.begin(), locked.end(), ' ') - 1;
    EXPECT_LT(took, static_cast<double>(lockWaitSeconds * lockedCount) + 4) << feedback;
    EXPECT_EQ(run.escaped, "") << feedback;
    ASSERT_EQ(run.view.results.size(), 2U) << feedback;
    for (const auto& line : run.view.results) {
        const std::string table = line.text.substr(0, line.text.find(' '));
        const bool isLocked = locked.find(" " + table + " ") != std::string::npos;
        EXPECT_EQ(line.ticked, !isLocked) << feedback;
        const auto reports =
            std::count_if(run.view.memo.begin(), run.view.memo.end(), [&](const std::string& m) {
                return m.rfind("Table: " + table + " ", 0) == 0 &&
                       lowerCase(m).find("lock") != std::string::npos;
            });
        EXPECT_EQ(reports, isLocked ? 1 : 0) << table << "\n" << feedback;
    }
    lock.reset();
    EXPECT_EQ(idSpan(target.database(), "a_readings"), lockCase.span);
}

INSTANTIATE_TEST_SUITE_P(
    , LockWaitTest,
    ::testing::Values(LockCase{"postgresql_table", Engine::PostgreSQL, "a_readings", "5|1|5",
                               "BEGIN; LOCK TABLE a_readings IN ACCESS EXCLUSIVE MODE;"},
                      LockCase{"postgresql_row", Engine::PostgreSQL, "a_readings", "1499|1|1499",
                               "BEGIN; INSERT INTO a_readings (id) VALUES (1500);"},
                      LockCase{"mariadb_table", Engine::MariaDB, "a_readings", "5|1|5",
                               "LOCK TABLES a_readings READ;"},
                      LockCase{"sqlite_database", Engine::SQLite, "a_readings b_after", "5|1|5",
                               "BEGIN IMMEDIATE;"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

class FrozenLoginTest : public ::testing::TestWithParam<Engine> {};

TEST_P(FrozenLoginTest, ConnectingToAFrozenServerGivesUpAfterTheLoginTimeout) {
    TADOConnection connection;
    connection.SetConnectionString(TestDatabase::open(GetParam()).connectionString());
    connection.SetConnectionTimeout(2);
    CrashedServer server(GetParam(), CrashedServer::Fault::Freeze);
    server.crash();

    const auto start = Clock::now();
    thawingAfter(GetParam(), std::chrono::seconds(10),
                 [&] { EXPECT_ANY_THROW(connection.SetConnected(true)); });
    EXPECT_LT(secondsSince(start), 4.5);
    EXPECT_FALSE(connection.Connected());
}

INSTANTIATE_TEST_SUITE_P(, FrozenLoginTest, ::testing::Values(Engine::PostgreSQL, Engine::MariaDB),
                         [](const auto& engineInfo) { return engineName(engineInfo.param); });

struct FrozenCase {
    Engine source;
    Engine target;
    bool sourceFreezes;
};

// The main window copies 3000 rows; the server of one side stops answering
// after 1000 of them, and Stop is pressed half a second later.
class FrozenServerTest : public ::testing::TestWithParam<FrozenCase> {};

TEST_P(FrozenServerTest, StopEndsTheRunAtOnceAndKeepsEveryCommittedRow) {
    const FrozenCase& frozen = GetParam();
    const ScratchDatabase source = ScratchDatabase::empty(frozen.source);
    const ScratchDatabase target = ScratchDatabase::empty(frozen.target);
    fillReadings(source.database());
    RecordingDialogs dialogs;
    dialogs.answers = {DialogResult::Yes};
    TMainForm form(dialogs);
    connectMoveHandlers(form);
    TADOConnection& frozenSide = frozen.sourceFreezes ? form.ADOConnection1 : form.ADOConnection2;
    const auto open = [&] {
        form.ADOConnection1.SetConnectionString(source->connectionString());
        form.ADOConnection2.SetConnectionString(target->connectionString());
        form.ADOConnection1.ListTableNames(form.clstSource->Items(), false);
        form.ADOConnection2.ListTableNames(form.FTargetTables, false);
        for (int i = 0; i < form.clstSource->count(); ++i) {
            form.clstSource->setChecked(i, true);
        }
    };
    open();
    const Engine frozenEngine = frozen.sourceFreezes ? frozen.source : frozen.target;
    CrashedServer server(frozenEngine, CrashedServer::Fault::Freeze);
    QElapsedTimer frozenFor, stopFor;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (!server.crashed() && form.pbRecords->position() > 1000) {
            server.crash();
            frozenFor.start();
        } else if (server.crashed() && !stopFor.isValid() && frozenFor.elapsed() > 500) {
            form.btnStopClick();
            stopFor.start();
        }
    });
    user.start(5);

    thawingAfter(frozenEngine, std::chrono::seconds(20), [&] { form.btnMoverClick(); });
    const qint64 frozenTook = frozenFor.elapsed();
    user.stop();
    server.resume();

    // Stop, pressed half a second into the freeze, ended the run about a second later.
    ASSERT_TRUE(stopFor.isValid());
    EXPECT_LT(frozenTook, 3000);
    EXPECT_FALSE(form.FMoving);
    EXPECT_EQ(form.clstTarget->count(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1U);
    EXPECT_EQ(dialogs.shown[0].text, "Stop Export?");
    // The server never answered the cancel: its connection is closed.
    EXPECT_FALSE(frozenSide.Connected());
    const std::string span = idSpan(target.database(), "a_readings");
    const std::string count = span.substr(0, span.find('|'));
    // Every row sent before the freeze is there, without a gap; the counter
    // runs up to one batch of rows ahead of them.
    EXPECT_EQ(span, count + "|1|" + count);
    EXPECT_GT(std::stoi(count), 0);

    open();
    form.btnMoverClick();
    ASSERT_EQ(form.clstTarget->count(), 2);
    EXPECT_EQ(form.clstTarget->item(0)->text(), "a_readings  Records: 3000");
    EXPECT_TRUE(form.clstTarget->checked(0));
    EXPECT_EQ(idSpan(target.database(), "a_readings"), "3000|1|3000");
}

INSTANTIATE_TEST_SUITE_P(, FrozenServerTest,
                         ::testing::Values(FrozenCase{Engine::SQLite, Engine::PostgreSQL, false},
                                           FrozenCase{Engine::SQLite, Engine::MariaDB, false},
                                           FrozenCase{Engine::PostgreSQL, Engine::SQLite, true}),
                         [](const auto& pairInfo) {
                             return engineName(pairInfo.param.source) + "_to_" +
                                    engineName(pairInfo.param.target);
                         });

// The source stops answering while it is read again to verify the copy:
// Stop still ends the run, as each side is read on a thread of its own.
TEST(FrozenVerificationTest, StopEndsTheRunWhileTheFrozenSourceIsReadAgain) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::PostgreSQL);
    const ScratchDatabase target = ScratchDatabase::empty(Engine::SQLite);
    source->execute("CREATE TABLE a_readings (id INTEGER NOT NULL PRIMARY KEY, label TEXT); "
                    "INSERT INTO a_readings SELECT i, 'reading ' || i FROM "
                    "generate_series(1, 5000) i;");
    CrashedServer server(Engine::PostgreSQL, CrashedServer::Fault::Freeze);
    Clock::time_point frozenAt;
    int passesAfterCopy = 0;
    MoveRunRecord run;
    thawingAfter(Engine::PostgreSQL, std::chrono::seconds(30), [&] {
        run = moveAllTables(source.database(), target.database(), [&](RecordingMoveView& view) {
            const bool copied =
                !view.messages.empty() && view.messages.back() == "End Move Source Data to Target";
            // The first pass is the message's own; the next ones are the reading's.
            if (!server.crashed() && copied && ++passesAfterCopy == 2) {
                server.crash();
                frozenAt = Clock::now();
            } else if (server.crashed() && !view.stopRequested() && secondsSince(frozenAt) > 0.5 &&
                       secondsSince(frozenAt) < 3) {
                view.answers = {true};
                view.pressStop();
            }
        });
    });
    server.resume();
    EXPECT_EQ(run.view.questions, (std::vector<std::string>{"Stop Export?"})) << describeRun(run);
    EXPECT_EQ(run.view.messages.back(), "Move terminated by user !!");
    EXPECT_TRUE(run.view.results.empty());
    EXPECT_EQ(idSpan(target.database(), "a_readings"), "5000|1|5000");
}

} // namespace
