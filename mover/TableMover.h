#pragma once

#include "MoveContext.h"
#include "MoveView.h"
#include "dbaccess/values/Exceptions.h"

#include <string>

// Copies one table; false when the user stopped the run during it.
bool MoveTable(MoveContext& context, MoveView& view, const std::string& name);

// Raised by CopyRecord after it reported a failure that ends the target's
// writing (see endsWriting): the table cannot go on.
class WritingEnded : public Exception {
public:
    using Exception::Exception;
};

// Copies the source cursor's current row into a new target row.
void CopyRecord(MoveContext& context, MoveView& view, const std::string& name);
