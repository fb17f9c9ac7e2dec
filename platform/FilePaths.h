#pragma once

#include <string>

// The separator that joins a folder and a file name on this platform.
#ifdef _WIN32
inline constexpr char PathDelimiter = '\\';
#else
inline constexpr char PathDelimiter = '/';
#endif

// Everything up to and including the last separator ("\" or ":" on Windows,
// "/" elsewhere); empty when there is none.
std::string directoryPart(const std::string& path);
// What follows the directory part.
std::string fileNamePart(const std::string& path);
