#include "SequenceReset.h"

#include "dbaccess/TADOQuery.h"

namespace {

std::string literal(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += c;
        }
    }
    return quoted + "'";
}

} // namespace

void moveSequencesPastCopiedKeys(TADOConnection& target, const std::string& table) {
    if (target.Kind() != DatabaseKind::PostgreSQL) {
        return;
    }
    const std::string tableText = target.SqlTableName(table);
    TADOQuery columns("", &target);
    columns.SQL().Add("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                      "current_schema() AND table_name = " +
                      literal(table) +
                      " AND (column_default LIKE 'nextval(%' OR is_identity = 'YES')");
    columns.Open();
    for (columns.Rewind(); !columns.AtEnd(); columns.Advance()) {
        const std::string column = columns.Fields(0).AsString();
        const std::string columnText = target.SqlIdentifier(column);
        TADOQuery move("", &target);
        move.SQL().Add("SELECT setval(pg_get_serial_sequence(" + literal(tableText) + ", " +
                       literal(column) + "), COALESCE(MAX(" + columnText +
                       "), 0) + 1, false) FROM " + tableText);
        move.Open();
    }
}
