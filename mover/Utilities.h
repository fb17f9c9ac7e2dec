#pragma once

#include "CreationFacts.h"
#include "MoveContext.h"
#include "TargetTypeScript.h"
#include "dbaccess/fields/FieldTypes.h"

#include <string>
#include <vector>

// What creating a missing target table has to tell.
struct TargetCreation {
    // Lines for the message list: types created in the target or given in
    // place of the source's.
    std::vector<std::string> notes;
    // Why no way created the table; empty when it was there or was created.
    std::string failure;
};

// Creates the target table when the target does not list it; name is lower
// case, sourceName the source table as its list spells it. The ways are
// tried in order: the schema rowsets, the target's own types, the query.
TargetCreation EnsureTargetTable(MoveContext& context, const std::string& name,
                                 const std::string& sourceName);

// The CREATE TABLE script from the source's schema rowsets, executed on the
// target. A way that fails puts the target's reason in failure when given.
bool CreateTableFromSchema(MoveContext& context, const std::string& name,
                           const std::string& sourceName,
                           const CreationFacts& facts = CreationFacts(),
                           std::string* failure = nullptr);
// The script's lines (empty on failure). Names are written for target, whose
// quote character and letter case apply; sourceName is the source's spelling.
std::vector<std::string> BuildCreateTableScript(TADOConnection& connection, const std::string& name,
                                                TADOConnection& target,
                                                const std::string& sourceName,
                                                const CreationFacts& facts = CreationFacts());
// A CREATE TABLE statement from the fields of a one-row source query, with
// the key and the nullability of the source's schema rowsets.
bool CreateTableFromQuery(MoveContext& context, const std::string& name,
                          const std::string& sourceName, std::string* failure = nullptr);
// A CREATE TABLE statement in the target's own type names, for when the
// schema way fails.
bool CreateTableFromTargetTypes(MoveContext& context, const std::string& name,
                                const std::string& sourceName,
                                const CreationFacts& facts = CreationFacts(),
                                std::string* failure = nullptr);

// The type maps of the two ways.
std::string ProviderTypeToSql(int code, int length);
std::string FieldTypeToSql(TFieldType type, int size);
// The same for a target database: a type text the target reads as a
// narrower type is replaced by one that holds every value (doubles,
// decimals with their precision and scale, fractions of seconds, long text).
std::string ProviderTypeToSql(const SourceColumnType& column, DatabaseKind target);
std::string FieldTypeToSql(TFieldType type, int size, DatabaseKind target);

std::string IfThenStr(bool flag, const std::string& a, const std::string& b);
std::string RepeatStr(const std::string& s, int n);
std::string PadRight(const std::string& s, int width);
