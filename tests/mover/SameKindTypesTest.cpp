#include "MoverRun.h"
#include "TableCheck.h"
#include "tests/support/ScratchDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Engine = TestDatabase::Engine;

// Types that reach other databases as text or doubles stay themselves
// between two PostgreSQL databases, every value with them.
TEST(SameKindTypes, PostgreSQLTypesStayTheirOwn_postgresql_to_postgresql) {
    const ScratchDatabase source = ScratchDatabase::empty(Engine::PostgreSQL);
    const ScratchDatabase target = ScratchDatabase::empty(Engine::PostgreSQL);
    source->execute("CREATE TABLE kinds (id integer PRIMARY KEY, doc json, tags integer[], x xml, "
                    "span interval, ip inet, price money, label varchar(300));"
                    "INSERT INTO kinds SELECT i, json_build_object('n', i, 's', '😀 ' || i), "
                    "ARRAY[i, i + 1], ('<a>' || i || '</a>')::xml, i * INTERVAL '1 day 2 hours', "
                    "('10.0.' || (i % 250) || '.1/24')::inet, (i * 1.25)::money, 'Grüße ' || i "
                    "FROM generate_series(1, 300) i;"
                    "INSERT INTO kinds (id) VALUES (301);");

    const MoveRunRecord run = moveAllTables(source.database(), target.database());

    ASSERT_EQ(run.escaped, "") << describeRun(run);
    ASSERT_EQ(run.view.results.size(), 1U) << describeRun(run);
    EXPECT_EQ(run.view.results[0].text, "kinds  Records: 301");
    EXPECT_TRUE(run.view.results[0].ticked) << describeRun(run);
    std::vector<std::string> sourceTypes, targetTypes;
    for (const auto& column : describeTable(source.database(), "kinds")) {
        sourceTypes.push_back(column.name + " " + column.type);
    }
    for (const auto& column : describeTable(target.database(), "kinds")) {
        targetTypes.push_back(column.name + " " + column.type);
    }
    EXPECT_EQ(targetTypes, sourceTypes);
    const std::string everything = "SELECT id, doc::text, tags::text, x::text, span::text, "
                                   "ip::text, price::text, label FROM kinds ORDER BY id;";
    EXPECT_EQ(target->query(everything), source->query(everything));
}

} // namespace
