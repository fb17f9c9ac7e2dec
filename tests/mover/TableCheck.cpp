#include "TableCheck.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

using Engine = TestDatabase::Engine;

namespace {

enum class Kind { Integer, Decimal, Float, Boolean, Text, Blob, Timestamp, Date, Time };

const std::string nullMarker = "~null~";

std::string upper(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The kind of a declared type, by the same kind of word matching SQLite
// uses for its affinities; this also covers the other engines' type names.
Kind kindOf(const std::string& declared) {
    const std::string type = upper(declared);
    if (contains(type, "BOOL") || type == "TINYINT(1)" || type == "BIT") {
        return Kind::Boolean;
    }
    if (contains(type, "TIMESTAMP") || contains(type, "DATETIME")) {
        return Kind::Timestamp;
    }
    if (contains(type, "BLOB") || contains(type, "BYTEA") || contains(type, "BINARY") ||
        contains(type, "IMAGE")) {
        return Kind::Blob;
    }
    if (contains(type, "CHAR") || contains(type, "TEXT") || contains(type, "CLOB")) {
        return Kind::Text;
    }
    if (contains(type, "INT")) {
        return Kind::Integer;
    }
    if (contains(type, "DEC") || contains(type, "NUMERIC") || contains(type, "CURRENCY") ||
        contains(type, "MONEY")) {
        return Kind::Decimal;
    }
    if (contains(type, "REAL") || contains(type, "FLOA") || contains(type, "DOUB")) {
        return Kind::Float;
    }
    if (contains(type, "DATE")) {
        return Kind::Date;
    }
    if (contains(type, "TIME")) {
        return Kind::Time;
    }
    return Kind::Text;
}

bool isNumber(Kind kind) {
    return kind == Kind::Integer || kind == Kind::Decimal || kind == Kind::Float ||
           kind == Kind::Boolean;
}

std::string literal(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return result + "'";
}

// A column's value as text that reads the same on every engine.
std::string rendering(Engine engine, Kind kind, const std::string& column) {
    std::string value;
    switch (engine) {
    case Engine::SQLite:
        switch (kind) {
        case Kind::Text:
        case Kind::Blob:
            value = "hex(" + column + ")";
            break;
        case Kind::Timestamp:
            value = "strftime('%Y-%m-%d %H:%M:%S', " + column + ")";
            break;
        case Kind::Date:
            value = "strftime('%Y-%m-%d', " + column + ")";
            break;
        case Kind::Time:
            value = "strftime('%H:%M:%S', " + column + ")";
            break;
        default:
            value = column;
        }
        break;
    case Engine::PostgreSQL:
        switch (kind) {
        case Kind::Text:
            value = "upper(encode(convert_to(" + column + "::text, 'UTF8'), 'hex'))";
            break;
        case Kind::Blob:
            value = "upper(encode(" + column + ", 'hex'))";
            break;
        case Kind::Timestamp:
            value = "to_char(" + column + ", 'YYYY-MM-DD HH24:MI:SS')";
            break;
        case Kind::Date:
            value = "to_char(" + column + ", 'YYYY-MM-DD')";
            break;
        case Kind::Time:
            value = "to_char(" + column + ", 'HH24:MI:SS')";
            break;
        case Kind::Boolean:
            value = "CASE WHEN " + column + " THEN '1' ELSE '0' END";
            break;
        default:
            value = column + "::text";
        }
        break;
    case Engine::MariaDB:
        switch (kind) {
        case Kind::Text:
            value = "HEX(CONVERT(" + column + " USING utf8mb4))";
            break;
        case Kind::Blob:
            value = "HEX(" + column + ")";
            break;
        case Kind::Timestamp:
            value = "DATE_FORMAT(" + column + ", '%Y-%m-%d %H:%i:%s')";
            break;
        case Kind::Date:
            value = "DATE_FORMAT(" + column + ", '%Y-%m-%d')";
            break;
        case Kind::Time:
            value = "TIME_FORMAT(" + column + ", '%H:%i:%s')";
            break;
        default:
            value = column;
        }
        break;
    }
    return "CASE WHEN " + column + " IS NULL THEN '" + nullMarker + "' ELSE " + value + " END";
}

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// Decimal text without a sign of plus, trailing zeros of the fraction or a
// bare decimal point, so that 1, 1.0 and 1.00 read alike.
std::string canonicalNumber(std::string text) {
    if (text == nullMarker) {
        return text;
    }
    if (!text.empty() && text.front() == '+') {
        text.erase(0, 1);
    }
    if (text.find_first_of("eE") != std::string::npos) {
        std::ostringstream plain;
        plain.precision(6);
        plain << std::fixed << std::stold(text);
        text = plain.str();
    }
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') {
            text.pop_back();
        }
        if (!text.empty() && text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (const char c : line) {
        if (c == '|') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::string shown(const std::string& value) {
    return value == nullMarker ? "NULL" : "'" + value + "'";
}

const ColumnDescription* findColumn(const std::vector<ColumnDescription>& columns,
                                    const std::string& name) {
    for (const auto& column : columns) {
        if (upper(column.name) == upper(name)) {
            return &column;
        }
    }
    return nullptr;
}

std::vector<std::vector<std::string>> renderedRows(const TestDatabase& database,
                                                   const std::string& table,
                                                   const std::vector<std::string>& columns,
                                                   const std::vector<Kind>& kinds,
                                                   const std::vector<std::string>& keys) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        // Aliases keep ORDER BY on the stored values: PostgreSQL would take a
        // column's name for the rendered text.
        sql += (i == 0 ? "" : ", ") +
               rendering(database.engine(), kinds[i], database.quoted(columns[i])) + " AS v" +
               std::to_string(i);
    }
    sql += " FROM " + database.quoted(table) + " ORDER BY ";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + database.quoted(keys[i]);
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : database.query(sql + ";")) {
        auto fields = splitFields(line);
        if (fields.size() != columns.size()) {
            throw std::runtime_error("unexpected client output: " + line);
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (kinds[i] == Kind::Text && fields[i] != nullMarker) {
                fields[i] = fromHex(fields[i]);
            }
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}

std::vector<std::string> typeArguments(const std::string& declared) {
    const auto open = declared.find('(');
    const auto close = declared.find(')', open);
    if (open == std::string::npos || close == std::string::npos) {
        return {};
    }
    std::vector<std::string> arguments;
    std::istringstream parts(declared.substr(open + 1, close - open - 1));
    std::string part;
    while (std::getline(parts, part, ',')) {
        arguments.push_back(part);
    }
    return arguments;
}

// The target engine's type for a column of another engine.
std::string translatedType(Engine engine, const std::string& declared) {
    const auto arguments = typeArguments(declared);
    const std::string type = upper(declared);
    switch (kindOf(declared)) {
    case Kind::Integer:
        return contains(type, "BIG") ? "BIGINT" : contains(type, "SMALL") ? "SMALLINT" : "INTEGER";
    case Kind::Boolean:
        return "BOOLEAN";
    case Kind::Decimal:
        return arguments.size() == 2 ? "DECIMAL(" + arguments[0] + "," + arguments[1] + ")"
                                     : "DECIMAL";
    case Kind::Float:
        return engine == Engine::PostgreSQL ? "DOUBLE PRECISION"
               : engine == Engine::MariaDB  ? "DOUBLE"
                                            : "REAL";
    case Kind::Text:
        if (arguments.size() == 1) {
            return "VARCHAR(" + arguments[0] + ")";
        }
        return engine == Engine::MariaDB ? "LONGTEXT" : "TEXT";
    case Kind::Blob:
        return engine == Engine::PostgreSQL ? "BYTEA"
               : engine == Engine::MariaDB  ? "LONGBLOB"
                                            : "BLOB";
    case Kind::Timestamp:
        return engine == Engine::PostgreSQL ? "TIMESTAMP" : "DATETIME";
    case Kind::Date:
        return "DATE";
    case Kind::Time:
        return "TIME";
    }
    return "TEXT";
}

} // namespace

std::vector<std::string> tableNames(const TestDatabase& database) {
    switch (database.engine()) {
    case Engine::SQLite:
        return database.query("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                              "LIKE 'sqlite_%' ORDER BY name;");
    case Engine::PostgreSQL:
        return database.query("SELECT table_name FROM information_schema.tables WHERE "
                              "table_schema = current_schema() ORDER BY table_name;");
    case Engine::MariaDB:
        return database.query("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                              "TABLE_SCHEMA = DATABASE() ORDER BY TABLE_NAME;");
    }
    return {};
}

std::string findTable(const TestDatabase& database, const std::string& name) {
    for (const auto& table : tableNames(database)) {
        if (upper(table) == upper(name)) {
            return table;
        }
    }
    return {};
}

std::vector<ColumnDescription> describeTable(const TestDatabase& database,
                                             const std::string& table) {
    std::string sql;
    switch (database.engine()) {
    case Engine::SQLite:
        sql = "SELECT name, type, \"notnull\", pk FROM pragma_table_info(" + literal(table) + ");";
        break;
    case Engine::PostgreSQL:
        sql = "SELECT a.attname, format_type(a.atttypid, a.atttypmod), "
              "CASE WHEN a.attnotnull THEN 1 ELSE 0 END, "
              "coalesce(array_position(i.indkey::int2[], a.attnum) - "
              "array_lower(i.indkey::int2[], 1) + 1, 0) "
              "FROM pg_attribute a LEFT JOIN pg_index i "
              "ON i.indrelid = a.attrelid AND i.indisprimary "
              "WHERE a.attrelid = quote_ident(" +
              literal(table) +
              ")::regclass AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum;";
        break;
    case Engine::MariaDB:
        sql = "SELECT c.COLUMN_NAME, c.COLUMN_TYPE, IF(c.IS_NULLABLE = 'YES', 0, 1), "
              "IFNULL(k.ORDINAL_POSITION, 0) FROM information_schema.COLUMNS c "
              "LEFT JOIN information_schema.KEY_COLUMN_USAGE k "
              "ON k.TABLE_SCHEMA = c.TABLE_SCHEMA AND k.TABLE_NAME = c.TABLE_NAME "
              "AND k.COLUMN_NAME = c.COLUMN_NAME AND k.CONSTRAINT_NAME = 'PRIMARY' "
              "WHERE c.TABLE_SCHEMA = DATABASE() AND c.TABLE_NAME = " +
              literal(table) + " ORDER BY c.ORDINAL_POSITION;";
        break;
    }
    std::vector<ColumnDescription> columns;
    for (const auto& line : database.query(sql)) {
        const auto fields = splitFields(line);
        if (fields.size() != 4) {
            throw std::runtime_error("unexpected column description: " + line);
        }
        columns.push_back({fields[0], fields[1], fields[2] == "0", std::stoi(fields[3])});
    }
    return columns;
}

int rowCount(const TestDatabase& database, const std::string& table) {
    return std::stoi(database.queryValue("SELECT COUNT(*) FROM " + database.quoted(table) + ";"));
}

void createTableLike(const TestDatabase& target, const std::string& table,
                     const std::vector<ColumnDescription>& columns) {
    std::string sql = "CREATE TABLE " + target.quoted(table) + " (";
    std::map<int, std::string> keys;
    for (const auto& column : columns) {
        sql += target.quoted(column.name) + " " + translatedType(target.engine(), column.type) +
               (column.nullable ? "" : " NOT NULL") + ", ";
        if (column.keyPosition > 0) {
            keys[column.keyPosition] = target.quoted(column.name);
        }
    }
    sql += "PRIMARY KEY (";
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        sql += (it == keys.begin() ? "" : ", ") + it->second;
    }
    target.execute(sql + "));");
}

TableComparison compareTables(const TestDatabase& source, const std::string& sourceTable,
                              const TestDatabase& target, const std::string& targetTable) {
    TableComparison comparison;
    const auto sourceColumns = describeTable(source, sourceTable);
    const auto targetColumns = describeTable(target, targetTable);

    std::vector<std::string> sourceNames;
    std::vector<std::string> targetNames;
    std::vector<Kind> sourceKinds;
    std::vector<Kind> targetKinds;
    std::map<int, std::size_t> keyColumns;
    for (const auto& column : sourceColumns) {
        const ColumnDescription* copy = findColumn(targetColumns, column.name);
        if (copy == nullptr) {
            comparison.differences.push_back("column " + column.name + " missing in the target");
            continue;
        }
        if (column.keyPosition > 0) {
            keyColumns[column.keyPosition] = sourceNames.size();
        }
        sourceNames.push_back(column.name);
        targetNames.push_back(copy->name);
        sourceKinds.push_back(kindOf(column.type));
        targetKinds.push_back(kindOf(copy->type));
    }
    if (sourceNames.empty()) {
        comparison.differences.push_back("no column to compare");
        return comparison;
    }
    if (keyColumns.empty()) {
        keyColumns[1] = 0;
    }
    std::vector<std::string> sourceKeys;
    std::vector<std::string> targetKeys;
    for (const auto& [position, index] : keyColumns) {
        sourceKeys.push_back(sourceNames[index]);
        targetKeys.push_back(targetNames[index]);
    }

    auto sourceRows = renderedRows(source, sourceTable, sourceNames, sourceKinds, sourceKeys);
    auto targetRows = renderedRows(target, targetTable, targetNames, targetKinds, targetKeys);
    comparison.sourceRows = static_cast<int>(sourceRows.size());
    comparison.targetRows = static_cast<int>(targetRows.size());
    if (sourceRows.size() != targetRows.size()) {
        comparison.differences.push_back("source has " + std::to_string(sourceRows.size()) +
                                         " rows, target " + std::to_string(targetRows.size()));
    }

    constexpr std::size_t shownDifferences = 12;
    std::size_t hidden = 0;
    const std::size_t rows = std::min(sourceRows.size(), targetRows.size());
    for (std::size_t row = 0; row < rows; ++row) {
        std::string key;
        for (const auto& [position, index] : keyColumns) {
            key += (key.empty() ? "" : ",") + sourceRows[row][index];
        }
        for (std::size_t column = 0; column < sourceNames.size(); ++column) {
            std::string expected = sourceRows[row][column];
            std::string actual = targetRows[row][column];
            if (isNumber(sourceKinds[column])) {
                expected = canonicalNumber(expected);
                actual = canonicalNumber(actual);
            }
            if (expected == actual) {
                continue;
            }
            if (comparison.differences.size() >= shownDifferences) {
                ++hidden;
                continue;
            }
            comparison.differences.push_back("row with key (" + key + "), column " +
                                             sourceNames[column] + ": source " + shown(expected) +
                                             ", target " + shown(actual));
        }
    }
    if (hidden > 0) {
        comparison.differences.push_back("and " + std::to_string(hidden) + " more");
    }
    return comparison;
}
