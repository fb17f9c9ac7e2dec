#pragma once

#include "MoveContext.h"
#include "MoveView.h"

#include <string>

// Compares a copied table with its source and reports the outcome: one
// message line, a memo line for each difference, and outcome 4 for a table
// whose copy reported nothing but whose values differ. False when the user
// stopped the run during it.
bool VerifyTargetTable(MoveContext& context, MoveView& view, const std::string& name,
                       const std::string& sourceName, const std::string& targetName);
