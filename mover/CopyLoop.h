#pragma once

#include "MoveContext.h"
#include "MoveView.h"

#include <exception>
#include <string>

enum class CopyEnd { Finished, Stopped, Failed };

// Copies the rows of a table whose target was emptied, with the progress
// display; on a failure that ends writing, the table ends there with cause
// set to its message.
CopyEnd copyRows(MoveContext& context, MoveView& view, const std::string& name, std::string& cause);

// Reports a failure of the table, of one of its rows when rowText names it.
void reportError(MoveContext& context, MoveView& view, const std::string& name,
                 const std::string& message, const std::string& rowText = {});

// Whether every later row of the table would fail the same way: a connection
// or the target's writing ended, or another session holds a lock for longer
// than the lock wait.
bool endsTable(const MoveContext& context, const std::exception& error);
