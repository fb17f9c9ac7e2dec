#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// 128 bits of a row's canonical values: two rows with the same hash are taken
// for the same row.
using RowHash = std::pair<std::uint64_t, std::uint64_t>;

RowHash hashRow(const std::vector<std::optional<std::string>>& row);
