#pragma once

#include <string>

// Dates, times and timestamps in one form to the microsecond, finer digits
// kept where there are any; a value with a zone as its UTC instant. text is
// raw without surrounding blanks; raw comes back when text does not read as
// the kind or names no real day (MariaDB's zero months and days).
// Times: "[-]HH:MM:SS.ffffff"; timestamps: "YYYY-MM-DD HH:MM:SS.ffffff",
// followed by " BC" before the year 1.
std::string canonicalTime(const std::string& raw, const std::string& text);
std::string canonicalTimestamp(const std::string& raw, const std::string& text);
