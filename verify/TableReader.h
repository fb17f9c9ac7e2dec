#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/RawRowReader.h"
#include "dbaccess/values/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

class TADOConnection;

// SQLite keeps a storage class with every value; other databases none.
enum class StorageClass : std::uint8_t { None, Integer, Real, Text, Blob };

// A value as its database hands it over.
struct ReadValue : RawValue {
    StorageClass storageClass = StorageClass::None;
    // Text of an exact decimal, whatever its column's kind (money).
    bool exactDecimal = false;
};

// One side of a copy to read: its columns, in the comparison's order, and
// the key columns (indexes into columns) to order the rows by.
struct ReadRequest {
    TADOConnection& connection;
    std::string table;
    std::vector<const ColumnInfo*> columns;
    std::vector<std::size_t> keys;
};

// Streams the rows of one side, one at a time.
class TableReader {
public:
    virtual ~TableReader() = default;
    // The next row into row; false after the last one.
    virtual bool next(std::vector<ReadValue>& row) = 0;
};

// The quoted name of a column of a request.
std::string quotedColumn(const ReadRequest& request, const ColumnInfo& column);
// "FROM <table>" and the ORDER BY of the keys, text keys in byte order.
std::string fromAndOrder(const ReadRequest& request);

// The SELECT of a request in its database's SQL, each column through
// expression(index, quoted name).
template <typename Expression>
std::string selectStatement(const ReadRequest& request, Expression expression) {
    std::string list;
    for (std::size_t i = 0; i < request.columns.size(); ++i) {
        list += (i == 0 ? "" : ", ") + expression(i, quotedColumn(request, *request.columns[i]));
    }
    return "SELECT " + list + " " + fromAndOrder(request);
}

inline std::string selectStatement(const ReadRequest& request) {
    return selectStatement(request, [](std::size_t, const std::string& name) { return name; });
}

// The database's own library could not connect with the parameters found.
class LibraryConnectError : public EOleException {
public:
    explicit LibraryConnectError(const std::string& message)
        : EOleException(message, static_cast<std::int32_t>(0x80004005)) {}
};

// A failure that the database's own library reports.
EOleException libraryError(const std::string& message);
