#include "ColumnRefinement.h"

#include "dbaccess/catalog/CatalogColumns.h"
#include "dbaccess/catalog/PostgreSQLColumns.h"
#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/odbc/ColumnTypes.h"
#include "dbaccess/odbc/OdbcSession.h"
#include "dbaccess/odbc/ProviderTypes.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/odbc/TaggedValue.h"
#include "dbaccess/values/DateTime.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

std::string textAttribute(const OdbcHandle& statement, std::size_t column, SQLUSMALLINT field) {
    char value[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttribute(statement.get(), static_cast<SQLUSMALLINT>(column + 1),
                                       field, value, sizeof value, &length, nullptr))) {
        return {};
    }
    return value;
}

void applyDeclaredType(ColumnInfo& column, const CatalogColumn& declared) {
    const auto& mapping = columnTypeMapping(declared.sqlType);
    column.sqlType = declared.sqlType;
    column.providerType = declared.isUnsigned ? mapping.unsignedResultCode : mapping.resultCode;
    column.storage = declared.sqlType == SQL_BIGINT && declared.isUnsigned ? StorageKind::Unsigned
                                                                           : mapping.storage;
    column.definedSize = declared.size;
    if (declared.sqlType == SQL_DECIMAL || declared.sqlType == SQL_NUMERIC) {
        column.precision = static_cast<int>(declared.size > 0 ? declared.size : 38);
        column.scale = declared.scale;
    }
    column.nullable = declared.nullable;
    // SQLite keeps any fraction of a second, and numbers in numeric columns
    // as 64-bit integers or doubles; a NaN becomes NULL.
    column.fractionDigits = -1;
    column.decimalsAsDoubles = column.storage == StorageKind::Decimal;
    column.keepsNaN = false;
    column.untyped = declared.typeName.find_first_not_of(' ') == std::string::npos;
}

// SQLite describes result columns by their values; its catalog keeps the
// declarations, which say what the columns are.
void applySQLiteDeclarations(OdbcSession& session, const OdbcHandle& statement,
                             std::vector<ColumnInfo>& columns, const std::string& tableName) {
    std::map<std::string, std::vector<CatalogColumn>> declarations;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string table = textAttribute(statement, i, SQL_DESC_BASE_TABLE_NAME);
        if (table.empty()) {
            table = tableName;
        }
        if (table.empty()) {
            continue;
        }
        std::string name = textAttribute(statement, i, SQL_DESC_BASE_COLUMN_NAME);
        if (name.empty()) {
            name = columns[i].name;
        }
        auto found = declarations.find(table);
        if (found == declarations.end()) {
            const auto [schema, bare] = splitSchema(table);
            found = declarations.emplace(table, catalogColumns(session, schema, bare)).first;
        }
        for (const CatalogColumn& declared : found->second) {
            if (sameTextIgnoringCase(declared.name, name)) {
                applyDeclaredType(columns[i], declared);
                break;
            }
        }
    }
}

void readAsNumeric(ColumnInfo& column, int precision, int scale) {
    column.sqlType = SQL_NUMERIC;
    column.providerType = resultProviderType(SQL_NUMERIC, false);
    column.storage = StorageKind::Decimal;
    column.precision = precision;
    column.scale = scale;
    column.fractionDigits = scale;
    column.readAs = "CAST(" + quoteIdentifier(column.name, "\"") + " AS numeric)";
}

void markRefusingColumn(ColumnInfo& column) {
    column.autoIncrement = true;
    column.updatability = Updatability::ReadOnly;
}

// Identity columns generated always refuse explicit values, an unconstrained
// numeric keeps every digit, a text type without a length is unbounded, a bit
// string takes its text and numeric(3,-2) has the scale it declares.
void refinePostgreSQLColumns(OdbcSession& session, std::vector<ColumnInfo>& columns,
                             const std::string& tableName) {
    const auto [schema, table] = splitSchema(tableName);
    for (const auto& facts : postgresqlColumnFacts(session, schema, table)) {
        for (ColumnInfo& column : columns) {
            if (column.name != facts.name) {
                continue;
            }
            if (facts.identityAlways) {
                markRefusingColumn(column);
            }
            if (facts.declaredType == "money") {
                // The driver hands money over as a double: it is read as the
                // decimal it is, 2 digits after the point.
                readAsNumeric(column, 19, 2);
            }
            if (column.storage == StorageKind::DateTime &&
                column.providerType != ProviderType::DBTime) {
                // The driver makes infinity a last date and drops BC: dates
                // are read as the server's text.
                column.reading = ValueReading::DateText;
                column.readAs = "CAST(" + quoteIdentifier(column.name, "\"") + " AS text)";
                column.dateSpelling = "PostgreSQL";
            }
            if (column.sqlType == SQL_GUID) {
                // The driver hands a uuid over in upper case.
                column.readAs = "CAST(" + quoteIdentifier(column.name, "\"") + " AS text)";
            }
            if (facts.unconstrainedNumeric) {
                column.fractionDigits = -1;
            }
            if (column.storage == StorageKind::Text && !facts.hasLength &&
                column.sqlType != SQL_GUID) {
                column.definedSize = 0;
            }
            if (facts.isBitString) {
                // Its text, 0s and 1s, is what the column takes; the driver
                // takes some for booleans.
                if (column.storage == StorageKind::Boolean && facts.characterLength != 1) {
                    const auto& text = columnTypeMapping(SQL_VARCHAR);
                    column.sqlType = SQL_VARCHAR;
                    column.providerType = text.resultCode;
                    column.storage = text.storage;
                }
                column.definedSize = facts.characterLength;
                if (!facts.identityAlways) {
                    column.updatability = Updatability::Unknown;
                }
            }
            if (facts.numericPrecision > 0) {
                column.precision = facts.numericPrecision;
                column.scale = facts.numericScale;
                column.fractionDigits = std::max(facts.numericScale, 0);
            }
        }
    }
}

// What only MariaDB's information schema tells: DOUBLE(M,D) and FLOAT(M,D)
// keep D digits after the point, and a TIMESTAMP holds the seconds of an
// unsigned 32-bit count (a signed one before 11.5), in UTC as sessions run.
void markMariaDBColumnFacts(OdbcSession& session, std::vector<ColumnInfo>& columns,
                            const std::string& tableName) {
    const auto isDouble = [](const ColumnInfo& c) { return c.storage == StorageKind::Double; };
    const auto isDate = [](const ColumnInfo& c) { return c.storage == StorageKind::DateTime; };
    const auto isText = [](const ColumnInfo& c) { return c.storage == StorageKind::Text; };
    if (std::none_of(columns.begin(), columns.end(), isDouble) &&
        std::none_of(columns.begin(), columns.end(), isDate) &&
        std::none_of(columns.begin(), columns.end(), isText)) {
        return;
    }
    const auto [schema, table] = splitSchema(tableName);
    const auto rows =
        queryRows(session,
                  "SELECT column_name, data_type, numeric_scale FROM "
                  "information_schema.columns WHERE table_name = ? AND table_schema = "
                  "COALESCE(NULLIF(?, ''), DATABASE()) AND (data_type IN ('timestamp', 'enum', "
                  "'set') OR (data_type IN ('double', 'float') AND numeric_scale IS NOT "
                  "NULL))",
                  {table, schema});
    const CalendarTime last = session.traits().serverVersion >= 110500
                                  ? CalendarTime{2106, 2, 7, 6, 28, 15, 999999}
                                  : CalendarTime{2038, 1, 19, 3, 14, 7, 999999};
    for (const auto& row : rows) {
        for (ColumnInfo& column : columns) {
            if (row.size() != 3 || !sameTextIgnoringCase(column.name, row[0])) {
                continue;
            }
            if (row[1] == "timestamp" && isDate(column)) {
                column.earliest = toDateTime({1970, 1, 1, 0, 0, 1, 0}).microseconds;
                column.latest = toDateTime(last).microseconds;
            } else if ((row[1] == "enum" || row[1] == "set") && isText(column)) {
                column.labelled = true;
            } else if (isDouble(column)) {
                column.fractionDigits = std::atoi(row[2].c_str());
            }
        }
    }
}

void markSQLServerIdentities(const OdbcHandle& statement, std::vector<ColumnInfo>& columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SQLLEN autoUnique = 0;
        SQLColAttribute(statement.get(), static_cast<SQLUSMALLINT>(i + 1),
                        SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr, &autoUnique);
        if (autoUnique == SQL_TRUE) {
            markRefusingColumn(columns[i]);
        }
    }
}

} // namespace

void refineResultColumns(OdbcSession& session, const OdbcHandle& statement,
                         std::vector<ColumnInfo>& columns, const std::string& tableName) {
    switch (session.traits().kind) {
    case DatabaseKind::SQLite:
        applySQLiteDeclarations(session, statement, columns, tableName);
        break;
    case DatabaseKind::PostgreSQL:
        for (ColumnInfo& column : columns) {
            column.holdsNul = false;
            // A time of day, 24:00:00 included; no duration beyond it.
            if (column.providerType == ProviderType::DBTime) {
                column.earliest = 0;
                column.latest = microsecondsPerDay;
            }
        }
        if (!tableName.empty()) {
            refinePostgreSQLColumns(session, columns, tableName);
        }
        break;
    case DatabaseKind::MariaDB:
        for (ColumnInfo& column : columns) {
            column.keepsNaN = column.storage != StorageKind::Double;
            // The driver parses DOUBLE(M,D) text into a neighbouring double;
            // the server's text of a DOUBLE is exact (not so of a FLOAT).
            if (column.storage == StorageKind::Double && column.sqlType == SQL_DOUBLE) {
                column.reading = ValueReading::DoubleText;
            }
            // Dates with a zero month or day ('2024-00-15', '0000-00-00')
            // are no date the driver's structs hold: such columns are read
            // as the server's text.
            if (column.storage == StorageKind::DateTime &&
                column.providerType != ProviderType::DBTime) {
                column.reading = ValueReading::DateText;
                column.dateSpelling = "MariaDB";
                column.latest = toDateTime({9999, 12, 31, 23, 59, 59, 999999}).microseconds;
            }
        }
        if (!tableName.empty()) {
            markMariaDBColumnFacts(session, columns, tableName);
        }
        break;
    case DatabaseKind::SQLServer:
        markSQLServerIdentities(statement, columns);
        break;
    default:
        break;
    }
}

std::string exactReadingStatement(OdbcSession& session, std::vector<ColumnInfo>& columns,
                                  const std::string& sqlTableName) {
    const bool tagged = session.traits().kind == DatabaseKind::SQLite;
    const auto castHere = [](const ColumnInfo& column) { return !column.readAs.empty(); };
    if (columns.empty() || (!tagged && std::none_of(columns.begin(), columns.end(), castHere))) {
        return {};
    }
    const std::string quote = session.traits().identifierQuote;
    std::string list;
    for (ColumnInfo& column : columns) {
        const std::string name = quoteIdentifier(column.name, quote);
        std::string reading = column.readAs.empty() ? name : column.readAs;
        if (tagged) {
            reading = taggedReading(name, session.traits().signedZero);
            column.reading = ValueReading::Tagged;
            column.keepsValueClass = true;
        }
        list += (list.empty() ? "" : ", ") + reading + " AS " + name;
    }
    return "SELECT " + list + " FROM " + sqlTableName;
}
