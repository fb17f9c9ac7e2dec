#pragma once

#include "dbaccess/TADOConnection.h"

#include <map>
#include <string>

// The target tables a run has written to, so that no later table of the run
// overwrites what an earlier one wrote: names the target folds, cuts or
// compares without case can lead two source tables into one target table.
class TargetClaims {
public:
    // Records that sourceName is copied into the target table targetName and
    // returns empty; when another source table of the run was copied into
    // that table already, records nothing and returns that table's name.
    std::string claim(TADOConnection& target, const std::string& targetName,
                      const std::string& sourceName);

private:
    // The target's key of a table, and the source table copied into it.
    std::map<std::string, std::string> claimed_;
};
