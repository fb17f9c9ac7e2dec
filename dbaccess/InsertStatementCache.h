#pragma once

#include "dbaccess/odbc/ColumnInfo.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/ParameterBinding.h"
#include "dbaccess/values/Variant.h"

#include <map>
#include <string>
#include <vector>

class TADOConnection;

// Inserts rows into one table: one prepared INSERT for each distinct set of
// columns, executed again for every row.
class InsertStatementCache {
public:
    InsertStatementCache(TADOConnection& connection, std::string tableName,
                         std::vector<ColumnInfo> columns);
    ~InsertStatementCache();
    InsertStatementCache(const InsertStatementCache&) = delete;
    InsertStatementCache& operator=(const InsertStatementCache&) = delete;

    // Sends one row with the given columns (indexes into the column list).
    void insert(const std::vector<std::size_t>& columns, const std::vector<const Variant*>& values);

private:
    // A prepared statement and the buffers its parameters stay bound to.
    struct Prepared {
        OdbcHandle statement;
        std::vector<ParameterBuffer> buffers;
        std::string text;
    };

    Prepared& prepared(const std::vector<std::size_t>& columns);
    std::string statementText(const std::vector<std::size_t>& columns) const;
    void refuseOversizedRow(const std::vector<std::size_t>& columns,
                            const std::vector<ParameterBuffer>& buffers);

    TADOConnection& connection_;
    std::string tableName_;
    std::vector<ColumnInfo> columns_;
    std::map<std::vector<std::size_t>, Prepared> statements_;
    // The last statement used; rows mostly come with the same columns.
    const std::vector<std::size_t>* lastColumns_ = nullptr;
    Prepared* last_ = nullptr;
    // The server's max_allowed_packet (MariaDB), read with the first row.
    long long packetLimit_ = -1;
};
