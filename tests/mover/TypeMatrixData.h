#pragma once

#include "ExactComparison.h"
#include "MoverRun.h"

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

// The tables of the type matrix: every column a type family with its edge
// values, row i taking value i mod n of each column's list.

enum class Shape { Narrow, Wide };

struct MatrixColumn {
    std::string name;
    Family family;
    // The natural type on SQLite, PostgreSQL and MariaDB.
    std::array<std::string, 3> types;
    // Values as literals of the family; nullopt is NULL.
    std::vector<Canonical> values;
    // What the type of a column the copy created on each target must name;
    // empty where any type that holds the values will do.
    std::array<std::string, 3> createdType{};
    // Statements that make the column's type on each engine (CREATE TYPE).
    std::array<std::string, 3> setup{};
};

struct MatrixTable {
    std::string name;
    int rows = 0;
    std::vector<MatrixColumn> columns;
};

const std::string& typeOn(const std::array<std::string, 3>& types, TestDatabase::Engine engine);

// The table of a shape for a copy of the pair: columns of the source's own
// types only, and values every engine of the pair holds exactly.
MatrixTable matrixTable(Shape shape, const CopyPair& pair);

// CREATE TABLE with the engine's types for each column (an integer key id
// first), and the statement that fills it.
std::string createStatement(const MatrixTable& table, TestDatabase::Engine engine);
std::string insertStatement(const MatrixTable& table, TestDatabase::Engine engine);

// The columns as they compare, at the precision of the source's types.
std::vector<ExactColumn> comparedColumns(const MatrixTable& table, TestDatabase::Engine source);

// A value the target cannot hold as it is, or holds only after a change of
// type: a one-column table of three rows (this value, one that fits, NULL)
// copied into a target column of `targetTypes`, or a created one when those
// are empty.
struct LimitCase {
    std::string name;
    std::vector<TestDatabase::Engine> sources;
    std::vector<TestDatabase::Engine> targets;
    MatrixColumn column;
    std::array<std::string, 3> targetTypes;
    // What must arrive for the first row ("NULL" for none); empty when
    // nothing is checked.
    std::string nearest;
    // The memo must name the column and the result line stay unticked;
    // otherwise the copy must be clean and exact.
    bool reported = true;
};

struct LimitRun {
    LimitCase limit;
    CopyPair pair;
};

std::vector<LimitRun> limitRuns();
std::string limitRunName(const LimitRun& run);
void PrintTo(const LimitRun& run, std::ostream* out);
