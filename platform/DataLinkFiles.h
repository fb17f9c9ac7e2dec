#pragma once

#include <string>
#include <vector>

// Fills list with the names (no folder) of the "*.udl" files in folder, or in
// DataLinkFolder() when folder is empty, in the order the directory search
// returns them; directories are skipped. Returns the list's count.
int ListDataLinkFiles(std::vector<std::string>& list, const std::string& folder);
