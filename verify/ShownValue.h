#pragma once

#include "CanonicalValue.h"

#include <string>

// A canonical value cut to a readable length for a report line, control
// bytes escaped, its storage class after it unless withClass is false.
std::string shownValue(ValueFamily family, const std::string& canonical, bool withClass = true);
