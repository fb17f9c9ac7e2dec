// The parameter-marker scanner of statement texts.
#include "dbaccess/odbc/StatementText.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string replaced = replaceParameterMarkers(text);
    // Markers and doubled colons only ever shrink the text.
    if (replaced.size() > text.size()) {
        std::abort();
    }
    return 0;
}
