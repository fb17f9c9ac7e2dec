#pragma once

#include "MoveContext.h"
#include "MoveView.h"

#include <string>

// Copies one table; false when the user stopped the run during it.
bool MoveTable(MoveContext& context, MoveView& view, const std::string& name);

// Copies the source cursor's current row into a new target row.
void CopyRecord(MoveContext& context, MoveView& view, const std::string& name);
