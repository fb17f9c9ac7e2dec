#include "FilePaths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::size_t fileNameStart(const std::string& path) {
#ifdef _WIN32
    // Double-byte code pages may hold a backslash as a trail byte.
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\' || path[i] == ':') {
            start = i + 1;
        }
    }
    return start;
#else
    const auto last = path.rfind('/');
    return last == std::string::npos ? 0 : last + 1;
#endif
}

} // namespace

std::string directoryPart(const std::string& path) {
    return path.substr(0, fileNameStart(path));
}

std::string fileNamePart(const std::string& path) {
    return path.substr(fileNameStart(path));
}
