#pragma once

#include "MoveContext.h"
#include "TargetTypeScript.h"
#include "dbaccess/fields/FieldTypes.h"

#include <string>
#include <vector>

// Creates the target table when the target does not list it; name is lower
// case, sourceName the source table as its list spells it.
void EnsureTargetTable(MoveContext& context, const std::string& name,
                       const std::string& sourceName);

// The CREATE TABLE script from the source's schema rowsets, executed on the target.
bool CreateTableFromSchema(MoveContext& context, const std::string& name,
                           const std::string& sourceName);
// The script's lines (empty on failure). Names are written for target, whose
// quote character and letter case apply; sourceName is the source's spelling.
std::vector<std::string> BuildCreateTableScript(TADOConnection& connection, const std::string& name,
                                                TADOConnection& target,
                                                const std::string& sourceName);
// A CREATE TABLE statement from the fields of a one-row source query.
bool CreateTableFromQuery(MoveContext& context, const std::string& name,
                          const std::string& sourceName);
// A CREATE TABLE statement in the target's own type names, for when both
// ways above fail.
bool CreateTableFromTargetTypes(MoveContext& context, const std::string& name,
                                const std::string& sourceName);

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
