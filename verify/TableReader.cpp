#include "TableReader.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/catalog/SqlNames.h"

namespace {

// Text keys in byte order, the order the comparison uses.
std::string orderExpression(const ReadRequest& request, const ColumnInfo& column) {
    const std::string name = quotedColumn(request, column);
    if (column.storage != StorageKind::Text) {
        return name;
    }
    switch (request.connection.Kind()) {
    case DatabaseKind::PostgreSQL:
        return name + " COLLATE \"C\"";
    case DatabaseKind::MariaDB:
        return "CAST(" + name + " AS BINARY)";
    case DatabaseKind::SQLite:
        return name + " COLLATE BINARY";
    default:
        return name;
    }
}

} // namespace

std::string quotedColumn(const ReadRequest& request, const ColumnInfo& column) {
    return quoteIdentifier(column.name, request.connection.IdentifierQuote());
}

std::string fromAndOrder(const ReadRequest& request) {
    std::string text = "FROM " + request.connection.SqlTableName(request.table);
    for (std::size_t i = 0; i < request.keys.size(); ++i) {
        text += (i == 0 ? " ORDER BY " : ", ") +
                orderExpression(request, *request.columns[request.keys[i]]);
    }
    return text;
}

EOleException libraryError(const std::string& message) {
    return EOleException(trimProviderMessage(message), static_cast<std::int32_t>(0x80004005));
}
