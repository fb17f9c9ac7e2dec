#pragma once

#include "TargetTypeScript.h"
#include "dbaccess/catalog/SQLiteColumnValues.h"

#include <map>
#include <string>
#include <vector>

// What creating a target table knows of the source beyond its columns
// rowset: the values each column of a SQLite table holds, which SQLite
// bounds by no declaration, between PostgreSQL databases the source's
// types that the target lacks, between MariaDB databases each column's
// whole declaration, and from MariaDB into PostgreSQL the times that are
// durations.
class CreationFacts {
public:
    // Reads the values of a SQLite source and, between PostgreSQL
    // databases, creates the enum types and domains the target lacks.
    static CreationFacts gather(TADOConnection& source, const std::string& sourceName,
                                TADOConnection& target);

    // The column with the type the target must hold: a text type for text
    // in a numeric column, a length that holds the longest value, a base
    // type for one the target cannot have.
    SourceColumnType fitted(const std::string& column, SourceColumnType type) const;

    // Lines for the message list: types created in the target and types
    // given in place of the source's.
    const std::vector<std::string>& notes() const noexcept { return notes_; }

private:
    std::string declarationFor(TADOConnection& source, TADOConnection& target,
                               const std::string& declared, int depth);

    std::map<std::string, SQLiteColumnValues> values_;
    // Columns whose type the target lacks: the declaration it takes instead,
    // empty for one of the target's own types.
    std::map<std::string, std::string> replacements_;
    // Declarations looked at in the target, and what it takes for each.
    std::map<std::string, std::string> declarations_;
    // MariaDB columns as their CREATE TABLE declares them.
    std::map<std::string, std::string> wholeDeclarations_;
    // Columns that take one of the target's own types, whatever the source's.
    std::map<std::string, std::string> targetDeclarations_;
    std::vector<std::string> notes_;
};
