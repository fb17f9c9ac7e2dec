#include "TableNames.h"
#include "Utilities.h"
#include "dbaccess/TADODataSet.h"
#include "dbaccess/TADOQuery.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>

// The query way: types from the fields of a one-row query, the key and the
// nullability from the schema rowsets.

namespace {

// The source's key columns and the columns that refuse NULL, from its
// schema rowsets: a first row says nothing of the rows after it.
struct KeyAndNullability {
    std::vector<std::string> keys;
    std::vector<std::string> notNull;
};

KeyAndNullability keyAndNullability(TADOConnection& source, const std::string& sourceName) {
    KeyAndNullability schema;
    try {
        TADODataSet rowset;
        source.OpenSchemaRowset(SchemaKind::PrimaryKeys,
                                {Variant(), Variant(), Variant(sourceName)}, rowset);
        for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
            schema.keys.push_back(rowset.RequireField("COLUMN_NAME").AsString());
        }
        source.OpenSchemaRowset(SchemaKind::Columns,
                                {Variant(), Variant(), Variant(sourceName), Variant()}, rowset);
        for (rowset.Rewind(); !rowset.AtEnd(); rowset.Advance()) {
            if (!rowset.RequireField("IS_NULLABLE").AsBoolean()) {
                schema.notNull.push_back(rowset.RequireField("COLUMN_NAME").AsString());
            }
        }
    } catch (const std::exception&) {
        // Unknown: every column takes NULL, so that no row is refused for one.
        return {};
    }
    return schema;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&name](const std::string& each) {
        return sameTextIgnoringCase(each, name);
    });
}

} // namespace

bool CreateTableFromQuery(MoveContext& context, const std::string& name,
                          const std::string& sourceName, std::string* failure) {
    const std::string spelled = databaseSpelling(context.source, sourceName);
    TADOQuery sourceQuery("", &context.source);
    sourceQuery.SetMaxRecords(1);
    sourceQuery.Close();
    sourceQuery.SQL().Add("Select * from " + context.source.SqlTableName(spelled));
    sourceQuery.Open();
    const KeyAndNullability schema = keyAndNullability(context.source, spelled);
    std::string statement = "Create Table " + context.target.CreatedIdentifier(name) + "(";
    for (int i = 0; i < sourceQuery.FieldCount(); ++i) {
        const TField& field = sourceQuery.Fields(i);
        const bool refusesNull =
            contains(schema.notNull, field.FieldName()) || contains(schema.keys, field.FieldName());
        // An unsigned 4-byte integer needs more than INTEGER: left to the next way.
        const TFieldType type = field.Column().providerType == ProviderType::UnsignedInt
                                    ? ftLargeint
                                    : field.DataType();
        statement += context.target.SqlIdentifier(field.FieldName()) + " " +
                     FieldTypeToSql(type, field.Size(), context.target.Kind()) + " " +
                     (refusesNull ? "NOT NULL" : "NULL");
        statement += i + 1 == sourceQuery.FieldCount() ? "" : ",";
    }
    for (std::size_t i = 0; i < schema.keys.size(); ++i) {
        statement +=
            (i == 0 ? ",PRIMARY KEY(" : ",") + context.target.SqlIdentifier(schema.keys[i]);
    }
    statement += schema.keys.empty() ? ");" : "));";
    TADOQuery targetQuery("", &context.target);
    targetQuery.SQL().Add(statement);
    try {
        targetQuery.ExecuteStatement();
        return true;
    } catch (const std::exception& error) {
        if (failure != nullptr) {
            *failure = error.what();
        }
        return false;
    }
}
