#include "OwnServers.h"
#include "tests/mover/MoverRun.h"
#include "tests/support/ScratchDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Line = RecordingMoveView::ResultLine;

// A tmpfs of its own, mounted while the object lives (root only).
class SmallFileSystem {
public:
    SmallFileSystem() {
        char pattern[] = "/tmp/velbrook-fs.XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            folder_ = pattern;
        }
    }
    ~SmallFileSystem() {
        if (mounted_) {
            run("umount '" + folder_ + "'");
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // Empty when it could be mounted, else why not.
    std::string mount(const std::string& size) {
        if (::geteuid() != 0) {
            return "a file system of limited size needs root to mount";
        }
        if (folder_.empty() ||
            !run("mount -t tmpfs -o size=" + size + " tmpfs '" + folder_ + "'")) {
            return "tmpfs could not be mounted here";
        }
        mounted_ = true;
        return {};
    }
    bool remount(const std::string& options) {
        return run("mount -o remount," + options + " '" + folder_ + "'");
    }
    std::string path(const std::string& file) const { return folder_ + "/" + file; }

private:
    static bool run(const std::string& command) {
        return std::system((command + " 2>/dev/null").c_str()) == 0;
    }

    std::string folder_;
    bool mounted_ = false;
};

TEST(DiskFaultTest, AFullDiskEndsTheTableAfterOneReportAndKeepsEveryCommittedRow) {
    SmallFileSystem disk;
    if (const std::string reason = disk.mount("320k"); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    const TestDatabase source = TestDatabase::open(TestDatabase::Engine::SQLite);
    const TestDatabase target = TestDatabase::sqliteFile(disk.path("target.sqlite"));
    createReadings(source, 3000);

    const MoveRunRecord run = moveAllTables(source, target);
    const std::string feedback = describeRun(run);

    // The connection still works: the run goes on, each table reports at most once.
    EXPECT_EQ(run.escaped, "") << feedback;
    ASSERT_GE(run.view.memo.size(), 1U) << feedback;
    EXPECT_LE(run.view.memo.size(), 2U) << feedback;
    EXPECT_EQ(run.view.memo[0].rfind("Table: a_readings ", 0), 0U) << feedback;
    ASSERT_EQ(run.view.results.size(), 2U) << feedback;
    EXPECT_EQ(run.view.results[0].text, "a_readings Append Error! Records: 3000");
    EXPECT_FALSE(run.view.results[0].ticked);
    const int committed = rowsBeforeTheReportedRow(run.view.memo[0]);
    ASSERT_GT(committed, 0) << feedback;
    EXPECT_EQ(idSpan(target, "a_readings"),
              std::to_string(committed) + "|1|" + std::to_string(committed));

    ASSERT_TRUE(disk.remount("size=64m"));
    const MoveRunRecord again = moveAllTables(source, target);
    EXPECT_EQ(again.view.results, (std::vector<Line>{{"a_readings  Records: 3000", true},
                                                     {"b_after  Records: 2", true}}))
        << describeRun(again);
    EXPECT_EQ(idSpan(target, "a_readings"), "3000|1|3000");
    std::filesystem::remove(source.file());
}

TEST(DiskFaultTest, AReadOnlyDatabaseKeepsItsRowsAndEachTableReportsOnce) {
    SmallFileSystem disk;
    const std::string reason = disk.mount("4m");
    const bool asRoot = reason.empty();
    if (!asRoot && ::geteuid() == 0) {
        GTEST_SKIP() << reason;
    }
    const TestDatabase source = TestDatabase::open(TestDatabase::Engine::SQLite);
    const std::string file = asRoot ? disk.path("target.sqlite") : source.file() + ".target";
    const TestDatabase target = TestDatabase::sqliteFile(file);
    createReadings(source, 40);
    createReadings(target, 5);
    // Root writes any file: only a read-only mount keeps it out.
    if (asRoot) {
        ASSERT_TRUE(disk.remount("ro"));
    } else {
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    }

    const MoveRunRecord run = moveAllTables(source, target);
    const std::string feedback = describeRun(run);

    EXPECT_EQ(run.escaped, "") << feedback;
    ASSERT_EQ(run.view.memo.size(), 2U) << feedback;
    EXPECT_EQ(run.view.memo[0].rfind("Table: a_readings ", 0), 0U) << feedback;
    EXPECT_EQ(run.view.memo[1].rfind("Table: b_after ", 0), 0U) << feedback;
    ASSERT_EQ(run.view.results.size(), 2U) << feedback;
    EXPECT_FALSE(run.view.results[0].ticked);
    EXPECT_FALSE(run.view.results[1].ticked);
    EXPECT_EQ(idSpan(target, "a_readings"), "5|1|5");

    if (asRoot) {
        ASSERT_TRUE(disk.remount("rw"));
    } else {
        std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
    }
    const MoveRunRecord again = moveAllTables(source, target);
    EXPECT_EQ(again.view.results,
              (std::vector<Line>{{"a_readings  Records: 40", true}, {"b_after  Records: 2", true}}))
        << describeRun(again);
    EXPECT_EQ(idSpan(target, "a_readings"), "40|1|40");
    std::filesystem::remove(source.file());
    if (!asRoot) {
        std::filesystem::remove(file);
    }
}

// A user who may read and delete a target's rows but not insert any: the
// target keeps its rows and each table says why once.
class RefusedInserts : public ::testing::TestWithParam<TestDatabase::Engine> {};

TEST_P(RefusedInserts, LeaveTheTargetAsItWas) {
    const bool postgresql = GetParam() == TestDatabase::Engine::PostgreSQL;
    const TestDatabase source = TestDatabase::open(TestDatabase::Engine::SQLite);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam());
    createReadings(source, 40);
    createReadings(target.database(), 5);
    const std::string user = uniqueName("reader");
    target->execute(postgresql ? "CREATE ROLE " + user +
                                     " LOGIN PASSWORD 'reader';"
                                     "GRANT SELECT, DELETE ON a_readings, b_after TO " +
                                     user + ";"
                               : "CREATE USER '" + user +
                                     "'@'%' IDENTIFIED BY 'reader';"
                                     "GRANT SELECT, DELETE ON a_readings TO '" +
                                     user +
                                     "'@'%';"
                                     "GRANT SELECT, DELETE ON b_after TO '" +
                                     user + "'@'%';");

    const MoveRunRecord run = moveAllTables(source, target->asUser(user, "reader"));
    const std::string feedback = describeRun(run);
    target->execute(postgresql ? "DROP OWNED BY " + user + ";DROP ROLE " + user + ";"
                               : "DROP USER '" + user + "'@'%';");

    EXPECT_EQ(run.escaped, "") << feedback;
    EXPECT_EQ(run.view.memo.size(), 2U) << feedback;
    EXPECT_EQ(run.view.results,
              (std::vector<Line>{{"a_readings Target Table Open Error!! Records: 40", false},
                                 {"b_after Target Table Open Error!! Records: 2", false}}))
        << feedback;
    EXPECT_EQ(idSpan(target.database(), "a_readings"), "5|1|5");
    std::filesystem::remove(source.file());
}

INSTANTIATE_TEST_SUITE_P(, RefusedInserts,
                         ::testing::Values(TestDatabase::Engine::PostgreSQL,
                                           TestDatabase::Engine::MariaDB),
                         [](const auto& engine) { return engineName(engine.param); });

} // namespace
