#pragma once

#include "CanonicalValue.h"
#include "SideReading.h"

#include <optional>
#include <string>
#include <vector>

// A row's values in canonical form; NULL is no value.
using CanonicalRow = std::vector<std::optional<std::string>>;

// Where the comparison takes a side's rows from.
class CanonicalRows {
public:
    virtual ~CanonicalRows() = default;
    // The next row into row; false after the last one.
    virtual bool next(CanonicalRow& row) = 0;
};

// Reads the rows of a side and puts them into canonical form.
class CanonicalReader : public CanonicalRows {
public:
    CanonicalReader(const ReadRequest& request, std::vector<ValueFamily> families);

    const SideReading& reading() const noexcept { return reading_; }
    bool readsSQLiteClasses() const noexcept { return sqlite_; }
    void countClasses(bool count) noexcept { classesCount_ = count; }

    bool next(CanonicalRow& row) override;

private:
    SideReading reading_;
    std::vector<ValueFamily> families_;
    bool sqlite_;
    bool classesCount_ = false;
    std::vector<bool> single_;
    std::vector<ReadValue> values_;
};
