#include "ExactComparison.h"

#include "TableCheck.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

using Engine = TestDatabase::Engine;

namespace {

// How a column keeps its values, read from its declared type.
enum class Storage {
    Boolean,
    Integer,
    Decimal,
    Float,
    Date,
    Time,
    Timestamp,
    Zoned,
    Text,
    Blob,
    Other
};

std::string lower(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

Storage storageOf(const std::string& declared) {
    const std::string type = lower(declared);
    if (has(type, "bool") || type == "tinyint(1)" || type == "bit") {
        return Storage::Boolean;
    }
    if (has(type, "timestamp with time zone") || type == "timestamptz") {
        return Storage::Zoned;
    }
    if (has(type, "timestamp") || has(type, "datetime")) {
        return Storage::Timestamp;
    }
    if (has(type, "bytea") || has(type, "blob") || has(type, "binary")) {
        return Storage::Blob;
    }
    if (has(type, "char") || has(type, "text") || has(type, "clob")) {
        return Storage::Text;
    }
    if (has(type, "int")) {
        return Storage::Integer;
    }
    if (has(type, "numeric") || has(type, "decimal")) {
        return Storage::Decimal;
    }
    if (has(type, "double") || has(type, "real") || has(type, "float")) {
        return Storage::Float;
    }
    if (has(type, "date")) {
        return Storage::Date;
    }
    if (has(type, "time")) {
        return Storage::Time;
    }
    return Storage::Other;
}

bool isBytes(Family family) {
    return family == Family::Text || family == Family::FixedText || family == Family::Blob;
}

// SQLite keeps any value in any column: a REAL goes out as its exact bits.
std::string sqliteRendering(Family family, const std::string& column) {
    if (isBytes(family)) {
        return "hex(" + column + ")";
    }
    return "hex(CASE typeof(" + column + ") WHEN 'real' THEN 'bits:' || hex(ieee754_to_blob(" +
           column + ")) WHEN 'blob' THEN 'blob:' || hex(" + column + ") ELSE CAST(" + column +
           " AS TEXT) END)";
}

std::string postgresqlRendering(Storage storage, const std::string& column) {
    std::string text;
    switch (storage) {
    case Storage::Blob:
        return "encode(" + column + ", 'hex')";
    case Storage::Boolean:
        text = "CASE WHEN " + column + " THEN '1' ELSE '0' END";
        break;
    case Storage::Float:
        text = column + "::float8::text";
        break;
    case Storage::Date:
        text = "to_char(" + column + ", 'YYYY-MM-DD')";
        break;
    case Storage::Time:
        text = "to_char(" + column + ", 'HH24:MI:SS.US')";
        break;
    case Storage::Timestamp:
        text = "to_char(" + column + ", 'YYYY-MM-DD HH24:MI:SS.US')";
        break;
    case Storage::Zoned:
        text = "to_char(" + column + " AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS.US')";
        break;
    default:
        text = column + "::text";
    }
    // to_char gives no text for infinity.
    text = "COALESCE(" + text + ", " + column + "::text)";
    return "encode(convert_to(" + text + ", 'UTF8'), 'hex')";
}

std::string mariadbRendering(Storage storage, const std::string& column) {
    switch (storage) {
    case Storage::Blob:
        return "HEX(" + column + ")";
    case Storage::Float:
        return "HEX(CAST(CAST(" + column + " AS DOUBLE) AS CHAR))";
    case Storage::Date:
        return "HEX(DATE_FORMAT(" + column + ", '%Y-%m-%d'))";
    case Storage::Time:
        return "HEX(TIME_FORMAT(" + column + ", '%H:%i:%s.%f'))";
    case Storage::Timestamp:
    case Storage::Zoned:
        return "HEX(DATE_FORMAT(" + column + ", '%Y-%m-%d %H:%i:%s.%f'))";
    case Storage::Text:
        return "HEX(CONVERT(" + column + " USING utf8mb4))";
    default:
        return "HEX(CAST(" + column + " AS CHAR))";
    }
}

// 'N' for NULL, else 'V' and the value's bytes in hex.
std::string rendering(Engine engine, Family family, const std::string& declared,
                      const std::string& column) {
    const Storage storage = storageOf(declared);
    switch (engine) {
    case Engine::SQLite:
        return "CASE WHEN " + column + " IS NULL THEN 'N' ELSE 'V' || " +
               sqliteRendering(family, column) + " END";
    case Engine::PostgreSQL:
        return "CASE WHEN " + column + " IS NULL THEN 'N' ELSE 'V' || " +
               postgresqlRendering(storage, column) + " END";
    case Engine::MariaDB:
        return "CASE WHEN " + column + " IS NULL THEN 'N' ELSE CONCAT('V', " +
               mariadbRendering(storage, column) + ") END";
    }
    return column;
}

struct ResolvedColumn {
    std::string spelling;
    std::string type;
};

std::optional<ResolvedColumn> resolve(const std::vector<ColumnDescription>& columns,
                                      const std::string& name) {
    for (const auto& column : columns) {
        if (lower(column.name) == lower(name)) {
            return ResolvedColumn{column.name, column.type};
        }
    }
    return std::nullopt;
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|', start)) {
        fields.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

// Cuts text at a character boundary for display.
std::string clipped(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end) + "...";
}

} // namespace

std::map<long long, std::vector<Canonical>> readExactly(const TestDatabase& database,
                                                        const std::string& table,
                                                        const std::vector<ExactColumn>& columns) {
    const auto described = describeTable(database, table);
    const auto key = resolve(described, "id");
    if (!key) {
        throw std::runtime_error("no column id in " + table);
    }
    std::string sql = "SELECT " + database.quoted(key->spelling);
    for (const auto& column : columns) {
        const auto found = resolve(described, column.name);
        if (!found) {
            throw std::runtime_error("no column " + column.name + " in " + table);
        }
        sql += ", " + rendering(database.engine(), column.family, found->type,
                                database.quoted(found->spelling));
    }
    sql += " FROM " + database.quoted(table) + " ORDER BY 1;";
    std::map<long long, std::vector<Canonical>> rows;
    for (const auto& line : database.query(sql)) {
        const auto fields = splitFields(line);
        if (fields.size() != columns.size() + 1) {
            throw std::runtime_error("unexpected client output: " + clipped(line, 200));
        }
        std::vector<Canonical> values;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string& field = fields[i + 1];
            if (field == "N") {
                values.emplace_back(std::nullopt);
            } else {
                values.emplace_back(canonicalValue(columns[i].family, bytesFromHex(field, 1)));
            }
        }
        rows[std::stoll(fields[0])] = std::move(values);
    }
    return rows;
}

std::vector<std::string> compareExactly(const TestDatabase& source, const std::string& sourceTable,
                                        const TestDatabase& target, const std::string& targetTable,
                                        const std::vector<ExactColumn>& columns,
                                        std::size_t shown) {
    std::vector<std::string> differences;
    const auto targetColumns = describeTable(target, targetTable);
    std::vector<ExactColumn> present;
    for (const auto& column : columns) {
        if (resolve(targetColumns, column.name)) {
            present.push_back(column);
        } else {
            differences.push_back("column " + column.name + " missing in the target");
        }
    }
    const auto expected = readExactly(source, sourceTable, present);
    const auto actual = readExactly(target, targetTable, present);

    // Per column one example for each source value that went wrong.
    struct ColumnDifferences {
        std::set<Canonical> sources;
        std::vector<std::string> examples;
        std::size_t rows = 0;
    };
    std::vector<ColumnDifferences> perColumn(present.size());
    std::vector<long long> missing;
    std::vector<long long> extra;
    for (const auto& [id, values] : expected) {
        const auto found = actual.find(id);
        if (found == actual.end()) {
            missing.push_back(id);
            continue;
        }
        for (std::size_t i = 0; i < present.size(); ++i) {
            if (values[i] == found->second[i]) {
                continue;
            }
            auto& column = perColumn[i];
            ++column.rows;
            if (column.sources.insert(values[i]).second) {
                column.examples.push_back("row id=" + std::to_string(id) + ", column " +
                                          present[i].name + ": source " +
                                          shownValue(values[i], present[i].family) + ", target " +
                                          shownValue(found->second[i], present[i].family));
            }
        }
    }
    for (const auto& [id, values] : actual) {
        if (expected.find(id) == expected.end()) {
            extra.push_back(id);
        }
    }
    const auto rowList = [](const std::vector<long long>& ids) {
        std::string text;
        for (std::size_t i = 0; i < std::min<std::size_t>(ids.size(), 10); ++i) {
            text += (i == 0 ? "" : ", ") + std::to_string(ids[i]);
        }
        return text + (ids.size() > 10 ? ", ..." : "");
    };
    if (!missing.empty()) {
        differences.push_back(std::to_string(missing.size()) + " rows missing in the target, ids " +
                              rowList(missing));
    }
    if (!extra.empty()) {
        differences.push_back(std::to_string(extra.size()) + " rows in the target only, ids " +
                              rowList(extra));
    }
    // The first example of every column before the second of any.
    for (std::size_t round = 0; differences.size() < shown; ++round) {
        bool any = false;
        for (std::size_t i = 0; i < present.size() && differences.size() < shown; ++i) {
            if (round < perColumn[i].examples.size()) {
                differences.push_back(perColumn[i].examples[round]);
                any = true;
            }
        }
        if (!any) {
            break;
        }
    }
    std::string tally;
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (perColumn[i].rows > 0) {
            tally += (tally.empty() ? "" : ", ") + present[i].name + " " +
                     std::to_string(perColumn[i].rows);
        }
    }
    if (!tally.empty()) {
        differences.push_back("differing rows per column: " + tally + " (of " +
                              std::to_string(expected.size()) + ")");
    }
    return differences;
}

std::string shownValue(const Canonical& value, Family family) {
    if (!value) {
        return "NULL";
    }
    const std::string& text = *value;
    const std::string size = " (" + std::to_string(text.size()) + " bytes)";
    if (family == Family::Blob) {
        static const char* digits = "0123456789ABCDEF";
        std::string hex;
        for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), 16); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        return "x'" + hex + (text.size() > 16 ? "...'" : "'") + size;
    }
    std::string escaped;
    for (const char c : clipped(text, 60)) {
        escaped += c == '\n'   ? std::string("\\n")
                   : c == '\t' ? std::string("\\t")
                               : std::string(1, c);
    }
    return "'" + escaped + "'" + (isBytes(family) && text.size() > 60 ? size : "");
}
