#pragma once

#include "TCustomADODataSet.h"

enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };

// A table cursor: all columns of all rows of the named table.
class TADOTable : public TCustomADODataSet {
public:
    using TCustomADODataSet::TCustomADODataSet;

    const std::string& TableName() const noexcept { return tableName_; }
    void SetTableName(const std::string& name);
    TCursorType CursorType() const noexcept { return cursorType_; }
    void SetCursorType(TCursorType type);

protected:
    std::unique_ptr<ResultSet> openResult() override;
    std::string insertTableName() const override { return tableName_; }

private:
    std::string tableName_;
    TCursorType cursorType_ = ctKeyset;
};

// The name as the table cursor sends it: plain names and schema.table as they
// are, anything else quoted with the database's quote character.
std::string quoteTableName(const std::string& name, const std::string& quote, bool always = false);
// One identifier in quotes, embedded quote characters doubled.
std::string quoteIdentifier(const std::string& name, const std::string& quote);
bool isPlainIdentifier(const std::string& name);
