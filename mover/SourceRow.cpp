#include "SourceRow.h"

#include "dbaccess/TADODataSet.h"

std::string SourceRow::text() {
    if (!keys_) {
        keys_ = keyFields();
    }
    std::string text;
    try {
        for (const TField* key : *keys_) {
            text += (text.empty() ? "row " : ", ") + key->FieldName() + "=" +
                    (key->IsNull() ? std::string("NULL") : key->AsString());
        }
    } catch (const std::exception&) {
        // A row that cannot be read is named by its place.
        text.clear();
    }
    return text.empty() ? "row " + std::to_string(number_) : text;
}

std::vector<const TField*> SourceRow::keyFields() const {
    std::vector<const TField*> fields;
    try {
        TADODataSet keys;
        context_.source.OpenSchemaRowset(
            SchemaKind::PrimaryKeys,
            {Variant(), Variant(), Variant(context_.sourceTable.TableName())}, keys);
        for (keys.Rewind(); !keys.AtEnd(); keys.Advance()) {
            const TField* field =
                context_.sourceTable.FindField(keys.RequireField("COLUMN_NAME").AsString());
            if (field == nullptr) {
                return {};
            }
            fields.push_back(field);
        }
    } catch (const std::exception&) {
        return {};
    }
    return fields;
}
