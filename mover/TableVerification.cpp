#include "TableVerification.h"

#include "dbaccess/TADODataSet.h"
#include "dbaccess/odbc/Failures.h"
#include "verify/TableVerifier.h"

#include <exception>

namespace {

VerifiedTable describeTables(MoveContext& context, const std::string& sourceName,
                             const std::string& targetName) {
    VerifiedTable table{context.source, sourceName, context.target, targetName, {}, {}};
    for (int i = 0; i < context.sourceTable.FieldCount(); ++i) {
        const TField& from = context.sourceTable.Fields(i);
        // A source column that the target lacks is reported by the copy.
        if (const TField* to = context.targetTable.FindField(from.FieldName())) {
            table.columns.push_back({from.Column(), to->Column()});
        }
    }
    TADODataSet keys;
    context.source.OpenSchemaRowset(SchemaKind::PrimaryKeys,
                                    {Variant(), Variant(), Variant(sourceName)}, keys);
    for (keys.Rewind(); !keys.AtEnd(); keys.Advance()) {
        const std::string key = keys.RequireField("COLUMN_NAME").AsString();
        std::size_t found = table.columns.size();
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            if (table.columns[i].source.name == key) {
                found = i;
            }
        }
        if (found == table.columns.size()) {
            // A key the target cannot be matched on: compare as multisets.
            table.keys.clear();
            break;
        }
        table.keys.push_back(found);
    }
    return table;
}

void report(MoveContext& context, MoveView& view, const std::string& name,
            const std::string& difference) {
    view.addMemoLine("Table: " + name + " " + difference);
    if (context.tableStatus == 0) {
        context.tableStatus = 4;
    }
}

// Says once a run why a side is read through the driver.
void tellFallback(MoveContext& context, MoveView& view, const std::string& side,
                  const std::string& reason) {
    if (!reason.empty() && context.toldDriverReading.insert(side).second) {
        view.AddMessage("Verify reads the " + side + " through the driver: " + reason);
    }
}

// Names the reading when it is not the databases' own libraries.
std::string readingNote(const VerifyOutcome& outcome) {
    if (outcome.sourceThroughDriver && outcome.targetThroughDriver) {
        return " (read through the driver)";
    }
    if (outcome.sourceThroughDriver || outcome.targetThroughDriver) {
        return std::string(" (") + (outcome.sourceThroughDriver ? "source" : "target") +
               " read through the driver)";
    }
    return {};
}

} // namespace

bool VerifyTargetTable(MoveContext& context, MoveView& view, const std::string& name,
                       const std::string& sourceName, const std::string& targetName) {
    VerifyOutcome outcome;
    try {
        const VerifiedTable table = describeTables(context, sourceName, targetName);
        outcome = verifyTable(table, [&view] {
            view.processEvents();
            return !stopConfirmed(view);
        });
    } catch (const std::exception& error) {
        if (wasCancelled(error)) {
            throw;
        }
        // A table that could not be read again is not known to be whole.
        view.AddMessage("Verify Target Data failed: " + std::string(error.what()));
        report(context, view, name, "could not be verified: " + std::string(error.what()));
        return true;
    }
    if (outcome.stopped) {
        view.AddMessage("Move terminated by user !!");
        return false;
    }
    tellFallback(context, view, "source", outcome.sourceFallback);
    tellFallback(context, view, "target", outcome.targetFallback);
    view.AddMessage("Verified Target Data: " + std::to_string(outcome.identicalRows) + " of " +
                    std::to_string(outcome.sourceRows) + " rows identical" + readingNote(outcome));
    for (const std::string& difference : outcome.shown) {
        report(context, view, name, difference);
    }
    if (outcome.hidden > 0) {
        report(context, view, name,
               "and " + std::to_string(outcome.hidden) + " more difference" +
                   (outcome.hidden == 1 ? "" : "s"));
    }
    return true;
}
