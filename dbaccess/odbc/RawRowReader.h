#pragma once

#include "dbaccess/odbc/OdbcHandle.h"

#include <string>
#include <vector>

class OdbcSession;

// How a column's values are read: the driver's own text, the bytes, or the
// driver's double.
enum class RawForm { Text, Bytes, Double };

struct RawValue {
    RawForm form = RawForm::Text;
    bool isNull = true;
    // Text or bytes.
    std::string data;
    double number = 0;
};

// Streams the rows of a query one at a time, each value as the driver hands
// it over, without the layer's types and conversions: for reading a table a
// second time, independently of how it was copied.
class RawRowReader {
public:
    // Runs text on a new statement of the session; forms has one entry per
    // result column.
    RawRowReader(OdbcSession& session, const std::string& text, std::vector<RawForm> forms);

    // The next row into row; false when there is none.
    bool next(std::vector<RawValue>& row);

private:
    void readValue(SQLUSMALLINT column, RawForm form, RawValue& value);

    OdbcHandle statement_;
    std::vector<RawForm> forms_;
    std::string chunk_;
};
