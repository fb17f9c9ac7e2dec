#pragma once

#include "dbaccess/TCustomADODataSet.h"
#include "dbaccess/catalog/SqlNames.h"

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
