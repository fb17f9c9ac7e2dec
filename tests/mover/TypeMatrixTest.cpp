#include "ExactComparison.h"
#include "MoverRun.h"
#include "TableCheck.h"
#include "TypeMatrixData.h"
#include "dbaccess/values/TStrings.h"
#include "tests/support/ScratchDatabase.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine = TestDatabase::Engine;

enum class TargetMode { Created, Existing };

// What the run told the user, without the routine message lines.
std::string outcome(const MoveRunRecord& run) {
    constexpr std::size_t shownMemo = 8;
    std::string text;
    if (!run.escaped.empty()) {
        text += "escaped: " + run.escaped + "\n";
    }
    for (const auto& line : run.view.errors) {
        text += "error dialog: " + line + "\n";
    }
    for (std::size_t i = 0; i < std::min(run.view.memo.size(), shownMemo); ++i) {
        text += "memo: " + run.view.memo[i] + "\n";
    }
    if (run.view.memo.size() > shownMemo) {
        text += "and " + std::to_string(run.view.memo.size() - shownMemo) + " more memo lines\n";
    }
    for (const auto& line : run.view.results) {
        text += std::string("result: [") + (line.ticked ? "x" : " ") + "] " + line.text + "\n";
    }
    return text;
}

const RecordingMoveView::ResultLine* resultFor(const MoveRunRecord& run, const std::string& name) {
    for (const auto& line : run.view.results) {
        if (line.text.rfind(name + " ", 0) == 0) {
            return &line;
        }
    }
    return nullptr;
}

std::string lines(const std::vector<std::string>& texts) {
    std::string text;
    for (const auto& line : texts) {
        text += line + "\n";
    }
    return text;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A created table has the source's key and, where the case names one, the
// column's own type.
void expectCreatedTable(const MatrixTable& table, const TestDatabase& target,
                        const std::string& copy) {
    const auto described = describeTable(target, copy);
    for (const auto& column : described) {
        EXPECT_EQ(column.keyPosition, lower(column.name) == "id" ? 1 : 0) << column.name;
    }
    for (const auto& column : table.columns) {
        const std::string& wanted = typeOn(column.createdType, target.engine());
        if (wanted.empty()) {
            continue;
        }
        const auto found = std::find_if(described.begin(), described.end(), [&](const auto& c) {
            return lower(c.name) == column.name;
        });
        ASSERT_NE(found, described.end()) << column.name;
        EXPECT_NE(lower(found->type).find(wanted), std::string::npos)
            << "column " << column.name << " was created as " << found->type;
    }
}

// Copies a shape's table through the real run and checks every value.
class TypeMatrixCopy : public ::testing::TestWithParam<CopyPair> {
protected:
    void copiesEveryValue(Shape shape, TargetMode mode) {
        const CopyPair pair = GetParam();
        const MatrixTable table = matrixTable(shape, pair);
        const ScratchDatabase source = ScratchDatabase::empty(pair.source);
        const ScratchDatabase target = ScratchDatabase::empty(pair.target);
        source->execute(createStatement(table, pair.source) + insertStatement(table, pair.source));
        if (mode == TargetMode::Existing) {
            target->execute(createStatement(table, pair.target));
        }

        const MoveRunRecord run = moveAllTables(source.database(), target.database());
        const std::string told = outcome(run);

        EXPECT_EQ(run.escaped, "") << told;
        EXPECT_TRUE(run.view.memo.empty()) << told;
        const auto* result = resultFor(run, table.name);
        ASSERT_NE(result, nullptr) << told;
        EXPECT_EQ(result->text, table.name + "  Records: " + std::to_string(table.rows)) << told;
        EXPECT_TRUE(result->ticked) << told;
        const std::string copy = findTable(target.database(), table.name);
        ASSERT_NE(copy, "") << told;
        if (mode == TargetMode::Created) {
            expectCreatedTable(table, target.database(), copy);
        }
        const auto differences = compareExactly(source.database(), table.name, target.database(),
                                                copy, comparedColumns(table, pair.source));
        EXPECT_TRUE(differences.empty()) << lines(differences);
    }
};

std::string pairTestName(const ::testing::TestParamInfo<CopyPair>& info) {
    return pairName(info.param);
}

#define TYPE_MATRIX(Suite, shape, mode)                                                            \
    class Suite : public TypeMatrixCopy {};                                                        \
    TEST_P(Suite, copies) {                                                                        \
        copiesEveryValue(shape, mode);                                                             \
    }                                                                                              \
    INSTANTIATE_TEST_SUITE_P(TypeMatrix, Suite, ::testing::ValuesIn(allCopyPairs()), pairTestName)

TYPE_MATRIX(NarrowCreated, Shape::Narrow, TargetMode::Created);
TYPE_MATRIX(NarrowExisting, Shape::Narrow, TargetMode::Existing);
TYPE_MATRIX(WideCreated, Shape::Wide, TargetMode::Created);
TYPE_MATRIX(WideExisting, Shape::Wide, TargetMode::Existing);

// A value the target column cannot hold: the nearest one it takes arrives
// and the memo names the field.
class TargetLimits : public ::testing::TestWithParam<LimitRun> {};

TEST_P(TargetLimits, storeTheNearestValue) {
    const LimitCase& limit = GetParam().limit;
    const CopyPair& pair = GetParam().pair;
    const MatrixTable table{"limits", 3, {limit.column}};
    const ScratchDatabase source = ScratchDatabase::empty(pair.source);
    const ScratchDatabase target = ScratchDatabase::empty(pair.target);
    source->execute(createStatement(table, pair.source) + insertStatement(table, pair.source));
    if (!typeOn(limit.targetTypes, pair.target).empty()) {
        MatrixTable existing = table;
        existing.columns[0].types = limit.targetTypes;
        target->execute(createStatement(existing, pair.target));
    }

    const MoveRunRecord run = moveAllTables(source.database(), target.database());
    const std::string told = outcome(run);

    EXPECT_EQ(run.escaped, "") << told;
    const auto* result = resultFor(run, table.name);
    ASSERT_NE(result, nullptr) << told;
    if (limit.reported) {
        const std::string field = "'" + limit.column.name + "'";
        EXPECT_TRUE(std::any_of(run.view.memo.begin(), run.view.memo.end(),
                                [&](const std::string& line) {
                                    // A created table may spell its columns upper case.
                                    return line.rfind("Table: " + table.name + " ", 0) == 0 &&
                                           lowerCase(line).find(field) != std::string::npos;
                                }))
            << "no memo line names " << field << "\n"
            << told;
        EXPECT_FALSE(result->ticked) << told;
    } else {
        EXPECT_TRUE(run.view.memo.empty()) << told;
        EXPECT_TRUE(result->ticked) << told;
    }

    const std::string copy = findTable(target.database(), table.name);
    ASSERT_NE(copy, "") << told;
    if (typeOn(limit.targetTypes, pair.target).empty()) {
        expectCreatedTable(table, target.database(), copy);
    }
    const auto columns = comparedColumns(table, pair.source);
    const Family family = columns[0].family;
    const auto sent = readExactly(source.database(), table.name, columns);
    const auto arrived = readExactly(target.database(), copy, columns);
    for (const long long id : {1LL, 2LL, 3LL}) {
        const bool checked = id > 1 || !limit.nearest.empty() || !limit.reported;
        if (!checked) {
            continue;
        }
        const Canonical expected = id > 1 || limit.nearest.empty() ? sent.at(id)[0]
                                   : limit.nearest == "NULL"
                                       ? Canonical()
                                       : canonicalValue(family, limit.nearest);
        const auto found = arrived.find(id);
        ASSERT_NE(found, arrived.end()) << "row id=" << id << " missing\n" << told;
        EXPECT_EQ(found->second[0], expected)
            << "row id=" << id << ": expected " << shownValue(expected, family) << ", arrived "
            << shownValue(found->second[0], family) << "\n"
            << told;
    }
}

INSTANTIATE_TEST_SUITE_P(TypeMatrix, TargetLimits, ::testing::ValuesIn(limitRuns()),
                         [](const auto& limitInfo) { return limitRunName(limitInfo.param); });

} // namespace
