#pragma once

#include <string>

// Dates, times and timestamps in one form to the microsecond; a value with a
// zone as its UTC instant. text is raw without surrounding blanks; raw comes
// back when text does not read as the kind.
// Times: "[-]HH:MM:SS.ffffff"; timestamps: "YYYY-MM-DD HH:MM:SS.ffffff".
std::string canonicalTime(const std::string& raw, const std::string& text);
std::string canonicalTimestamp(const std::string& raw, const std::string& text);
