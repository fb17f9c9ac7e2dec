#pragma once

#include "MoveContext.h"
#include "MoveView.h"
#include "TargetClaims.h"
#include "dbaccess/values/Exceptions.h"

#include <string>

// Copies one table, name as the source list spells it; false when the user
// stopped the run during it. claims holds the target tables the run wrote.
bool MoveTable(MoveContext& context, MoveView& view, const std::string& name, TargetClaims& claims);
// The same for a run of this one table.
bool MoveTable(MoveContext& context, MoveView& view, const std::string& name);

// Raised by CopyRecord after it reported a failure that ends the target's
// writing (see endsWriting): the table cannot go on.
class WritingEnded : public Exception {
public:
    using Exception::Exception;
};

// Copies the source cursor's current row into a new target row.
void CopyRecord(MoveContext& context, MoveView& view, const std::string& name);
