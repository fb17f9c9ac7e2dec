#include "DriverReader.h"

#include "dbaccess/TADOConnection.h"

#include <utility>

namespace {

bool isSQLite(TADOConnection& connection) {
    return connection.Kind() == DatabaseKind::SQLite;
}

// SQLite's driver gives doubles 15 digits; quote() gives every bit.
std::string columnExpression(TADOConnection& connection, const ColumnInfo& column,
                             const std::string& name) {
    if (isSQLite(connection) &&
        (column.storage == StorageKind::Double || column.storage == StorageKind::Decimal)) {
        return "CASE WHEN typeof(" + name + ") = 'real' THEN quote(" + name + ") ELSE " + name +
               " END";
    }
    return name;
}

RawForm formOf(TADOConnection& connection, const ColumnInfo& column) {
    if (column.storage == StorageKind::Binary) {
        return RawForm::Bytes;
    }
    return column.storage == StorageKind::Double && !isSQLite(connection) ? RawForm::Double
                                                                          : RawForm::Text;
}

std::vector<RawForm> formsOf(const ReadRequest& request) {
    std::vector<RawForm> forms;
    for (const ColumnInfo* column : request.columns) {
        forms.push_back(formOf(request.connection, *column));
    }
    return forms;
}

} // namespace

DriverReader::DriverReader(const ReadRequest& request)
    : reader_(request.connection.session(),
              selectStatement(request,
                              [&request](std::size_t i, const std::string& name) {
                                  return columnExpression(request.connection, *request.columns[i],
                                                          name);
                              }),
              formsOf(request)) {}

bool DriverReader::next(std::vector<ReadValue>& row) {
    if (!reader_.next(raw_)) {
        return false;
    }
    row.resize(raw_.size());
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        // Swapped, so that both keep their buffers from row to row.
        std::swap(static_cast<RawValue&>(row[i]), raw_[i]);
    }
    return true;
}
