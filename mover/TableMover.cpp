#include "TableMover.h"

#include "CopyLoop.h"
#include "SequenceReset.h"
#include "TableNames.h"
#include "TableVerification.h"
#include "Utilities.h"
#include "dbaccess/odbc/Failures.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"

#include <array>
#include <vector>

namespace {

const std::array<std::string, 5> statusWords = {
    "", "Source Table Open Error!!", "Target Table Open Error!!", "Append Error!", "Verify Error!"};

// An open failure of the source (status 1) or the target (status 2), with its reason.
void reportOpenError(MoveContext& context, MoveView& view, const std::string& name, int status,
                     const std::string& message) {
    view.AddMessage(message);
    view.addMemoLine("Table: " + name + " " + message);
    context.tableStatus = static_cast<std::int16_t>(status);
}

bool openCursor(TADOConnection& connection, TADOTable& table, const std::string& name,
                std::string& failure) {
    try {
        table.Close();
        // The catalog lookup needs the connection as much as the open does.
        table.SetTableName(databaseSpelling(connection, name));
        table.Open();
        return true;
    } catch (const std::exception& error) {
        if (wasCancelled(error)) {
            throw;
        }
        failure = error.what();
        return false;
    } catch (...) {
        failure = "Unknown error";
        return false;
    }
}

// After a confirmed Stop gave up a call: a connection whose server did not
// answer even the cancel is closed, and its image shows it.
void closeAbandoned(MoveContext& context, MoveView& view, const std::exception& error) {
    for (const bool target : {false, true}) {
        TADOConnection& connection = target ? context.target : context.source;
        if (connection.Abandoned()) {
            view.AddMessage(error.what());
            connection.SetConnected(false);
            view.ShowConnectionState(0, target);
        }
    }
}

// After a table that did not fully arrive: a connection that no longer
// answers is closed, its image shows it, and the run ends naming the cause.
void requireWorkingConnections(MoveContext& context, MoveView& view, const std::string& cause) {
    for (const bool target : {false, true}) {
        TADOConnection& connection = target ? context.target : context.source;
        std::string failure;
        if (connection.Responds(failure)) {
            continue;
        }
        connection.SetConnected(false);
        view.ShowConnectionState(0, target);
        throw Exception(cause.empty() ? failure : cause);
    }
}

bool moveTable(MoveContext& context, MoveView& view, const std::string& tableName,
               TargetClaims& claims) {
    // The source is read as its list spells it; the target's name is lower case.
    const std::string name = lowerCase(tableName);
    // What ended the table early, for the report that ends the run when a
    // connection went with it.
    std::string cause;
    const std::string unholdable = context.target.UnholdableTableName(tableName);
    TargetCreation creation;
    if (unholdable.empty()) {
        try {
            creation = EnsureTargetTable(context, name, tableName);
        } catch (const std::exception& error) {
            if (wasCancelled(error)) {
                throw;
            }
            // Opening the tables below tells what this failure means for the table.
            cause = error.what();
        }
    }
    view.AddMessage("Preparing Move Table:" + name);
    for (const std::string& note : creation.notes) {
        view.AddMessage(note);
    }
    context.tableStatus = 0;
    if (!openCursor(context.source, context.sourceTable, tableName, cause)) {
        reportOpenError(context, view, name, 1, cause);
    } else if (!unholdable.empty()) {
        reportOpenError(context, view, name, 2, "Target table '" + tableName + "': " + unholdable);
    } else if (!openCursor(context.target, context.targetTable, name, cause)) {
        // A table that could not be created is missing for that reason.
        reportOpenError(context, view, name, 2,
                        creation.failure.empty()
                            ? cause
                            : "Target table '" + name + "' cannot be created: " + creation.failure);
    } else if (const std::string earlier =
                   claims.claim(context.target, context.targetTable.TableName(), tableName);
               !earlier.empty()) {
        cause.clear();
        reportOpenError(context, view, name, 2,
                        "Target table '" + context.targetTable.TableName() +
                            "' already holds source table '" + earlier +
                            "' of this run; source table '" + tableName + "' is not copied");
    } else if (const std::string refusal =
                   context.target.InsertRefusal(context.targetTable.TableName());
               !refusal.empty()) {
        // Emptied, it would stay empty: every row would be refused.
        cause.clear();
        reportOpenError(context, view, name, 2, refusal + "; the target table is left as it was");
    } else {
        cause.clear();
        const std::string targetName = context.targetTable.TableName();
        view.AddMessage("Deleting Target Data");
        try {
            context.targetQuery.Close();
            context.targetQuery.SQL().Clear();
            context.targetQuery.SQL().Add("delete from " + context.target.SqlTableName(targetName));
            context.targetQuery.ExecuteStatement();
        } catch (const std::exception& error) {
            if (!endsTable(context, error)) {
                throw;
            }
            reportError(context, view, name, error.what());
            cause = error.what();
        }
        const CopyEnd end = cause.empty() ? copyRows(context, view, name, cause) : CopyEnd::Failed;
        if (end == CopyEnd::Stopped) {
            return false;
        }
        if (end == CopyEnd::Finished) {
            view.AddMessage("End Move Source Data to Target");
            try {
                moveSequencesPastCopiedKeys(context.target, targetName);
            } catch (const std::exception& error) {
                if (wasCancelled(error)) {
                    throw;
                }
                // The rows are in; only the target's own numbering may lag behind.
                view.AddMessage(error.what());
            }
            if (!VerifyTargetTable(context, view, name, context.sourceTable.TableName(),
                                   targetName)) {
                return false;
            }
        }
    }
    // The count is this table's source rows, or none when its source never opened.
    const std::string records =
        context.sourceTable.Active()
            ? " Records: " + std::to_string(context.sourceTable.RecordCount())
            : std::string();
    view.addResultLine(name + " " + statusWords[static_cast<std::size_t>(context.tableStatus)] +
                           records,
                       context.tableStatus == 0);
    if (context.tableStatus != 0) {
        requireWorkingConnections(context, view, cause);
    }
    return true;
}

} // namespace

bool MoveTable(MoveContext& context, MoveView& view, const std::string& tableName,
               TargetClaims& claims) {
    try {
        return moveTable(context, view, tableName, claims);
    } catch (const std::exception& error) {
        if (!wasCancelled(error)) {
            throw;
        }
        // Stop was confirmed while a call took long: the run ends as a stop does.
        closeAbandoned(context, view, error);
        view.AddMessage("Move terminated by user !!");
        return false;
    }
}

bool MoveTable(MoveContext& context, MoveView& view, const std::string& name) {
    TargetClaims claims;
    return MoveTable(context, view, name, claims);
}
