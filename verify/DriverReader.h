#pragma once

#include "TableReader.h"

// Reads a side through the connection's ODBC driver: for databases without
// a reader of their own, and where their library cannot be reached.
class DriverReader : public TableReader {
public:
    explicit DriverReader(const ReadRequest& request);

    bool next(std::vector<ReadValue>& row) override;

private:
    RawRowReader reader_;
    std::vector<RawValue> raw_;
};
