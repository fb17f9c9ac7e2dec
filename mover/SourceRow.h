#pragma once

#include "MoveContext.h"

#include <optional>
#include <string>
#include <vector>

// The source row in hand as the memo names it: "row " and its primary key,
// as the verification does, or its place in the table without a key. The key
// is looked up once, at the first row asked for.
class SourceRow {
public:
    explicit SourceRow(MoveContext& context) : context_(context) {}

    void next() noexcept { ++number_; }
    std::string text();

private:
    std::vector<const TField*> keyFields() const;

    MoveContext& context_;
    std::optional<std::vector<const TField*>> keys_;
    long long number_ = 0;
};
