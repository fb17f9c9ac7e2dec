// Connection strings and their translation for the ODBC driver manager.
#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/values/Exceptions.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The first line is a separate provider, the rest the string.
    const auto newline = input.find('\n');
    const std::string provider = newline == std::string::npos ? "" : input.substr(0, newline);
    const std::string text = newline == std::string::npos ? input : input.substr(newline + 1);
    parseConnectionString(text);
    connectionStringValue(text, "Provider");
    maskPasswords(text);
    odbcConnectionValue(text);
    oledbConnectionValue(text);
    const std::string combined = combineProvider(provider, text);
    // Data link references would read files named by the input.
    if (!isDataLinkReference(combined)) {
        try {
            toOdbcConnectionString(combined);
        } catch (const EOleException&) {
            // An unknown provider is refused.
        }
    }
    return 0;
}
