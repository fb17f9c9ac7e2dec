#include "CopyLoop.h"

#include "QueuedRows.h"
#include "SourceRow.h"
#include "TableMover.h"
#include "dbaccess/odbc/Failures.h"
#include "dbaccess/values/Exceptions.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* titlePrefix = "Velbrook 0.1 T:";

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

// Fills a new target row from the source's current row. A value that its
// target field refuses or changes goes into reports, and the row goes on.
void fillRow(MoveContext& context, const std::vector<TField*>& targets,
             std::vector<std::string>& reports) {
    TADOTable& source = context.sourceTable;
    TADOTable& target = context.targetTable;
    target.Append();
    for (int i = 0; i < source.FieldCount(); ++i) {
        try {
            const TField& from = source.Fields(i);
            // Memo and blob fields read null as empty text; null stays null.
            const Variant value = from.IsNull() ? Variant::null() : from.CopiedValue();
            TField* to = targets[static_cast<std::size_t>(i)];
            if (to == nullptr) {
                // Raises the layer's field-not-found error.
                to = &target.RequireField(from.FieldName());
            }
            to->SetCopiedValue(value, from);
        } catch (const EDatabaseError& error) {
            reports.push_back(error.Message());
        }
    }
}

// The record counter, the progress bar and the title for the next row.
class ProgressDisplay {
public:
    explicit ProgressDisplay(MoveView& view) : view_(view) {}

    void advance() {
        view_.setRecordCounterText(std::to_string(view_.recordPosition()) + " / " +
                                   std::to_string(view_.recordMaximum()));
        view_.setRecordPosition(view_.recordPosition() + 1);
        const int tables = view_.tablesPercentDone();
        const int rows = rowPercent(view_.recordPosition(), view_.recordMaximum());
        // The title changes once a percent; it is built only then.
        if (tables != titleTables_ || rows != titleRows_) {
            title_ = titlePrefix + std::to_string(tables) + "%" + " R:" + rowPercentage(rows);
            titleTables_ = tables;
            titleRows_ = rows;
        }
        view_.setApplicationTitle(title_);
    }

private:
    MoveView& view_;
    std::string title_;
    int titleTables_ = -1;
    int titleRows_ = -2;
};

} // namespace

void reportError(MoveContext& context, MoveView& view, const std::string& name,
                 const std::string& message, const std::string& rowText) {
    view.AddMessage(message);
    view.addMemoLine("Table: " + name + " " + (rowText.empty() ? "" : rowText + ": ") + message);
    context.tableStatus = 3;
}

bool endsTable(const MoveContext& context, const std::exception& error) {
    return context.target.EndsWriting(error) || context.source.EndsWriting(error) ||
           context.target.LockTimedOut(error) || context.source.LockTimedOut(error);
}

void CopyRecord(MoveContext& context, MoveView& view, const std::string& name) {
    std::vector<std::string> reports;
    fillRow(context, targetFields(context.sourceTable, context.targetTable), reports);
    for (const std::string& report : reports) {
        reportError(context, view, name, report);
    }
    try {
        context.targetTable.Post();
    } catch (const EDatabaseError& error) {
        if (wasCancelled(error)) {
            throw;
        }
        reportError(context, view, name, error.Message());
        // A refused row is reported once and never sent again.
        context.targetTable.Cancel();
        if (endsTable(context, error)) {
            throw WritingEnded(error.Message());
        }
    }
}

CopyEnd copyRows(MoveContext& context, MoveView& view, const std::string& name,
                 std::string& cause) {
    view.AddMessage("Deleted Target Data");
    view.setRecordMaximum(context.sourceTable.RecordCount());
    view.setRecordPosition(1);
    view.clearStopRequest();
    context.sourceTable.Rewind();
    view.AddMessage("Begining Move Source Data to Target");
    const std::vector<TField*> targets = targetFields(context.sourceTable, context.targetTable);
    SourceRow row(context);
    ProgressDisplay progress(view);
    QueuedRows queued(context, view, name);
    while (!context.sourceTable.AtEnd()) {
        progress.advance();
        view.processEvents();
        row.next();
        std::vector<std::string> reports;
        std::exception_ptr failure;
        try {
            fillRow(context, targets, reports);
        } catch (const std::exception& error) {
            if (wasCancelled(error)) {
                throw;
            }
            failure = std::current_exception();
        } catch (...) {
            failure = std::current_exception();
        }
        queued.add(row.text(), std::move(reports), failure);
        if (queued.full()) {
            cause = queued.sendOn();
        }
        if (!cause.empty()) {
            return CopyEnd::Failed;
        }
        try {
            context.sourceTable.Advance();
        } catch (const std::exception& error) {
            if (wasCancelled(error)) {
                throw;
            }
            // The rows come a block at a time: a source lost now ends the
            // reading, after the rows that came are sent.
            cause = queued.send();
            if (!cause.empty()) {
                return CopyEnd::Failed;
            }
            reportError(context, view, name, error.what());
            cause = error.what();
            return CopyEnd::Failed;
        }
        if (view.stopRequested()) {
            cause = queued.send();
            if (!cause.empty()) {
                return CopyEnd::Failed;
            }
            if (stopConfirmed(view)) {
                view.AddMessage("Move terminated by user !!");
                return CopyEnd::Stopped;
            }
        }
    }
    cause = queued.send();
    return cause.empty() ? CopyEnd::Finished : CopyEnd::Failed;
}
