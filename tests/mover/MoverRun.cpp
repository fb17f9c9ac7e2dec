#include "MoverRun.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/TADOTable.h"
#include "dbaccess/values/TStrings.h"
#include "mover/MoveRun.h"

#include <cstdint>
#include <exception>

using Engine = TestDatabase::Engine;

std::vector<CopyPair> copyPairs() {
    return {{Engine::SQLite, Engine::PostgreSQL},
            {Engine::SQLite, Engine::MariaDB},
            {Engine::PostgreSQL, Engine::SQLite},
            {Engine::MariaDB, Engine::PostgreSQL},
            {Engine::PostgreSQL, Engine::MariaDB}};
}

std::vector<CopyPair> allCopyPairs() {
    std::vector<CopyPair> pairs;
    for (const Engine source : allEngines()) {
        for (const Engine target : allEngines()) {
            pairs.push_back({source, target});
        }
    }
    return pairs;
}

std::string pairName(const CopyPair& pair) {
    return engineName(pair.source) + "_to_" + engineName(pair.target);
}

void PrintTo(const CopyPair& pair, std::ostream* out) {
    *out << pairName(pair);
}

MoveRunRecord moveAllTables(const TestDatabase& source, const TestDatabase& target,
                            std::function<void(RecordingMoveView&)> duringEvents) {
    MoveRunRecord run;
    TADOConnection sourceConnection("ADOConnection1");
    TADOConnection targetConnection("ADOConnection2");
    sourceConnection.SetLoginPrompt(false);
    targetConnection.SetLoginPrompt(false);
    sourceConnection.SetConnectionString(source.connectionString());
    // A SQLite target syncs its file after every row otherwise, which makes
    // the copy tests many times slower; what arrives is the same.
    targetConnection.SetConnectionString(target.engine() == Engine::SQLite
                                             ? target.connectionString() + "SyncPragma=OFF;"
                                             : target.connectionString());
    sourceConnection.SetConnected(true);
    targetConnection.SetConnected(true);

    TADOTable sourceTable("ADOTable1", &sourceConnection);
    TADOTable targetTable("ADOTable2", &targetConnection);
    sourceTable.SetCursorType(ctStatic);
    targetTable.SetCursorType(ctStatic);
    TADOQuery targetQuery("ADOQuery1", &targetConnection);

    TStringList targetTables;
    targetConnection.ListTableNames(targetTables, false);
    for (int i = 0; i < targetTables.Count(); ++i) {
        targetTables.SetStrings(i, lowerCase(targetTables.Strings(i)));
    }
    TStringList sourceTables;
    sourceConnection.ListTableNames(sourceTables, false);
    for (const auto& name : sourceTables.items()) {
        run.view.addSource(name, true);
    }

    run.view.duringEvents = std::move(duringEvents);
    std::int16_t tableStatus = 0;
    MoveContext context{sourceConnection, targetConnection, sourceTable, targetTable,
                        targetQuery,      targetTables,     tableStatus};
    try {
        btnMoverClick(context, run.view);
    } catch (const std::exception& error) {
        run.escaped = error.what();
    }
    return run;
}

std::string describeRun(const MoveRunRecord& run) {
    std::string text;
    if (!run.escaped.empty()) {
        text += "escaped: " + run.escaped + "\n";
    }
    for (const auto& line : run.view.errors) {
        text += "error dialog: " + line + "\n";
    }
    for (const auto& line : run.view.messages) {
        text += "message: " + line + "\n";
    }
    for (const auto& line : run.view.memo) {
        text += "memo: " + line + "\n";
    }
    for (const auto& line : run.view.results) {
        text += std::string("result: [") + (line.ticked ? "x" : " ") + "] " + line.text + "\n";
    }
    return text;
}
