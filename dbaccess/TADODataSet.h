#pragma once

#include "dbaccess/TCustomADODataSet.h"

// A plain data set that OpenSchemaRowset fills.
class TADODataSet : public TCustomADODataSet {
public:
    using TCustomADODataSet::TCustomADODataSet;

protected:
    std::unique_ptr<ResultSet> openResult() override;

private:
    friend class TADOConnection;
    void attachResult(std::unique_ptr<ResultSet> result);
};
