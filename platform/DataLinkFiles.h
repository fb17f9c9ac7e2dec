#pragma once

#include <string>
#include <vector>

// Fills list with the names (no folder) of the "*.udl" files in folder, or in
// DataLinkFolder() when folder is empty, in the order the directory search
// returns them; directories are skipped. Returns the list's count.
int ListDataLinkFiles(std::vector<std::string>& list, const std::string& folder);

// Writes a data link file holding connectionString as the platform writes
// them: UTF-16LE with a byte-order mark, the "[oledb]" line and a comment
// line first. Only its owner may read it, since the string may hold a
// password. Returns false, with the reason in failure, when it cannot.
bool writeDataLinkFile(const std::string& path, const std::string& connectionString,
                       std::string& failure);
