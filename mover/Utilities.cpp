#include "Utilities.h"

#include "TableNames.h"
#include "TargetTypeScript.h"
#include "dbaccess/TADOCommand.h"
#include "dbaccess/TADODataSet.h"
#include "dbaccess/catalog/SqlNames.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <cstdio>

namespace {

// Upper-cased names of the schema way, and the lower-cased table name of
// the query way, as the target takes a new name.
std::string createdName(TADOConnection& target, const std::string& name) {
    return target.CreatedIdentifier(name);
}

// MariaDB keeps the letter case of a created table, so it gets the source's
// spelling; elsewhere the upper-cased name folds or matches as it is.
std::string schemaTableName(TADOConnection& target, const std::string& name,
                            const std::string& sourceName) {
    return target.Kind() == DatabaseKind::MariaDB ? sourceName : upperCase(name);
}

void tell(std::string* failure, const std::exception& error) {
    if (failure != nullptr) {
        *failure = error.what();
    }
}

std::string fractionOf(const SourceColumnType& column) {
    return std::to_string(column.fractionDigits >= 0 ? std::min(column.fractionDigits, 6) : 6);
}

} // namespace

std::string IfThenStr(bool flag, const std::string& a, const std::string& b) {
    return flag ? a : b;
}

std::string RepeatStr(const std::string& s, int n) {
    std::string result;
    for (int i = 0; i < n; ++i) {
        result += s;
    }
    return result;
}

std::string PadRight(const std::string& s, int width) {
    const int length = static_cast<int>(s.size());
    return length >= width ? s : s + RepeatStr(" ", width - length);
}

std::string ProviderTypeToSql(int code, int length) {
    switch (static_cast<std::uint16_t>(code)) {
    case 0:
        return "Empty";
    case 2:
        return "SMALLINT";
    case 3:
        return "INTEGER";
    case 4:
    case 5:
    case 14:
    case 131:
        return "FLOAT";
    case 6:
        return "Currency";
    case 7:
        return "Date";
    case 8:
        return "BSTR";
    case 9:
        return "IDispatch";
    case 10:
        return "Error";
    case 11:
        return "Boolean";
    case 12:
        return "Variant";
    case 13:
        return "IUnknown";
    case 16:
        return "TinyInt";
    case 17:
        return "UnsignedTinyInt";
    case 18:
        return "UnsignedSmallInt";
    case 19:
        return "UnsignedInt";
    case 20:
        return "BigInt";
    case 21:
        return "UnsignedBigInt";
    case 64:
        return "FileTime";
    case 72:
        return "GUID";
    case 128:
    case 204:
        return "IMAGE";
    case 129:
    case 200:
        return length < 256 ? "VARCHAR(" + std::to_string(length) + ")" : "TEXT";
    case 130:
        return "WChar";
    case 132:
        return "UserDefined";
    case 133:
        return "DBDate";
    case 134:
        return "DBTime";
    case 135:
        return "DATETIME";
    case 136:
        return "Chapter";
    case 137:
        return "DBFileTime";
    case 138:
        return "PropVariant";
    case 139:
        return "VarNumeric";
    case 201:
        return "LongVarChar";
    case 202:
        return "VarWChar";
    case 203:
        return "LongVarWChar";
    case 205:
        return "LongVarBinary";
    default:
        return "<Unknown>";
    }
}

std::string ProviderTypeToSql(const SourceColumnType& column, DatabaseKind target) {
    if (const auto same = sameKindType(column, target)) {
        return *same;
    }
    const bool mariadb = target == DatabaseKind::MariaDB;
    switch (column.providerType) {
    case 5:
        // FLOAT is a 4-byte float on MariaDB.
        return "DOUBLE PRECISION";
    case 14:
    case 131:
        // Decimals keep their digits instead of becoming floating point.
        return decimalTypeName("DECIMAL", column.precision, column.scale, target);
    case 135:
        return mariadb                             ? "DATETIME(" + fractionOf(column) + ")"
               : target == DatabaseKind::SQLServer ? "DATETIME2"
                                                   : "DATETIME";
    case 129:
    case 200:
        // MariaDB's TEXT holds 64 KiB.
        if (mariadb && column.length >= 256) {
            return "LONGTEXT";
        }
        break;
    default:
        break;
    }
    return ProviderTypeToSql(column.providerType,
                             static_cast<int>(std::min<std::int64_t>(column.length, 2147483647)));
}

std::string FieldTypeToSql(TFieldType type, int size, DatabaseKind target) {
    const bool mariadb = target == DatabaseKind::MariaDB;
    switch (type) {
    case ftWord:
        // Words reach 65535, beyond a SMALLINT.
        return "Integer";
    case ftFloat:
        return mariadb ? "DOUBLE" : FieldTypeToSql(type, size);
    case ftDateTime:
    case ftTimeStamp:
        return mariadb                             ? "DATETIME(6)"
               : target == DatabaseKind::SQLServer ? "DATETIME2"
                                                   : FieldTypeToSql(type, size);
    case ftTime:
        return mariadb ? "TIME(6)" : FieldTypeToSql(type, size);
    case ftMemo:
        return mariadb ? "LONGTEXT" : FieldTypeToSql(type, size);
    default:
        return FieldTypeToSql(type, size);
    }
}

std::string FieldTypeToSql(TFieldType type, int size) {
    switch (type) {
    case ftString: {
        char text[32];
        std::snprintf(text, sizeof text, "varchar(%d)", size);
        return text;
    }
    case ftSmallint:
    case ftWord:
        return "Smallint";
    case ftInteger:
        return "Integer";
    case ftFloat:
        return "float";
    case ftDate:
        return "Date";
    case ftTime:
        return "TIME";
    case ftDateTime:
    case ftTimeStamp:
        return "DATETime";
    case ftBlob:
        return "Image";
    case ftMemo:
        return "text";
    default:
        return "<Unknown>";
    }
}

std::vector<std::string> BuildCreateTableScript(TADOConnection& connection, const std::string& name,
                                                TADOConnection& target,
                                                const std::string& sourceName,
                                                const CreationFacts& facts) {
    std::vector<std::string> lines;
    try {
        lines.push_back("CREATE TABLE " +
                        createdName(target, schemaTableName(target, name, sourceName)) + "(");
        TADODataSet rowset;
        connection.OpenSchemaRowset(SchemaKind::PrimaryKeys,
                                    {Variant(), Variant(), Variant(sourceName)}, rowset);
        std::string keys;
        rowset.Rewind();
        while (!rowset.AtEnd()) {
            keys += createdName(target, upperCase(rowset.RequireField("Column_Name").AsString()));
            rowset.Advance();
            if (!rowset.AtEnd()) {
                keys += ",";
            }
        }
        connection.OpenSchemaRowset(SchemaKind::Columns,
                                    {Variant(), Variant(), Variant(sourceName), Variant()}, rowset);
        if (rowset.RecordCount() == 0) {
            return {};
        }
        rowset.Rewind();
        while (!rowset.AtEnd()) {
            const std::string column = rowset.RequireField("COLUMN_NAME").AsString();
            const SourceColumnType type =
                facts.fitted(column, sourceColumnType(rowset, connection.Kind()));
            std::string line =
                "  " + PadRight(createdName(target, upperCase(column)), 20) + " " +
                ProviderTypeToSql(type, target.Kind()) +
                IfThenStr(rowset.RequireField("IS_NULLABLE").AsBoolean(), " NULL ", " NOT NULL");
            rowset.Advance();
            if (!rowset.AtEnd() || !keys.empty()) {
                line += ",";
            }
            lines.push_back(line);
        }
        if (!keys.empty()) {
            lines.push_back(" PRIMARY KEY(" + keys + ")");
        }
        lines.push_back(");");
    } catch (const std::exception&) {
        lines.clear();
    }
    return lines;
}

bool CreateTableFromSchema(MoveContext& context, const std::string& name,
                           const std::string& sourceName, const CreationFacts& facts,
                           std::string* failure) {
    const auto lines = BuildCreateTableScript(context.source, name, context.target,
                                              databaseSpelling(context.source, sourceName), facts);
    if (lines.empty()) {
        return false;
    }
    TADOCommand command("", &context.target);
    std::string text;
    for (const auto& line : lines) {
        text += line;
    }
    command.SetCommandText(text);
    try {
        command.Execute();
        return true;
    } catch (const std::exception& error) {
        tell(failure, error);
        return false;
    }
}

bool CreateTableFromTargetTypes(MoveContext& context, const std::string& name,
                                const std::string& sourceName, const CreationFacts& facts,
                                std::string* failure) {
    try {
        const std::string statement =
            buildTargetTypeScript(context.source, databaseSpelling(context.source, sourceName),
                                  context.target, name, facts);
        if (statement.empty()) {
            return false;
        }
        TADOCommand command("", &context.target);
        command.SetCommandText(statement);
        command.Execute();
        return true;
    } catch (const std::exception& error) {
        tell(failure, error);
        return false;
    }
}

TargetCreation EnsureTargetTable(MoveContext& context, const std::string& name,
                                 const std::string& sourceName) {
    TargetCreation creation;
    if (context.targetTables.IndexOf(name) >= 0) {
        return creation;
    }
    const CreationFacts facts = CreationFacts::gather(
        context.source, databaseSpelling(context.source, sourceName), context.target);
    creation.notes = facts.notes();
    // The target's own types say best why a table cannot be made.
    std::string schemaFailure, typesFailure, queryFailure;
    const bool created =
        CreateTableFromSchema(context, name, sourceName, facts, &schemaFailure) ||
        CreateTableFromTargetTypes(context, name, sourceName, facts, &typesFailure) ||
        CreateTableFromQuery(context, name, sourceName, &queryFailure);
    if (created) {
        context.targetTables.Add(name);
    } else {
        creation.failure = !typesFailure.empty()   ? typesFailure
                           : !queryFailure.empty() ? queryFailure
                                                   : schemaFailure;
    }
    return creation;
}
