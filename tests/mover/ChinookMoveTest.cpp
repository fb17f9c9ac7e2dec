#include "ChinookData.h"
#include "MoverRun.h"
#include "TableCheck.h"
#include "dbaccess/values/TStrings.h"
#include "tests/support/ScratchDatabase.h"

#include <gtest/gtest.h>

namespace {

class ChinookMoveTest : public ::testing::TestWithParam<CopyPair> {
protected:
    // Every source table arrived with every value, and the run reported each
    // one as a ticked line with the source's row count and nothing in the memo.
    void expectEveryTableCopied(const TestDatabase& source, const TestDatabase& target,
                                const MoveRunRecord& run) {
        const std::string feedback = describeRun(run);
        EXPECT_EQ(run.escaped, "") << feedback;
        EXPECT_TRUE(run.view.memo.empty()) << feedback;
        ASSERT_EQ(run.view.sources.size(), 11U) << feedback;

        std::vector<RecordingMoveView::ResultLine> expectedResults;
        int rows = 0;
        for (const auto& item : run.view.sources) {
            const int count = rowCount(source, item.text);
            rows += count;
            expectedResults.push_back(
                {lowerCase(item.text) + "  Records: " + std::to_string(count), true});

            const std::string copy = findTable(target, item.text);
            ASSERT_NE(copy, "") << item.text << " missing in the target\n" << feedback;
            const TableComparison comparison = compareTables(source, item.text, target, copy);
            EXPECT_TRUE(comparison.differences.empty())
                << "table " << item.text << " (target " << copy << "):\n"
                << ::testing::PrintToString(comparison.differences);
            EXPECT_EQ(comparison.targetRows, count) << item.text;
        }
        ASSERT_EQ(run.view.results.size(), expectedResults.size()) << feedback;
        for (std::size_t i = 0; i < expectedResults.size(); ++i) {
            EXPECT_EQ(run.view.results[i].text, expectedResults[i].text);
            EXPECT_TRUE(run.view.results[i].ticked) << run.view.results[i].text;
        }
        EXPECT_EQ(rows, 15607);
    }
};

TEST_P(ChinookMoveTest, CreatesEveryTableInAnEmptyTargetAndCopiesEveryRow) {
    const ScratchDatabase source = loadChinook(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    EXPECT_EQ(tableNames(target.database()).size(), 11U) << describeRun(run);
    expectEveryTableCopied(source.database(), target.database(), run);
}

TEST_P(ChinookMoveTest, FillsTablesThatAlreadyExistInTheTarget) {
    const ScratchDatabase source = loadChinook(GetParam().source);
    const ScratchDatabase target = ScratchDatabase::empty(GetParam().target);
    // The target's tables carry the source's names in their spelling and the
    // primary keys, but no foreign keys: tables are moved in list order.
    for (const auto& table : tableNames(source.database())) {
        createTableLike(target.database(), table, describeTable(source.database(), table));
    }
    // Rows that the move must replace.
    const std::string genre = findTable(target.database(), "genre");
    const auto genreColumns = describeTable(target.database(), genre);
    target->execute("INSERT INTO " + target->quoted(genre) + " VALUES (999, 'stale');");
    const auto before = tableNames(target.database());

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    // No table was created beside the existing ones.
    EXPECT_EQ(tableNames(target.database()), before) << describeRun(run);
    expectEveryTableCopied(source.database(), target.database(), run);
    EXPECT_EQ(target->queryValue("SELECT COUNT(*) FROM " + target->quoted(genre) + " WHERE " +
                                 target->quoted(genreColumns.at(0).name) + " = 999;"),
              "0");
}

INSTANTIATE_TEST_SUITE_P(, ChinookMoveTest, ::testing::ValuesIn(copyPairs()),
                         [](const auto& pairInfo) { return pairName(pairInfo.param); });

} // namespace
