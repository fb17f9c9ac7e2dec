#pragma once

#include "MoveContext.h"
#include "MoveView.h"

// The Execute button: moves every ticked source table in list order.
void btnMoverClick(MoveContext& context, MoveView& view);
