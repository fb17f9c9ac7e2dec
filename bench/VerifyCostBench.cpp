// What the verification after a copy adds to the copy's time, for every pair
// of the databases at hand: SQLite always, PostgreSQL and MariaDB when the
// connection strings of scripts/db-servers are in the environment. Each
// pair copies one table through MoveTable (which verifies it), then verifies
// it once more alone; the cost is verify / (move - verify), as a ratio, of
// the medians of the rounds. With VELBROOK_DB_DURABLE=disk (and servers
// started so) every commit is durable, as on a real server.
// Usage: velbrook-bench-verify [--rows N] [--rounds R]
#include "BenchDatabases.h"
#include "QuietMoveView.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/TStrings.h"
#include "mover/TableMover.h"
#include "mover/TableVerification.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::table;

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Round {
    double move = 0;
    double verify = 0;
    std::string line;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Round runPair(const std::string& sourceEngine, const std::string& targetEngine, int rows) {
    const bench::Database sourceDatabase = bench::databaseFor(sourceEngine, "source");
    const bench::Database targetDatabase = bench::databaseFor(targetEngine, "target");
    TADOConnection source("ADOConnection1");
    TADOConnection target("ADOConnection2");
    source.SetConnectionString(sourceDatabase.connectionString);
    target.SetConnectionString(targetDatabase.connectionString);
    bench::fillTable(source, sourceEngine, table, rows);

    TADOTable sourceTable("ADOTable1", &source);
    TADOTable targetTable("ADOTable2", &target);
    TADOQuery targetQuery("ADOQuery1", &target);
    TStringList targetTables;
    std::int16_t status = 0;
    MoveContext context{source,      target,       sourceTable, targetTable,
                        targetQuery, targetTables, status};
    QuietMoveView view;
    Round round;
    round.move = secondsOf([&] { MoveTable(context, view, table); });
    round.verify = secondsOf([&] { VerifyTargetTable(context, view, table, table, table); });
    round.line = view.lastMessage();
    return round;
}

void measurePair(const std::string& sourceEngine, const std::string& targetEngine, int rows,
                 int rounds) {
    std::vector<double> moves, verifies;
    std::string line;
    for (int i = 0; i < rounds; ++i) {
        const Round round = runPair(sourceEngine, targetEngine, rows);
        moves.push_back(round.move);
        verifies.push_back(round.verify);
        line = round.line;
    }
    const double move = median(moves), verify = median(verifies);
    std::printf("%-10s -> %-10s rows %7d  move %8.2f s  verify %7.3f s  verify/copy %5.3f  %s\n",
                sourceEngine.c_str(), targetEngine.c_str(), rows, move, verify,
                verify / (move - verify), line.c_str());
}

} // namespace

int main(int argc, char** argv) {
    int rows = 5000;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rows") {
            rows = std::atoi(argv[i + 1]);
        } else if (std::string(argv[i]) == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    std::vector<std::string> engines{"sqlite"};
    for (const auto& [engine, variable] : {std::pair{"postgresql", "VELBROOK_TEST_POSTGRESQL"},
                                           std::pair{"mariadb", "VELBROOK_TEST_MARIADB"}}) {
        if (std::getenv(variable) != nullptr) {
            engines.emplace_back(engine);
        }
    }
    for (const auto& sourceEngine : engines) {
        for (const auto& targetEngine : engines) {
            measurePair(sourceEngine, targetEngine, rows, rounds);
        }
    }
    return 0;
}
