#include "DataLinkFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

#ifdef _WIN32

std::string DataLinkFolder() {
    std::string result;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return result;
    }
    char buffer[261] = {};
    DWORD size = sizeof(buffer);
    if (RegQueryValueExA(key, "CommonFilesDir", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer),
                         &size) == ERROR_SUCCESS) {
        result =
            std::string(buffer, strnlen(buffer, sizeof(buffer))) + "\\System\\OLE DB\\Data Links";
    }
    RegCloseKey(key);
    return result;
}

#else

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

std::string DataLinkFolder() {
    // An empty XDG_DATA_HOME counts as unset, as the XDG rules say.
    std::string dataHome = environment("XDG_DATA_HOME");
    if (dataHome.empty()) {
        const std::string home = environment("HOME");
        if (home.empty()) {
            return {};
        }
        dataHome = home + "/.local/share";
    }
    return dataHome + "/OLE DB/Data Links";
}

#endif
