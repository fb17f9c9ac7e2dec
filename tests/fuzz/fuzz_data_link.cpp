// Data link files: UTF-16 with a byte-order mark or UTF-8, truncated and malformed.
#include "dbaccess/odbc/ConnectionStringRules.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string contents(reinterpret_cast<const char*>(data), size);
    const std::string held = dataLinkConnectionString(contents);
    parseConnectionString(held);
    return 0;
}
