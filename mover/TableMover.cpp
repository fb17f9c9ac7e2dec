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
#include <vector>

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

// The row share in percent, halves rounded up; -1 without rows.
int rowPercent(int position, int maximum) {
    if (maximum == 0) {
        return -1;
    }
    return static_cast<int>(std::floor(static_cast<double>(position) / maximum * 100.0 + 0.5));
}

// "%2.0f" of the row share and "%", or "0%" without rows.
std::string rowPercentage(int percent) {
    if (percent < 0) {
        return "0%";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%2.0f", static_cast<double>(percent));
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

// The target field of each source field, found once a table; null where the
// target has none.
std::vector<TField*> targetFields(const TADOTable& source, const TADOTable& target) {
    std::vector<TField*> fields;
    fields.reserve(static_cast<std::size_t>(source.FieldCount()));
    for (int i = 0; i < source.FieldCount(); ++i) {
        fields.push_back(target.FindField(source.Fields(i).FieldName()));
    }
    return fields;
}

void copyRow(MoveContext& context, MoveView& view, const std::string& name,
             const std::vector<TField*>& targets) {
    TADOTable& source = context.sourceTable;
    TADOTable& target = context.targetTable;
    target.Append();
    for (int i = 0; i < source.FieldCount(); ++i) {
        try {
            const TField& from = source.Fields(i);
            // Memo and blob fields read null as empty text; null stays null.
            const Variant value = from.IsNull() ? Variant::null() : from.Value();
            TField* to = targets[static_cast<std::size_t>(i)];
            if (to == nullptr) {
                // Raises the layer's field-not-found error.
                to = &target.RequireField(from.FieldName());
            }
            to->SetValue(value);
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

} // namespace

void CopyRecord(MoveContext& context, MoveView& view, const std::string& name) {
    copyRow(context, view, name, targetFields(context.sourceTable, context.targetTable));
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
        const std::vector<TField*> targets = targetFields(context.sourceTable, context.targetTable);
        // The title changes once a percent; it is built only then.
        std::string title;
        int titleTables = -1, titleRows = -2;
        while (!context.sourceTable.AtEnd()) {
            view.setRecordCounterText(std::to_string(view.recordPosition()) + " / " +
                                      std::to_string(view.recordMaximum()));
            view.setRecordPosition(view.recordPosition() + 1);
            const int tables = view.tablesPercentDone();
            const int rows = rowPercent(view.recordPosition(), view.recordMaximum());
            if (tables != titleTables || rows != titleRows) {
                title = titlePrefix + std::to_string(tables) + "%" + " R:" + rowPercentage(rows);
                titleTables = tables;
                titleRows = rows;
            }
            view.setApplicationTitle(title);
            view.processEvents();
            try {
                copyRow(context, view, name, targets);
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
