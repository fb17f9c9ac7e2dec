#include "TableMover.h"

#include "SequenceReset.h"
#include "TableNames.h"
#include "TableVerification.h"
#include "Utilities.h"
#include "dbaccess/Exceptions.h"
#include "dbaccess/TStrings.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

const std::array<std::string, 5> statusWords = {
    "", "Source Table Open Error!!", "Target Table Open Error!!", "Append Error!", "Verify Error!"};

constexpr const char* titlePrefix = "Velbrook 0.1 T:";

void reportError(MoveContext& context, MoveView& view, const std::string& name,
                 const std::string& message) {
    view.AddMessage(message);
    view.addMemoLine("Table: " + name + " " + message);
    context.tableStatus = 3;
}

// "%2.0f" of the row share, halves rounded up.
std::string rowPercentage(int position, int maximum) {
    if (maximum == 0) {
        return "0%";
    }
    const double share = static_cast<double>(position) / maximum * 100.0;
    char text[32];
    std::snprintf(text, sizeof text, "%2.0f", std::floor(share + 0.5));
    return std::string(text) + "%";
}

bool openCursor(TADOTable& table, const std::string& name) {
    try {
        table.Close();
        table.SetTableName(name);
        table.Open();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

void CopyRecord(MoveContext& context, MoveView& view, const std::string& name) {
    TADOTable& source = context.sourceTable;
    TADOTable& target = context.targetTable;
    target.Append();
    for (int i = 0; i < source.FieldCount(); ++i) {
        try {
            const TField& from = source.Fields(i);
            // Memo and blob fields read null as empty text; null stays null.
            const Variant value = from.IsNull() ? Variant::null() : from.Value();
            target.RequireField(from.FieldName()).SetValue(value);
        } catch (const EDatabaseError& error) {
            reportError(context, view, name, error.Message());
        }
    }
    try {
        target.Post();
    } catch (const EDatabaseError& error) {
        reportError(context, view, name, error.Message());
        // A refused row is reported once and never sent again.
        target.Cancel();
    }
}

bool MoveTable(MoveContext& context, MoveView& view, const std::string& tableName) {
    const std::string name = lowerCase(tableName);
    EnsureTargetTable(context, name);
    view.AddMessage("Preparing Move Table:" + name);
    context.tableStatus = 0;
    const std::string sourceName = databaseSpelling(context.source, name);
    const std::string targetName = databaseSpelling(context.target, name);
    if (!openCursor(context.sourceTable, sourceName)) {
        context.tableStatus = 1;
    } else if (!openCursor(context.targetTable, targetName)) {
        context.tableStatus = 2;
    } else {
        view.AddMessage("Deleting Target Data");
        context.targetQuery.Close();
        context.targetQuery.SQL().Clear();
        context.targetQuery.SQL().Add("delete from " + context.target.SqlTableName(targetName));
        context.targetQuery.ExecuteStatement();
        view.AddMessage("Deleted Target Data");
        view.setRecordMaximum(context.sourceTable.RecordCount());
        view.setRecordPosition(1);
        view.clearStopRequest();
        context.sourceTable.Rewind();
        view.AddMessage("Begining Move Source Data to Target");
        while (!context.sourceTable.AtEnd()) {
            char counter[64];
            std::snprintf(counter, sizeof counter, "%d / %d", view.recordPosition(),
                          view.recordMaximum());
            view.setRecordCounterText(counter);
            view.setRecordPosition(view.recordPosition() + 1);
            view.setApplicationTitle(
                titlePrefix + std::to_string(view.tablesPercentDone()) + "%" +
                " R:" + rowPercentage(view.recordPosition(), view.recordMaximum()));
            view.processEvents();
            try {
                CopyRecord(context, view, name);
            } catch (const std::exception& error) {
                // Every failure of a row counts, not only database errors.
                reportError(context, view, name, error.what());
                context.targetTable.Cancel();
            } catch (...) {
                reportError(context, view, name, "Unknown error");
                context.targetTable.Cancel();
            }
            context.sourceTable.Advance();
            if (view.stopRequested() && view.confirm("Stop Export?")) {
                view.AddMessage("Move terminated by user !!");
                return false;
            }
        }
        view.AddMessage("End Move Source Data to Target");
        try {
            moveSequencesPastCopiedKeys(context.target, targetName);
        } catch (const std::exception& error) {
            // The rows are in; only the target's own numbering may lag behind.
            view.AddMessage(error.what());
        }
        if (!VerifyTargetTable(context, view, name, sourceName, targetName)) {
            return false;
        }
    }
    view.addResultLine(name + " " + statusWords[static_cast<std::size_t>(context.tableStatus)] +
                           " Records: " + std::to_string(view.recordMaximum()),
                       context.tableStatus == 0);
    return true;
}
